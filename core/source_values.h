// SourceValues: one source's values without its form. The entry rules read a source through
// FormValues; a form answers from its controls, and SourceValues answers from a plain record of
// the same values (the fields' texts, the date edits' dates, which radio button is selected, the
// contributor lists, and any CSL variables the source carries beside them). A run over many
// sources (a CSL-JSON document, a list of works cited) fills one record per source and runs the
// rules on it, without building the form's component model:
//
//   SourceValues book(BookForm(), CurrentPlatform().Now());   // a new form's values
//   book.SetText(*book.FieldIndex("TitleEdit"), "a tale");
//   Citation mla = BookForm().mla(book);                       // as a Book form holding them gives
//
// A record changes as the form's controls do: a date edit shows its date in its display format,
// and selecting a date-detail radio button gives the date edit "DateEdit" the button's format, as
// a click does. The contributor lists never hold blank entries (a form drops them before every
// entry and before its saved data). ReadValues and ApplyValues (core/source_form.h) copy a
// record from and to a live form.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/form_description.h"

namespace citara {

class SourceValues final : public FormValues {
 public:
  // The values of a form just created from `form`: the fields' default texts, every date edit
  // holding `now` (its text still empty), the radio button selected at creation, no contributors.
  SourceValues(const FormDescription& form, OleDate now);
  // The values of a form just created from `form` again, as the constructor makes them; the texts
  // keep their memory, so that values reused from source to source allocate little.
  void Reset(const FormDescription& form, OleDate now);

  const FormDescription& Form() const { return *form_; }

  // --- FormValues ---
  // Text and Date of a name the form does not have: empty text; Date throws std::out_of_range.
  std::string_view Text(std::string_view field) const override;
  OleDate Date(std::string_view dateEdit) const override;
  std::string_view DateFormat(std::string_view dateEdit) const override;
  bool Checked(std::string_view radio) const override;
  const ContributorList& Authors() const override { return authors_; }
  const ContributorList& Editors() const override { return editors_; }
  std::string_view CslVariable(std::string_view name) const override;

  // --- By position in Form().fields and Form().radios ---
  std::optional<std::size_t> FieldIndex(std::string_view field) const;
  std::optional<std::size_t> RadioIndex(std::string_view radio) const;
  const std::string& TextAt(std::size_t field) const { return fields_[field].text; }
  OleDate DateAt(std::size_t field) const { return fields_[field].date; }
  // The format a date edit shows its date in.
  std::string_view DateFormatAt(std::size_t field) const { return fields_[field].dateFormat; }
  bool CheckedAt(std::size_t radio) const { return checked_[radio] != 0; }
  // The selected radio button; none when the form has none.
  std::optional<std::size_t> SelectedRadio() const;

  void SetText(std::size_t field, std::string text) { fields_[field].text = std::move(text); }
  // The same, copied into the text's own memory.
  void AssignText(std::size_t field, std::string_view text) { fields_[field].text.assign(text); }
  // A date edit's date, shown in its display format (SetDate then ShowDate of the control).
  // Precondition: IsSupportedDate(date).
  void SetDate(std::size_t field, OleDate date);
  // Selects a radio button as a click does: the others are cleared and, when it was not selected
  // already, "DateEdit" takes its display format and shows its date again.
  void SelectRadio(std::size_t radio);
  void SetDateFormat(std::size_t field, std::string_view format) { fields_[field].dateFormat = format; }
  // Blank entries are dropped.
  void SetAuthors(ContributorList list);
  void SetEditors(ContributorList list);
  // CSL variables carried beside the fields; a name set again replaces its value.
  void SetCslVariable(std::string name, std::string value);
  const std::vector<std::pair<std::string, std::string>>& CslVariables() const { return variables_; }

 private:
  struct Field {
    std::string text;
    OleDate date = 0;
    std::string dateFormat;  // date edits: the display format
  };

  const FormDescription* form_;
  std::vector<Field> fields_;
  std::vector<char> checked_;
  ContributorList authors_, editors_;
  std::vector<std::pair<std::string, std::string>> variables_;
};

// The required-field check on a source's values: the first required field, in the order the form
// creates its controls (the order its check examines them), whose text is empty; nullptr when
// every required field is filled. A form holding these values answers the same.
const FieldDescription* FirstBlankRequiredField(const SourceValues& values);

}  // namespace citara
