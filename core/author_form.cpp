#include "core/author_form.h"

#include <charconv>
#include <iterator>
#include <stdexcept>

#include "widgets/platform.h"

namespace citara {
namespace {

using enum ControlKind;

constexpr int kButtonWidth = 32, kButtonHeight = 24;
constexpr int kRow1 = 2, kRow2 = kRow1 + kButtonHeight + 1;
constexpr int kColumn1 = 1, kColumn2 = kColumn1 + kButtonWidth, kColumn3 = kColumn2 + kButtonWidth;
constexpr int kFieldTop = 25, kLabelTop = 29, kFieldHeight = 21, kLabelHeight = 13;

constexpr ControlDescription kControls[] = {
    {.kind = Panel, .name = "AuthorPanel", .bounds = {0, 0, 489, 53}, .align = TAlign::Left, .tabOrder = 0,
     .showHint = true},
    {.kind = Label, .name = "HeaderLabel", .parent = "AuthorPanel", .caption = "Author 1",
     .bounds = {0, 0, 489, 20}, .align = TAlign::Top, .fontName = "MS Sans Serif", .fontHeight = -16,
     .alignment = TTextAlignment::Center},
    {.kind = Label, .name = "LastNameLabel", .parent = "AuthorPanel", .caption = "&Last Name:",
     .bounds = {4, kLabelTop, 56, kLabelHeight}, .focusControl = "LastNameEdit"},
    {.kind = Edit, .name = "LastNameEdit", .parent = "AuthorPanel", .hint = "Last name",
     .bounds = {62, kFieldTop, 126, kFieldHeight}, .tabOrder = 0},
    {.kind = Label, .name = "FirstNameLabel", .parent = "AuthorPanel", .caption = "&First Name:",
     .bounds = {194, kLabelTop, 54, kLabelHeight}, .focusControl = "FirstNameEdit"},
    {.kind = Edit, .name = "FirstNameEdit", .parent = "AuthorPanel", .hint = "First name",
     .bounds = {250, kFieldTop, 118, kFieldHeight}, .tabOrder = 1},
    {.kind = Label, .name = "MILabel", .parent = "AuthorPanel", .caption = "&Middle Initial:",
     .bounds = {374, kLabelTop, 68, kLabelHeight}, .focusControl = "MIEdit"},
    {.kind = Edit, .name = "MIEdit", .parent = "AuthorPanel", .hint = "Middle Initial",
     .bounds = {444, kFieldTop, 18, kFieldHeight}, .tabOrder = 2, .maxLength = 1, .upperCaseOnly = true},
    {.kind = Panel, .name = "NavigationPanel", .bounds = {489, 0, 98, 53}, .align = TAlign::Left, .tabOrder = 1,
     .showHint = true},
    {.kind = ToolButton, .name = "FirstButton", .parent = "NavigationPanel", .caption = "Fi&rst",
     .hint = "Go to the first author", .bounds = {kColumn1, kRow1, kButtonWidth, kButtonHeight},
     .glyph = "FirstArrow", .disabledGlyph = "FirstArrowDisabled"},
    {.kind = ToolButton, .name = "LastButton", .parent = "NavigationPanel", .caption = "Las&t",
     .hint = "Go to the last author", .bounds = {kColumn2, kRow1, kButtonWidth, kButtonHeight},
     .glyph = "LastArrow", .disabledGlyph = "LastArrowDisabled", .glyphLayout = TGlyphLayout::Right},
    {.kind = ToolButton, .name = "AddButton", .parent = "NavigationPanel", .caption = "&Add",
     .hint = "Add an author", .bounds = {kColumn3, kRow1, kButtonWidth, kButtonHeight}, .glyph = "Plus",
     .disabledGlyph = "PlusDisabled", .isDefault = true},
    {.kind = ToolButton, .name = "BackButton", .parent = "NavigationPanel", .caption = "&Back",
     .hint = "Go to the previous author", .bounds = {kColumn1, kRow2, kButtonWidth, kButtonHeight},
     .glyph = "BackArrow", .disabledGlyph = "BackArrowDisabled"},
    {.kind = ToolButton, .name = "NextButton", .parent = "NavigationPanel", .caption = "&Next",
     .hint = "Go to the next author", .bounds = {kColumn2, kRow2, kButtonWidth, kButtonHeight},
     .glyph = "NextArrow", .disabledGlyph = "NextArrowDisabled", .glyphLayout = TGlyphLayout::Right},
    {.kind = ToolButton, .name = "DeleteButton", .parent = "NavigationPanel", .caption = "&Delete",
     .hint = "Delete the current author", .bounds = {kColumn3, kRow2, kButtonWidth, kButtonHeight},
     .glyph = "Minus", .disabledGlyph = "MinusDisabled"},
};

// The three labelled fields stand in one row under the header.
constexpr RowCell kRows[] = {{"LastNameEdit", 0}, {"FirstNameEdit", 0}, {"MIEdit", 0}};
constexpr RegionRows kRegions[] = {{"AuthorPanel", kRows}};

// The hints that SetRole writes: prefix + role word.
constexpr struct {
  std::string_view control, prefix;
} kRoleHints[] = {
    {"FirstButton", "Go to the first "},
    {"BackButton", "Go to the previous "},
    {"NextButton", "Go to the next "},
    {"LastButton", "Go to the last "},
    {"AddButton", "Add a new "},
    {"DeleteButton", "Delete the current "},
    {"LastNameEdit", "The last name of the current "},
    {"FirstNameEdit", "The first name of the current "},
    {"MIEdit", "The middle initial of the current "},
};

std::string Header(std::string_view role, int number, int of) {
  char digits[2][12];
  const auto a = std::to_chars(std::begin(digits[0]), std::end(digits[0]), number);
  const auto b = std::to_chars(std::begin(digits[1]), std::end(digits[1]), of);
  std::string header;
  header.append(role).append(" ").append(digits[0], a.ptr).append(" of ").append(digits[1], b.ptr);
  return header;
}

// Puts `text` into a field unless it already holds it: every entry request shows entry 0 again,
// and an unchanged field is left as it is (as a window's text is when set to what it holds).
void ShowText(Control& field, const std::string& text) {
  if (field.Text() != text) field.SetText(text);
}

}  // namespace

std::span<const ControlDescription> TAuthorForm::Description() { return kControls; }

std::span<const RegionRows> TAuthorForm::RowRegions() const { return kRegions; }

template <class T>
T& TAuthorForm::Part(std::string_view name) const {
  if (T* part = FindComponent<T>(name)) return *part;
  throw std::logic_error("the contributor form lacks " + std::string(name));
}

TAuthorForm::TAuthorForm(std::string name) : TForm(std::move(name)) {
  SetCaption("Author");
  SetBounds({0, 0, 595, 83});
  SetDesignSize({595, 83});
  SetColor(clBtnFace);
  SetFont({"MS Sans Serif", -11});
  SetBorderStyle(TBorderStyle::None);  // no title bar and no frame: it blends into its panel
  CreateControls(*this, kControls);

  headerLabel_ = &Part<TLabel>("HeaderLabel");
  lastNameEdit_ = &Part<TFlatEdit>("LastNameEdit");
  firstNameEdit_ = &Part<TFlatEdit>("FirstNameEdit");
  miEdit_ = &Part<TFlatEdit>("MIEdit");
  firstButton_ = &Part<TToolButton>("FirstButton");
  backButton_ = &Part<TToolButton>("BackButton");
  nextButton_ = &Part<TToolButton>("NextButton");
  lastButton_ = &Part<TToolButton>("LastButton");
  addButton_ = &Part<TToolButton>("AddButton");
  deleteButton_ = &Part<TToolButton>("DeleteButton");

  firstButton_->OnClick = [this](Control&) { FirstButtonClick(); };
  backButton_->OnClick = [this](Control&) { BackButtonClick(); };
  nextButton_->OnClick = [this](Control&) { NextButtonClick(); };
  lastButton_->OnClick = [this](Control&) { LastButtonClick(); };
  addButton_->OnClick = [this](Control&) { AddButtonClick(); };
  deleteButton_->OnClick = [this](Control&) { DeleteButtonClick(); };
  for (TFlatEdit* field : {lastNameEdit_, firstNameEdit_, miEdit_}) {
    field->OnKeyUp = [this](Control& sender, Key& key, ShiftState shift) {
      LastNameEditKeyUp(static_cast<TFlatEdit&>(sender), key, shift);
    };
  }

  SetActiveControl(lastNameEdit_);
  SetRole("Author");
  ShowEntry(0);  // consistent header and buttons even before the form is first shown
}

void TAuthorForm::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TAuthorForm::SetRole(std::string_view role) {
  roleName_ = role;
  shownHeader_ = {0, 0};  // the header names the role: shown anew
  for (const auto& hint : kRoleHints) Part<Control>(hint.control).SetHint(std::string(hint.prefix) + roleName_);
}

void TAuthorForm::ClearContributors() {
  list_.clear();
  ShowEntry(0);
}

void TAuthorForm::RemoveEmptyEntries() {
  citara::RemoveEmptyEntries(list_);
  // Every entry and saved-data read comes here: entry 0 is shown, but the last-name field takes
  // the focus only when the focused control lets it go without a message (a read shows none).
  const Control* focused = FocusedControl();
  ShowEntry(0, focused == nullptr || focused->CanExit());
}

void TAuthorForm::LoadContributors(std::string_view prefix, const TIniList& ini) {
  list_ = citara::LoadContributors(prefix, ini);
  ShowEntry(0);
}

void TAuthorForm::SetContributors(ContributorList list) {
  list_ = std::move(list);
  ShowEntry(0);
}

void TAuthorForm::SaveContributors(std::string_view prefix, TIniList& ini) const {
  citara::SaveContributors(list_, prefix, ini);
}

std::string TAuthorForm::FormatPrimaryNames(CitationStyle style) {
  RemoveEmptyEntries();
  return citara::FormatPrimaryNames(list_, style);
}

std::string TAuthorForm::FormatSecondaryNames(bool afterPrimary, CitationStyle style) {
  RemoveEmptyEntries();
  return citara::FormatSecondaryNames(list_, afterPrimary, style);
}

void TAuthorForm::ShowEntry(int index) { ShowEntry(index, true); }

void TAuthorForm::ShowEntry(int index, bool takeFocus) {
  if (index < 0) return;
  if (index >= Count()) {
    ShowNewEntry();
  } else {
    const Contributor& entry = list_[static_cast<std::size_t>(index)];
    ShowText(*lastNameEdit_, entry.last);
    ShowText(*firstNameEdit_, entry.first);
    ShowText(*miEdit_, entry.middleInitial);
    currentIndex_ = index;
    ShowHeader(index + 1, Count());
  }
  UpdateNavigationButtons();
  UpdateEditButtons();
  if (takeFocus && lastNameEdit_->Enabled()) {
    lastNameEdit_->SetFocus();  // best effort: the form may not be showing yet
    lastNameEdit_->SelectAll();
  }
}

void TAuthorForm::ShowNewEntry() {
  for (TFlatEdit* field : {lastNameEdit_, firstNameEdit_, miEdit_}) field->Clear();
  currentIndex_ = Count();
  ShowHeader(Count() + 1, Count() + 1);
}

void TAuthorForm::ShowHeader(int number, int of) {
  // Every entry request shows entry 0 again; its header is usually the one shown already.
  if (shownHeader_ == std::pair{number, of}) return;
  headerLabel_->SetCaption(Header(roleName_, number, of));
  shownHeader_ = {number, of};
}

void TAuthorForm::StoreCurrentEntry() {
  Contributor entry{lastNameEdit_->Text(), firstNameEdit_->Text(), miEdit_->Text()};
  if (currentIndex_ < Count()) {
    list_[static_cast<std::size_t>(currentIndex_)] = std::move(entry);
  } else {
    list_.push_back(std::move(entry));
    currentIndex_ = Count() - 1;
  }
}

void TAuthorForm::UpdateNavigationButtons() {
  firstButton_->SetEnabled(currentIndex_ != 0);
  backButton_->SetEnabled(currentIndex_ != 0);
  nextButton_->SetEnabled(currentIndex_ < Count() - 1);
  lastButton_->SetEnabled(currentIndex_ < Count() - 1);
  deleteButton_->SetEnabled(currentIndex_ != Count());
}

void TAuthorForm::UpdateEditButtons() {
  const bool anyText =
      !lastNameEdit_->Text().empty() || !firstNameEdit_->Text().empty() || !miEdit_->Text().empty();
  addButton_->SetEnabled(anyText);
  deleteButton_->SetEnabled(anyText);
}

void TAuthorForm::FirstButtonClick() {
  StoreCurrentEntry();
  ShowEntry(0);
}

void TAuthorForm::BackButtonClick() {
  StoreCurrentEntry();
  ShowEntry(currentIndex_ - 1);
}

void TAuthorForm::NextButtonClick() {
  StoreCurrentEntry();
  ShowEntry(currentIndex_ + 1);
}

void TAuthorForm::LastButtonClick() {
  StoreCurrentEntry();
  ShowEntry(Count() - 1);
}

void TAuthorForm::AddButtonClick() {
  StoreCurrentEntry();
  ShowEntry(Count());
}

void TAuthorForm::DeleteButtonClick() {
  if (currentIndex_ >= Count()) return;  // only a stored entry can be deleted
  const MessageDialog question{"Confirm", "Are you sure you want to delete this " + roleName_ + " from the list?",
                               DialogIcon::Confirmation, DialogButtons::OkCancel};
  if (CurrentPlatform().ShowMessage(question) != DialogResult::Ok) return;
  list_.erase(list_.begin() + currentIndex_);
  ShowEntry(currentIndex_);
}

void TAuthorForm::LastNameEditKeyUp(TFlatEdit& field, Key key, ShiftState shift) {
  if (Has(shift, ShiftState::Ctrl)) {
    if (key == 'X') field.CutToClipboard();
    if (key == 'C') field.CopyToClipboard();
    if (key == 'V') field.PasteFromClipboard();
  }
  UpdateEditButtons();
  StoreCurrentEntry();
}

}  // namespace citara
