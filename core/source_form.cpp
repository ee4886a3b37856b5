#include "core/source_form.h"

#include <vector>

#include "core/saved_data.h"
#include "widgets/clear_edits.h"
#include "widgets/colors.h"
#include "widgets/control_description.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"

namespace citara {
namespace {

constexpr int kContributorPanelHeight = 57;
constexpr int kBevelHeight = 4;
constexpr int kHintHidePause = 30000;  // the long hints stay up for 30 s

ControlKind KindOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::Edit: return ControlKind::Edit;
    case FieldKind::SpinEdit: return ControlKind::SpinEdit;
    case FieldKind::DateEdit: return ControlKind::DateEdit;
  }
  return ControlKind::Edit;
}

const ContributorList& NoContributors() {
  static const ContributorList empty;
  return empty;
}

template <class T>
T& Named(const TForm& form, std::string_view name) {
  if (T* found = form.FindComponent<T>(name)) return *found;
  throw std::out_of_range("the form has no control \"" + std::string(name) + "\" of that kind");
}

}  // namespace

TSourceForm::TSourceForm(const FormDescription& description)
    : TForm(std::string(description.caption)),
      description_(description),
      mainPanelRows_{"MainPanel", description.rows},
      mla_(description.mla),
      apa_(description.apa) {
  SetCaption(std::string(description.caption));
  SetBounds({0, 0, description.width, description.height});
  SetDesignSize({description.width, description.height});
  SetBorderStyle(TBorderStyle::None);
  CurrentPlatform().SetHintHidePause(kHintHidePause);
  CreateRegions();
  CreateMainPanelControls();
  ConnectHandlers();
  CreateSubForms();
  Show();
  // The sub-forms were shown before this form could take a focus: a new form puts it where
  // Reset and a load put it, so that the keys reach a field before any click.
  FocusFirstField();
}

TSourceForm::~TSourceForm() = default;

void TSourceForm::CreateRegions() {
  std::vector<ControlDescription> regions;
  const auto topPanel = [&](std::string_view name, int tabOrder) {
    regions.push_back({.kind = ControlKind::Panel, .name = name, .bounds = {0, 0, description_.width, kContributorPanelHeight},
                       .align = TAlign::Top, .tabOrder = tabOrder});
  };
  const auto bevel = [&](std::string_view name) {
    regions.push_back({.kind = ControlKind::Bevel, .name = name, .bounds = {0, 0, description_.width, kBevelHeight},
                       .align = TAlign::Top});
  };
  if (description_.hasAuthors) {
    topPanel("AuthorPanel", 1);
    bevel(description_.hasEditors ? "Bevel1" : "Bevel2");
  }
  if (description_.hasEditors) {
    topPanel("EditorPanel", 2);
    bevel("Bevel2");
  }
  regions.push_back({.kind = ControlKind::Panel, .name = "MainPanel", .align = TAlign::Client, .tabOrder = 0,
                     .showHint = true});
  CreateControls(*this, regions);
  mainPanel_ = &Named<TPanel>(*this, "MainPanel");
}

void TSourceForm::CreateMainPanelControls() {
  // Labels first, in the order of the fields; then the windowed controls in their creation order.
  std::vector<ControlDescription> controls;
  for (const FieldDescription& f : description_.fields) {
    controls.push_back({.kind = ControlKind::Label, .name = f.labelName, .parent = "MainPanel",
                        .caption = f.caption, .focusControl = f.name, .alignment = TTextAlignment::Right});
  }
  for (std::string_view name : description_.creationOrder) {
    for (const FieldDescription& f : description_.fields) {
      if (f.name != name) continue;
      controls.push_back({.kind = KindOf(f.kind), .name = f.name, .parent = "MainPanel", .caption = f.defaultText,
                          .hint = f.hint, .bounds = {0, 0, f.width, 21}, .tabOrder = f.tabOrder,
                          .color = f.required ? clYellow : clWhite, .maxLength = f.maxLength,
                          .dateFormat = f.dateFormat, .minValue = f.minValue, .maxValue = f.maxValue});
    }
    for (const RadioDescription& r : description_.radios) {
      if (r.name != name) continue;
      controls.push_back({.kind = ControlKind::RadioButton, .name = r.name, .parent = "MainPanel", .caption = r.caption,
                          .hint = r.hint, .tabOrder = r.tabOrder, .checked = r.checked});
    }
  }
  CreateControls(*this, controls);
  for (const FieldDescription& f : description_.fields) {
    if (const Control* control = FindComponent<Control>(f.name)) fieldControls_.emplace_back(f.name, control);
    if (const auto* date = FindComponent<TDateLinkEdit97>(f.name)) dateEdits_.emplace_back(f.name, date);
  }
  for (const RadioDescription& r : description_.radios) {
    if (const auto* radio = FindComponent<TRadioButton>(r.name)) radioButtons_.emplace_back(r.name, radio);
  }
}

void TSourceForm::ConnectHandlers() {
  // Ctrl+X, Ctrl+C and Ctrl+V on key release in the flat edits (the form's key-up handler).
  for (const FieldDescription& f : description_.fields) {
    if (!f.clipboardKeys) continue;
    TFlatEdit& edit = Field(f.name);
    edit.OnKeyUp = [&edit](Control&, Key& key, ShiftState shift) {
      if (!Has(shift, ShiftState::Ctrl)) return;
      if (key == 'X') edit.CutToClipboard();
      else if (key == 'C') edit.CopyToClipboard();
      else if (key == 'V') edit.PasteFromClipboard();
    };
  }
  // A radio button that becomes selected gives the date edit its display format.
  for (const RadioDescription& r : description_.radios) {
    Radio(r.name).OnClick = [this, format = r.dateFormat](Control&) {
      TDateLinkEdit97& date = DateField(kDateEdit);
      date.SetDateFormat(std::string(format));
      date.ShowDate();
    };
  }
}

void TSourceForm::CreateSubForms() {
  const auto subForm = [this](std::string_view name, std::string_view panel, std::string_view role) {
    TAuthorForm& form = Create<TAuthorForm>(std::string(name));
    form.SetParent(&Named<TPanel>(*this, panel));
    form.SetAlign(TAlign::Client);
    form.SetRole(role);
    form.Show();
    return &form;
  };
  if (description_.hasAuthors) authors_ = subForm("AuthorForm", "AuthorPanel", "Author");
  if (description_.hasEditors) editors_ = subForm("EditorForm", "EditorPanel", "Editor");
}

void TSourceForm::RemoveBlankContributors() {
  if (authors_) authors_->RemoveEmptyEntries();
  if (editors_) editors_->RemoveEmptyEntries();
}

Citation TSourceForm::MlaCitation() {
  RemoveBlankContributors();
  return description_.mla(*this);
}

Citation TSourceForm::ApaCitation() {
  RemoveBlankContributors();
  return description_.apa(*this);
}

const std::string& TSourceForm::GetMLACitaraInfo() {
  RemoveBlankContributors();
  return mla_.Rtf(*this);
}

const std::string& TSourceForm::GetAPACitaraInfo() {
  RemoveBlankContributors();
  return apa_.Rtf(*this);
}

void TSourceForm::Reset() {
  // The main panel first: a focused date field then shows its date for typing, which it takes
  // without a message when clearing the lists moves the focus into a sub-form.
  ClearPlusEdits(*mainPanel_);
  for (Control* child : mainPanel_->Children()) {
    if (child->Name() == kYearEdit && dynamic_cast<TFlatSpinEdit*>(child)) {
      child->SetText(std::to_string(YearOf(CurrentPlatform().Now())));
    } else if (auto* date = dynamic_cast<TDateLinkEdit97*>(child)) {
      date->ShowDate();
    }
  }
  if (authors_) authors_->ClearContributors();
  if (editors_) editors_->ClearContributors();
  FocusFirstField();
}

std::string TSourceForm::SavedData() { return BuildSavedData(*this); }

void TSourceForm::SetSavedData(std::string_view text, LoadWarnings* warnings) {
  LoadSavedData(*this, text, warnings);
  FocusFirstField();
}

AutomationBool TSourceForm::ValidateData() { return CheckRequiredFields(*this) ? kAutomationTrue : kAutomationFalse; }

TFlatEdit& TSourceForm::Field(std::string_view name) const { return Named<TFlatEdit>(*this, name); }
TDateLinkEdit97& TSourceForm::DateField(std::string_view name) const { return Named<TDateLinkEdit97>(*this, name); }
TRadioButton& TSourceForm::Radio(std::string_view name) const { return Named<TRadioButton>(*this, name); }

std::string TSourceForm::SavedTitle() const {
  if (description_.savedTitle) return description_.savedTitle(*this);
  return description_.titleField.empty() ? std::string() : Field(description_.titleField).Text();
}

void TSourceForm::FocusFirstField() {
  if (!description_.focusField.empty()) {
    Field(description_.focusField).SetFocus();
  } else if (authors_) {
    authors_->LastNameEdit().SetFocus();
  }
}

namespace {

// The control called `name` in one of the form's name tables; nullptr when it has none.
template <class T>
const T* Lookup(const std::vector<std::pair<std::string_view, const T*>>& table, std::string_view name) {
  for (const auto& [entry, control] : table) {
    // Many names share a length; the first letter tells most of them apart without a memcmp.
    if (entry.size() != name.size() || (!entry.empty() && entry[0] != name[0])) continue;
    if (entry == name) return control;
  }
  return nullptr;
}

}  // namespace

std::string_view TSourceForm::Text(std::string_view field) const {
  const Control* control = Lookup(fieldControls_, field);
  if (!control) control = FindComponent<Control>(field);
  return control ? std::string_view(control->Text()) : std::string_view();
}

OleDate TSourceForm::Date(std::string_view dateEdit) const {
  const TDateLinkEdit97* date = Lookup(dateEdits_, dateEdit);
  return date ? date->Date() : DateField(dateEdit).Date();
}

std::string_view TSourceForm::DateFormat(std::string_view dateEdit) const {
  const TDateLinkEdit97* date = Lookup(dateEdits_, dateEdit);
  return (date ? *date : DateField(dateEdit)).DateFormat();
}

bool TSourceForm::Checked(std::string_view radio) const {
  const TRadioButton* button = Lookup(radioButtons_, radio);
  if (!button) button = FindComponent<TRadioButton>(radio);
  return button && button->Checked();
}

const ContributorList& TSourceForm::Authors() const { return authors_ ? authors_->Contributors() : NoContributors(); }
const ContributorList& TSourceForm::Editors() const { return editors_ ? editors_->Contributors() : NoContributors(); }

SourceValues ReadValues(const TSourceForm& form) {
  const FormDescription& d = form.Description();
  SourceValues values(d, 0);
  for (std::size_t i = 0; i < d.fields.size(); ++i) {
    if (d.fields[i].kind == FieldKind::DateEdit) {
      const TDateLinkEdit97& date = form.DateField(d.fields[i].name);
      values.SetDateFormat(i, date.DateFormat());
      values.SetDate(i, date.Date());
    }
    values.SetText(i, form.Field(d.fields[i].name).Text());
  }
  for (std::size_t i = 0; i < d.radios.size(); ++i) {
    if (form.Radio(d.radios[i].name).Checked()) values.SelectRadio(i);
  }
  // Selecting a radio button above may have changed a date edit's format; the form's own stands.
  for (std::size_t i = 0; i < d.fields.size(); ++i) {
    if (d.fields[i].kind != FieldKind::DateEdit) continue;
    values.SetDateFormat(i, form.DateField(d.fields[i].name).DateFormat());
    values.SetText(i, form.Field(d.fields[i].name).Text());
  }
  if (form.AuthorForm()) values.SetAuthors(form.AuthorForm()->Contributors());
  if (form.EditorForm()) values.SetEditors(form.EditorForm()->Contributors());
  return values;
}

void ApplyValues(TSourceForm& form, const SourceValues& values) {
  const FormDescription& d = form.Description();
  const auto setText = [](Control& control, const std::string& text) {
    if (control.Text() != text) control.SetText(text);
  };
  for (std::size_t i = 0; i < d.fields.size(); ++i) {
    if (d.fields[i].kind != FieldKind::DateEdit) setText(form.Field(d.fields[i].name), values.TextAt(i));
  }
  if (const auto radio = values.SelectedRadio()) form.Radio(d.radios[*radio].name).SetChecked(true);
  for (std::size_t i = 0; i < d.fields.size(); ++i) {
    if (d.fields[i].kind != FieldKind::DateEdit) continue;
    TDateLinkEdit97& date = form.DateField(d.fields[i].name);
    date.SetDate(values.DateAt(i));
    date.SetDateFormat(std::string(values.DateFormatAt(i)));
    setText(date, values.TextAt(i));
    // A focused field shows the text it takes on leaving, as it does when it gains the focus.
    if (date.Focused()) date.ShowDate();
  }
  if (form.AuthorForm()) form.AuthorForm()->SetContributors(values.Authors());
  if (form.EditorForm()) form.EditorForm()->SetContributors(values.Editors());
}

TFlatEdit* FirstBlankRequiredField(const TSourceForm& form) {
  for (std::size_t i = 0; i < form.ComponentCount(); ++i) {
    auto* edit = dynamic_cast<TFlatEdit*>(&form.ComponentAt(i));
    if (edit && edit->Color() == clYellow && edit->Text().empty()) return edit;
  }
  return nullptr;
}

bool CheckRequiredFields(TSourceForm& form) {
  TFlatEdit* blank = FirstBlankRequiredField(form);
  if (!blank) return true;
  CurrentPlatform().ShowMessage(
      {.caption = "Error", .text = std::string(kRequiredFieldsMessage), .icon = DialogIcon::Error, .buttons = DialogButtons::Ok});
  blank->SetFocus();
  return false;
}

}  // namespace citara
