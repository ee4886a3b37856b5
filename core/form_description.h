// A source form described as data: its fields, labels, radio buttons, the two rules that join its
// entries and the rules of the current editions of the two styles. One shared implementation
// builds the form from this description and serves every member that the ten source forms have in
// common (entries, reset, saved data, validation).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/citation.h"
#include "core/contributors.h"
#include "core/formatting.h"
#include "widgets/dates.h"
#include "widgets/layout.h"

namespace citara {

// The fields that code, not only a form's description, names: the cited date that the
// date-detail radio buttons act on, the web forms' date of retrieval, and the printed forms'
// year spin edit.
inline constexpr std::string_view kDateEdit = "DateEdit";
inline constexpr std::string_view kDateRetrievedEdit = "DateRetrievedEdit";
inline constexpr std::string_view kYearEdit = "YearEdit";

// Which server a form belongs to; the saved data of the two differ in their date keys.
enum class Deliverable { Citara, CitaraWeb };

enum class FieldKind {
  Edit,      // flat single-line edit
  SpinEdit,  // spin edit holding a whole number (step 1); its text is the number
  DateEdit,  // date edit with its drop-down month calendar
};

// One labelled field of the main panel. The label's caption is the field's key in the saved data.
struct FieldDescription {
  std::string_view name{};       // "TitleEdit"
  FieldKind kind = FieldKind::Edit;
  std::string_view labelName{};  // "TitleLabel"
  std::string_view caption{};    // "Title:"
  bool required = false;         // required fields are clYellow, optional ones clWhite
  int tabOrder = 0;
  int width = 0;
  std::string_view hint{};
  std::string_view defaultText{};    // text at creation ("1998" for a year)
  int maxLength = 0;                 // 0: no limit
  long long minValue = 0, maxValue = 0;  // spin edits: the value's limits; both 0: none
  bool clipboardKeys = true;         // Ctrl+X/C/V on key release (the form's key-up handler)
  std::string_view dateFormat = "mmmm d, yyyy";  // date edits: display format at creation
};

// One date-format radio button of the main panel. Selecting it sets the display format of the
// form's date edit "DateEdit" and shows its date again.
struct RadioDescription {
  std::string_view name{};     // "MonthAndDayRadioButton"
  std::string_view caption{};  // "Month and Day": the "*DateFormat" value in the saved data
  int tabOrder = 0;
  bool checked = false;        // the one selected at creation
  std::string_view hint{};
  std::string_view dateFormat{};  // display format it gives "DateEdit"
};

// What the entry rules read of a form: the fields' current texts, the date edits' dates and
// display formats, the radio buttons' states and the contributor lists (blank entries already
// removed).
class FormValues {
 public:
  virtual ~FormValues() = default;
  virtual std::string_view Text(std::string_view field) const = 0;
  virtual OleDate Date(std::string_view dateEdit) const = 0;
  virtual std::string_view DateFormat(std::string_view dateEdit) const = 0;
  virtual bool Checked(std::string_view radio) const = 0;
  virtual const ContributorList& Authors() const = 0;  // empty when the form has none
  virtual const ContributorList& Editors() const = 0;  // empty when the form has none
  // A CSL variable that the source carries beside its fields (a "DOI" read from CSL-JSON), as
  // text; empty when it has none. A form has none: only a source's values carry them.
  virtual std::string_view CslVariable(std::string_view) const { return {}; }
};

using EntryRule = Citation (*)(const FormValues&);

struct FormDescription {
  std::string_view className{};  // "Book": the control's class name
  std::string_view caption{};    // "Book"
  Deliverable deliverable = Deliverable::Citara;
  int width = 0, height = 0;     // design size
  bool hasAuthors = true;
  bool hasEditors = false;
  // The fields in the order their labels are created (the order of the label lines of the saved data).
  std::span<const FieldDescription> fields{};
  std::span<const RadioDescription> radios{};
  // The main panel's windowed controls (fields and radio buttons) by name, in creation order: the
  // order in which the required-field check examines them and the date lines are saved.
  std::span<const std::string_view> creationOrder{};
  // The main panel's rows on screen, top to bottom: each field (with its label) and radio button
  // with its row, left to right within a row. The layout places them (widgets/layout.h).
  std::span<const RowCell> rows{};
  std::string_view titleField = "TitleEdit";  // its raw text is the saved-data title
  // When set, the saved-data title is this rule's result instead (a form without a title field,
  // such as a personal home page, names its source from its contributors).
  std::string (*savedTitle)(const FormValues&) = nullptr;
  // The control that takes the focus after a reset or a load; empty: the author list's last name.
  std::string_view focusField{};
  EntryRule mla = nullptr;
  EntryRule apa = nullptr;
  // The current editions (core/editions.h): MLA 9th and APA 7th. Only the classic rules above
  // are the controls' own entries.
  EntryRule mla9 = nullptr;
  EntryRule apa7 = nullptr;
};

}  // namespace citara
