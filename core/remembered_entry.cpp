#include "core/remembered_entry.h"

namespace citara {

// FormValues that passes every read on to the form and notes it and its answer.
class RememberedEntry::Recorder : public FormValues {
 public:
  Recorder(const FormValues& values, RememberedEntry& entry) : values_(values), entry_(entry) {}

  std::string_view Text(std::string_view field) const override {
    const std::string_view text = values_.Text(field);
    entry_.reads_.push_back({.kind = Read::Kind::Text, .name = std::string(field), .text = std::string(text)});
    return text;
  }
  OleDate Date(std::string_view dateEdit) const override {
    const OleDate date = values_.Date(dateEdit);
    entry_.reads_.push_back({.kind = Read::Kind::Date, .name = std::string(dateEdit), .date = date});
    return date;
  }
  std::string_view DateFormat(std::string_view dateEdit) const override {
    const std::string_view format = values_.DateFormat(dateEdit);
    entry_.reads_.push_back({.kind = Read::Kind::DateFormat, .name = std::string(dateEdit), .text = std::string(format)});
    return format;
  }
  bool Checked(std::string_view radio) const override {
    const bool checked = values_.Checked(radio);
    entry_.reads_.push_back({.kind = Read::Kind::Checked, .name = std::string(radio), .checked = checked});
    return checked;
  }
  const ContributorList& Authors() const override {
    const ContributorList& list = values_.Authors();
    if (!entry_.authors_) entry_.authors_ = list;
    return list;
  }
  const ContributorList& Editors() const override {
    const ContributorList& list = values_.Editors();
    if (!entry_.editors_) entry_.editors_ = list;
    return list;
  }

 private:
  const FormValues& values_;
  RememberedEntry& entry_;
};

bool RememberedEntry::StillHolds(const FormValues& values) const {
  if (!entry_) return false;
  if (authors_ && values.Authors() != *authors_) return false;
  if (editors_ && values.Editors() != *editors_) return false;
  for (const Read& read : reads_) {
    switch (read.kind) {
      case Read::Kind::Text:
        if (values.Text(read.name) != read.text) return false;
        break;
      case Read::Kind::Date:
        if (!(values.Date(read.name) == read.date)) return false;  // never equal when NaN: made again
        break;
      case Read::Kind::DateFormat:
        if (values.DateFormat(read.name) != read.text) return false;
        break;
      case Read::Kind::Checked:
        if (values.Checked(read.name) != read.checked) return false;
        break;
    }
  }
  return true;
}

const Citation& RememberedEntry::Entry(const FormValues& values) {
  if (StillHolds(values)) return *entry_;
  entry_.reset();
  rtf_.reset();
  reads_.clear();
  authors_.reset();
  editors_.reset();
  entry_ = rule_(Recorder(values, *this));
  return *entry_;
}

const std::string& RememberedEntry::Rtf(const FormValues& values) {
  const Citation& entry = Entry(values);
  if (!rtf_) rtf_ = CitationToRtf(entry);
  return *rtf_;
}

}  // namespace citara
