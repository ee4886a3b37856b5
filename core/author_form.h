// TAuthorForm: the sub-form that edits one contributor list (authors or editors), one entry at a
// time, in three fields (last name, first name, middle initial) with six buttons to move through
// the list, add an entry and delete one.
//
// A source form creates it owned by itself, places it in a panel, calls SetRole and shows it:
//
//   TAuthorForm& editors = form.Create<TAuthorForm>("EditorForm");
//   editors.SetParent(&editorPanel);
//   editors.SetAlign(TAlign::Client);
//   editors.SetRole("Editor");
//   editors.Show();                       // FormShow: the list starts empty, "Editor 1 of 1"
//   editors.FormatPrimaryNames(CitationStyle::MLA);
//
// Every key release in a field stores the shown entry (a new entry is appended at the first
// release), so what is typed is never lost; the header is renumbered at the next ShowEntry. The
// formatting calls drop blank entries first and then show entry 0. Delete asks for confirmation
// through the platform's dialog and acts only on a stored entry.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/contributors.h"
#include "core/formatting.h"
#include "core/ini_list.h"
#include "widgets/control_description.h"
#include "widgets/flat_edit.h"
#include "widgets/form.h"
#include "widgets/static_controls.h"
#include "widgets/tool_button.h"

namespace citara {

class TAuthorForm : public TForm {
 public:
  // FormCreate: builds the controls from Description() and sets the role "Author".
  explicit TAuthorForm(std::string name = "AuthorForm");

  // The controls of the form, in creation order.
  static std::span<const ControlDescription> Description();
  // The row of the three labelled fields, for the layout step.
  std::span<const RegionRows> RowRegions() const override;

  // --- The list ---
  const ContributorList& Contributors() const { return list_; }
  // The entry shown for editing; equal to the entry count on the new, not yet stored entry.
  int CurrentIndex() const { return currentIndex_; }
  const std::string& RoleName() const { return roleName_; }

  // Stores the role word ("Author", "Editor") and rewrites the hints with it.
  void SetRole(std::string_view role);
  // Empties the list and shows the new blank entry, numbered 1 of 1.
  void ClearContributors();
  // Deletes the blank entries, then shows entry 0; the focus moves as ShowEntry moves it only
  // when the focused control can let it go without a message (CanExit): reads show none.
  void RemoveEmptyEntries();
  // Replaces the list by the entries stored under `prefix` in `ini`, then shows entry 0.
  void LoadContributors(std::string_view prefix, const TIniList& ini);
  // Replaces the list by `list`, then shows entry 0.
  void SetContributors(ContributorList list);
  // Writes every entry, blank ones too, under `prefix`.
  void SaveContributors(std::string_view prefix, TIniList& ini) const;
  // The name texts of the list (see core/contributors.h), after RemoveEmptyEntries.
  std::string FormatPrimaryNames(CitationStyle style);
  std::string FormatSecondaryNames(bool afterPrimary, CitationStyle style);

  // --- Editing ---
  // Shows entry `index`, or the new blank entry when `index` lies beyond the list; updates the
  // header and the buttons, and focuses the last-name field with its text selected. A negative
  // index does nothing.
  void ShowEntry(int index);
  // Copies the three fields into the entry at CurrentIndex, or appends them as a new entry.
  void StoreCurrentEntry();
  // First and Back: not on entry 0; Next and Last: before the last stored entry.
  void UpdateNavigationButtons();
  // Add and Delete: when any of the three fields holds text.
  void UpdateEditButtons();

  // --- Event handlers ---
  void FirstButtonClick();
  void BackButtonClick();
  void NextButtonClick();
  void LastButtonClick();
  void AddButtonClick();
  void DeleteButtonClick();
  // A key released in any of the three fields: Ctrl+X / C / V cut, copy or paste, then the edit
  // buttons are updated and the entry stored.
  void LastNameEditKeyUp(TFlatEdit& field, Key key, ShiftState shift);
  void FormShow() { ClearContributors(); }

  // --- Controls ---
  TLabel& HeaderLabel() const { return *headerLabel_; }
  TFlatEdit& LastNameEdit() const { return *lastNameEdit_; }
  TFlatEdit& FirstNameEdit() const { return *firstNameEdit_; }
  TFlatEdit& MIEdit() const { return *miEdit_; }
  TToolButton& FirstButton() const { return *firstButton_; }
  TToolButton& BackButton() const { return *backButton_; }
  TToolButton& NextButton() const { return *nextButton_; }
  TToolButton& LastButton() const { return *lastButton_; }
  TToolButton& AddButton() const { return *addButton_; }
  TToolButton& DeleteButton() const { return *deleteButton_; }

 protected:
  void DoShow() override;

 private:
  template <class T>
  T& Part(std::string_view name) const;
  int Count() const { return static_cast<int>(list_.size()); }
  void ShowEntry(int index, bool takeFocus);
  void ShowNewEntry();
  // Shows "<role> <number> of <of>" in the header label unless it shows just that already.
  void ShowHeader(int number, int of);

  ContributorList list_;
  int currentIndex_ = 0;
  std::string roleName_;

  TLabel* headerLabel_;
  std::pair<int, int> shownHeader_{0, 0};  // what ShowHeader last showed; {0, 0}: nothing yet
  TFlatEdit* lastNameEdit_;
  TFlatEdit* firstNameEdit_;
  TFlatEdit* miEdit_;
  TToolButton* firstButton_;
  TToolButton* backButton_;
  TToolButton* nextButton_;
  TToolButton* lastButton_;
  TToolButton* addButton_;
  TToolButton* deleteButton_;
};

}  // namespace citara
