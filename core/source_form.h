// TSourceForm: the one implementation of what the ten source forms share. It builds a form from
// its FormDescription (contributor panels, bevels, the main panel with its labelled fields and
// radio buttons), creates the author and editor sub-forms and the working name-value list, and
// serves the five members that every control has:
//
//   TSourceForm book(BookForm());
//   book.Field("TitleEdit").SetText("a tale");
//   std::string rtf = book.GetMLACitaraInfo();   // the MLA entry as RTF
//   std::string saved = book.SavedData();         // all of the form's data as text
//   book.SetSavedData(saved);                     // all or nothing: throws SavedDataError
//   book.Reset();
//   bool filled = book.ValidateData() != 0;       // may show the required-field message
//
// What a form says differently lives in its description: its fields and its two entry rules.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/author_form.h"
#include "core/citation.h"
#include "core/form_description.h"
#include "core/ini_list.h"
#include "core/remembered_entry.h"
#include "core/saved_data.h"
#include "core/source_values.h"
#include "widgets/form.h"
#include "widgets/static_controls.h"

namespace citara {

class TFlatEdit;
class TDateLinkEdit97;
class TRadioButton;

// The automation boolean of ValidateData: -1 for true, 0 for false.
using AutomationBool = short;
inline constexpr AutomationBool kAutomationTrue = -1;
inline constexpr AutomationBool kAutomationFalse = 0;

class TSourceForm : public TForm, private FormValues {
 public:
  // FormCreate: builds the controls, sets the application's hint hide pause to 30 s, creates the
  // sub-forms in their panels with their roles and shows them, creates the working list, and puts
  // the focus where typing starts (FocusFirstField).
  explicit TSourceForm(const FormDescription& description);
  ~TSourceForm() override;

  const FormDescription& Description() const { return description_; }
  // The main panel's rows, from the description.
  std::span<const RegionRows> RowRegions() const override { return {&mainPanelRows_, 1}; }

  // --- The five members ---
  // The entries as RTF, as hosts ask for them: made again only when a value the style's rule reads
  // has changed since the last request. Each reference holds until the next request for the style.
  const std::string& GetMLACitaraInfo();
  const std::string& GetAPACitaraInfo();
  // The entries in the format-neutral form, made by the rule every time (blank contributor entries
  // are dropped first).
  Citation MlaCitation();
  Citation ApaCitation();
  Citation CitationIn(CitationStyle style) { return IsApa(style) ? ApaCitation() : MlaCitation(); }
  // Clears the contributor lists and the main panel's edits, puts the current year into a year
  // field, shows the held dates again and moves the focus to where typing starts.
  void Reset();
  std::string SavedData();
  // Loads a saved-data text. Every value is checked before the first field changes: a text that
  // cannot be loaded throws SavedDataError and leaves the form exactly as it was.
  // Lines that load but perhaps not as meant are named in `warnings` when given.
  void SetSavedData(std::string_view text, LoadWarnings* warnings = nullptr);
  // kAutomationTrue when every required field holds text; otherwise shows the required-field
  // message, moves the focus to the first blank one and returns kAutomationFalse.
  AutomationBool ValidateData();

  // --- Parts ---
  TPanel& MainPanel() const { return *mainPanel_; }
  TAuthorForm* AuthorForm() const { return authors_; }
  TAuthorForm* EditorForm() const { return editors_; }
  TIniList& WorkingList() { return iniList_; }
  // The field of the main panel called `name`. Throws std::out_of_range when there is none.
  TFlatEdit& Field(std::string_view name) const;
  TDateLinkEdit97& DateField(std::string_view name) const;
  TRadioButton& Radio(std::string_view name) const;
  // The saved-data title: the raw text of the title field, or what the form's rule makes of it.
  std::string SavedTitle() const;
  // Moves the focus to where typing starts (best effort: never fails).
  void FocusFirstField();
  // What the entry rules read of the form: its fields, dates, radio buttons and contributors.
  const FormValues& Values() const { return *this; }

 private:
  void CreateRegions();
  void CreateMainPanelControls();
  void CreateSubForms();
  void ConnectHandlers();
  void RemoveBlankContributors();

  // FormValues, read by the entry rules.
  std::string_view Text(std::string_view field) const override;
  OleDate Date(std::string_view dateEdit) const override;
  std::string_view DateFormat(std::string_view dateEdit) const override;
  bool Checked(std::string_view radio) const override;
  const ContributorList& Authors() const override;
  const ContributorList& Editors() const override;

  const FormDescription& description_;
  RegionRows mainPanelRows_;
  TPanel* mainPanel_ = nullptr;
  TAuthorForm* authors_ = nullptr;
  TAuthorForm* editors_ = nullptr;
  TIniList iniList_;
  // Each style's last entry, made again only when a value its rule reads has changed.
  RememberedEntry mla_, apa_;
  // The described fields, date edits and radio buttons by name, for the entry rules' many reads.
  std::vector<std::pair<std::string_view, const Control*>> fieldControls_;
  std::vector<std::pair<std::string_view, const TDateLinkEdit97*>> dateEdits_;
  std::vector<std::pair<std::string_view, const TRadioButton*>> radioButtons_;
};

// The form's values as a plain record: every field's text, every date edit's date and display
// format, the radio buttons' states and the contributor lists (without blank entries).
SourceValues ReadValues(const TSourceForm& form);

// Puts `values` (a record of the form's own kind) into the form's controls, as loading saved data
// does: fields, radio buttons (a newly selected one acts as a click), dates with their display
// formats and texts, and the contributor lists, each showing its first entry.
void ApplyValues(TSourceForm& form, const SourceValues& values);

// The ten forms' shared check of the required fields: walks the form's own components in creation
// order and returns the first edit coloured clYellow whose text is empty (nullptr when all are
// filled). The contributor sub-forms' fields are never required.
TFlatEdit* FirstBlankRequiredField(const TSourceForm& form);

// The message of the required-field check (caption "Error", error icon, one OK button).
inline constexpr std::string_view kRequiredFieldsMessage =
    "The yellow fields are required for this type of reference.  At least one of the required fields is "
    "blank.  Please enter all the necessary data.";

// CheckRequiredFields: true when no required field is blank; otherwise shows the message, moves
// the focus into the first blank field (best effort) and returns false.
bool CheckRequiredFields(TSourceForm& form);

}  // namespace citara
