#include "core/source_values.h"

#include <stdexcept>

namespace citara {
namespace {

template <class Items>
std::optional<std::size_t> IndexOf(const Items& items, std::string_view name) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].name == name) return i;
  }
  return std::nullopt;
}

}  // namespace

SourceValues::SourceValues(const FormDescription& form, OleDate now) : form_(&form) { Reset(form, now); }

void SourceValues::Reset(const FormDescription& form, OleDate now) {
  form_ = &form;
  fields_.resize(form.fields.size());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const FieldDescription& f = form.fields[i];
    fields_[i].text.assign(f.defaultText);
    fields_[i].date = f.kind == FieldKind::DateEdit ? now : 0;
    fields_[i].dateFormat.assign(f.dateFormat);
  }
  checked_.resize(form.radios.size());
  for (std::size_t r = 0; r < checked_.size(); ++r) checked_[r] = form.radios[r].checked ? 1 : 0;
  authors_.clear();
  editors_.clear();
  variables_.clear();
}

std::optional<std::size_t> SourceValues::FieldIndex(std::string_view field) const { return IndexOf(form_->fields, field); }
std::optional<std::size_t> SourceValues::RadioIndex(std::string_view radio) const { return IndexOf(form_->radios, radio); }

std::string_view SourceValues::Text(std::string_view field) const {
  const auto i = FieldIndex(field);
  return i ? std::string_view(fields_[*i].text) : std::string_view();
}

OleDate SourceValues::Date(std::string_view dateEdit) const {
  const auto i = FieldIndex(dateEdit);
  if (!i || form_->fields[*i].kind != FieldKind::DateEdit) {
    throw std::out_of_range("the form has no date edit \"" + std::string(dateEdit) + "\"");
  }
  return fields_[*i].date;
}

std::string_view SourceValues::DateFormat(std::string_view dateEdit) const {
  Date(dateEdit);  // throws for a name that is no date edit
  return fields_[*FieldIndex(dateEdit)].dateFormat;
}

bool SourceValues::Checked(std::string_view radio) const {
  const auto i = RadioIndex(radio);
  return i && checked_[*i] != 0;
}

std::string_view SourceValues::CslVariable(std::string_view name) const {
  for (const auto& [variable, value] : variables_) {
    if (variable == name) return value;
  }
  return {};
}

std::optional<std::size_t> SourceValues::SelectedRadio() const {
  for (std::size_t i = 0; i < checked_.size(); ++i) {
    if (checked_[i]) return i;
  }
  return std::nullopt;
}

void SourceValues::SetDate(std::size_t field, OleDate date) {
  Field& f = fields_[field];
  f.date = date;
  f.text = FormatDate(date, f.dateFormat);
}

void SourceValues::SelectRadio(std::size_t radio) {
  if (checked_[radio]) return;
  for (char& c : checked_) c = 0;
  checked_[radio] = 1;
  if (const auto date = FieldIndex(kDateEdit); date && form_->fields[*date].kind == FieldKind::DateEdit) {
    fields_[*date].dateFormat = form_->radios[radio].dateFormat;
    SetDate(*date, fields_[*date].date);
  }
}

void SourceValues::SetAuthors(ContributorList list) {
  RemoveEmptyEntries(list);
  authors_ = std::move(list);
}

void SourceValues::SetEditors(ContributorList list) {
  RemoveEmptyEntries(list);
  editors_ = std::move(list);
}

void SourceValues::SetCslVariable(std::string name, std::string value) {
  for (auto& [variable, held] : variables_) {
    if (variable == name) {
      held = std::move(value);
      return;
    }
  }
  variables_.emplace_back(std::move(name), std::move(value));
}

const FieldDescription* FirstBlankRequiredField(const SourceValues& values) {
  for (std::string_view name : values.Form().creationOrder) {
    const auto i = values.FieldIndex(name);
    if (i && values.Form().fields[*i].required && values.TextAt(*i).empty()) return &values.Form().fields[*i];
  }
  return nullptr;
}

}  // namespace citara
