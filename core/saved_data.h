// The saved-data text of a source form: all of its data as name=value lines, with derived values
// (the capitalized title, the primary names, both entries) for the host's use.
//
// The text holds, in order: "Author(s):" and "Editor(s):" (the MLA name texts), one line per
// filled labelled field under its label's caption (a date edit's line holds its date in its
// display format, as a load of the text shows it, even while the field shows nothing yet or its
// text for typing), the date lines ("*Date" and, for the printed
// forms, "*PublicationDate"; "*DateRetrieved" for a web form's retrieval date), the chosen
// "*DateFormat", "*Title", "*PrimaryNames", "*PrimaryName<n>", "*APAPrimaryName<n>", the two
// entries as RTF each closed by its END line, then every contributor as "*Author<i>Last" / "First"
// / "MI" (and "*Editor<i>..."). Loading reads back only the entered data: the labelled fields, the
// dates, the date format and the contributor lists.
//
// Both directions work on a source's values (core/source_values.h), so a run over many sources
// reads and writes saved data without building forms; a form's SavedData and SetSavedData are
// BuildSavedData and LoadSavedData, which go through its values the same way.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/form_description.h"
#include "core/ini_list.h"

namespace citara {

class SourceValues;
class TSourceForm;

// A saved-data text that cannot be loaded: names the key and the value that failed (the message
// quotes a short prefix of the value, see core/quoted.h).
class SavedDataError : public std::runtime_error {
 public:
  SavedDataError(std::string key, std::string value, std::string_view why);
  const std::string& Key() const { return key_; }
  const std::string& Value() const { return value_; }

 private:
  std::string key_;
  std::string value_;
};

// A line that loads by the saved data's rules but perhaps not as its writer meant: a contributor
// entry after a gap in the numbering or without its "Last" key (not loaded), a "*DateFormat" the
// form has no radio button for (the selection stays), a year that is not a number (taken as
// typed), a key the form does not know or a key given twice (the first counts).
struct LoadWarning {
  std::size_t line = 0;  // from 1
  std::string message;   // "\"*Author3Last\": ..." (values quoted, see core/quoted.h)
};

// The warnings of one load. At most kMaxShown are kept; the others are only counted, so that a
// text of a million bad lines costs no more memory than the text.
struct LoadWarnings {
  static constexpr std::size_t kMaxShown = 100;
  std::vector<LoadWarning> shown;
  std::size_t more = 0;  // warnings beyond `shown`
  std::size_t Count() const { return shown.size() + more; }
  void Add(std::size_t line, std::string message);
};

// Reads the entered data of a saved-data text into `values`, exactly as loading it into a form
// holding those values does: a labelled field takes a non-empty value under its caption, every
// date edit takes its date (or `now` when its key is absent) and shows it, a "*DateFormat" equal
// to a radio button's caption selects it, and the contributor lists are replaced by the stored
// ones. One pass over the text, keeping no copy of its lines. Throws SavedDataError, leaving
// `values` as it was, when a date cannot be read. Warnings go to `warnings` when given.
void ReadSavedData(std::string_view text, SourceValues& values, OleDate now, LoadWarnings* warnings = nullptr);

// The saved-data text of a source of kind `form` whose values are `values` and whose entries are
// `mlaRtf` and `apaRtf`; its lines are left in `list`. The contributor lists hold no blank entries.
std::string SavedDataText(const FormDescription& form, const FormValues& values, std::string_view mlaRtf,
                          std::string_view apaRtf, TIniList& list);
// The same with the entries made by the form's own rules.
std::string SavedDataText(const SourceValues& values);

// SavedData of a form: drops its blank contributors and writes its values and entries; the lines
// stay in the form's working list.
std::string BuildSavedData(TSourceForm& form);

// SetSavedData of a form: reads the text into the form's values (ReadSavedData), then puts them
// into its controls. Throws SavedDataError, changing nothing, when the text cannot be loaded.
void LoadSavedData(TSourceForm& form, std::string_view text, LoadWarnings* warnings = nullptr);

}  // namespace citara
