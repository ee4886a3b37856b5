// One entry rule's last entry, kept with every value the rule read to make it. An entry rule reads
// the form only through FormValues, so while each of those values is unchanged the entry is too: a
// host that asks for the entry again and again (a preview refreshed on every change elsewhere)
// gets it for the cost of comparing a dozen short texts.
//
//   RememberedEntry mla(BookForm().mla);
//   const Citation& entry = mla.Entry(form);   // made by the rule, or the kept one
//   const std::string& rtf = mla.Rtf(form);    // CitationToRtf(entry), kept with it
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/citation.h"
#include "core/form_description.h"

namespace citara {

class RememberedEntry {
 public:
  explicit RememberedEntry(EntryRule rule) : rule_(rule) {}

  // The rule's entry over `values`: made again only when a value it read last time has changed.
  // The reference holds until the next call.
  const Citation& Entry(const FormValues& values);
  // CitationToRtf(Entry(values)), made once per entry.
  const std::string& Rtf(const FormValues& values);

 private:
  class Recorder;
  // One value the rule read: a field's text, a date edit's date or a radio button's state.
  struct Read {
    enum class Kind { Text, Date, DateFormat, Checked } kind;
    std::string name{};
    std::string text{};
    OleDate date = 0;
    bool checked = false;
  };

  bool StillHolds(const FormValues& values) const;

  EntryRule rule_;
  std::optional<Citation> entry_;
  std::optional<std::string> rtf_;
  std::vector<Read> reads_;
  std::optional<ContributorList> authors_, editors_;  // when the rule read them
};

}  // namespace citara
