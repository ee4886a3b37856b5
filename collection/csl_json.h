// CSL-JSON in and out: a source's values as a CSL-JSON item and CSL-JSON items as sources of the
// ten forms, by the mapping of collection/csl_mapping.h.
//
//   std::string item = CslItemJson(ReadValues(book), "smith1998");        // one item, as JSON text
//   ReadCslJson(text, now, [](CslImportedItem& item) {                     // each item in turn
//     Citation mla = item.values.Form().mla(item.values);                  // its entry, no form built
//   });
//
// What CSL has no variable for travels under the item's "custom" object, as "custom": {"citara":
// {...}}: the control (several forms share "webpage"), the chosen date detail, a middle initial
// kept apart from the given name, and a date's exact day number where its CSL date gives less.
// Another tool sees every standard variable; Citara's own round trip loses nothing.
//
// On import an item becomes the form its Citara data names (when that form has the item's type)
// or the form of its type (the nearest form for a type without one, see CslTypeForms()); names
// given as "literal" become a last name; dates given as "date-parts" (numbers or numeric texts),
// "raw" or "literal" are read where they can be. Whatever has no place in the form is named in the
// item's warnings; CSL variables of text kept aside are carried in its values (CslVariable), so
// that rules which read them (a "DOI") and a later export still have them.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/source_values.h"

namespace citara {

// CSL-JSON that cannot be read: not JSON (the message gives the line and column), or JSON that is
// neither an item nor an array of items. Also thrown on export for text that is not UTF-8.
class CslJsonError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The CSL-JSON item (one JSON object, two-space indents, no final line break) of a source.
std::string CslItemJson(const SourceValues& values, std::string_view id);

// Writes items as one CSL-JSON array, one after the other, into a text the caller may hand on
// (and empty) between items:
//   CslArrayWriter w; std::string out; w.Add(out, values, "1"); ...; w.Finish(out);
class CslArrayWriter {
 public:
  void Add(std::string& out, const SourceValues& values, std::string_view id);
  // "]" and a line break ("[]" for no items).
  void Finish(std::string& out);

 private:
  bool first_ = true;
};

struct CslImportedItem {
  std::size_t index = 0;  // position in the document, from 1
  std::string id;         // the item's "id" as text; empty when it has none
  SourceValues values;
  std::vector<std::string> warnings;  // "\"DOI\" has no place in the Journal form", ...
};

// Reads a CSL-JSON document (an array of items, or one item) and hands each item to `onItem` in
// order, holding one item at a time. An array element that is not an object is handed to
// `onBadItem` with its position and a message. A date the form needs but the item lacks is `now`,
// as a form loading saved data without it takes the current date. The text is read in one pass:
// where it is not JSON, CslJsonError is thrown there, after the items before the fault have been
// handed on (none when the text is not UTF-8). A caller that must not act on part of a broken
// document holds what it makes of the items until the call returns.
void ReadCslJson(const std::string& text, OleDate now, const std::function<void(CslImportedItem&)>& onItem,
                 const std::function<void(std::size_t index, const std::string& message)>& onBadItem);

// One item from the text of one JSON object. Throws CslJsonError when it is not one.
CslImportedItem ReadCslItem(std::string_view itemJson, OleDate now);

}  // namespace citara
