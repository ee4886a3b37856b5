#include "core/saved_data.h"

#include <optional>
#include <vector>

#include "core/source_form.h"
#include "widgets/date_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"

namespace citara {
namespace {

constexpr std::string_view kDateRetrievedEdit = "DateRetrievedEdit";
constexpr std::string_view kYearEdit = "YearEdit";

// The key under which a date edit's date is saved.
std::string_view DateKey(const TSourceForm& form, const TDateLinkEdit97& date) {
  const bool retrieval = form.Description().deliverable == Deliverable::CitaraWeb && date.Name() == kDateRetrievedEdit;
  return retrieval ? "*DateRetrieved" : "*Date";
}

// The year a year field holds when its text is a whole number from 1 to 9999.
std::optional<int> YearIn(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int year = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    year = year * 10 + (c - '0');
  }
  if (year < 1) return std::nullopt;
  return year;
}

// Text less its final ".  " or ". ", or nothing when it ends in neither.
std::optional<std::string> WithoutFinalPeriod(const std::string& names) {
  if (names.ends_with(".  ")) return names.substr(0, names.size() - 3);
  if (names.ends_with(". ")) return names.substr(0, names.size() - 2);
  return std::nullopt;
}

std::string WithoutOneFinalPeriod(std::string name) {
  if (!name.empty() && name.back() == '.') name.pop_back();
  return name;
}

void WriteDerivedNames(TSourceForm& form, TIniList& ini, const std::string& authorText, const std::string& editorText) {
  const std::string& primaryText = !authorText.empty() ? authorText : editorText;
  if (const auto names = WithoutFinalPeriod(primaryText)) SetListValue(ini, "*PrimaryNames", *names);

  const ContributorList* primary = nullptr;
  if (form.AuthorForm() && !form.AuthorForm()->Contributors().empty()) primary = &form.AuthorForm()->Contributors();
  else if (form.EditorForm() && !form.EditorForm()->Contributors().empty()) primary = &form.EditorForm()->Contributors();
  if (!primary) return;
  for (const auto& [key, style] : {std::pair{"*PrimaryName", CitationStyle::MLA}, {"*APAPrimaryName", CitationStyle::APA}}) {
    for (std::size_t n = 0; n < primary->size(); ++n) {
      const Contributor& c = (*primary)[n];
      SetListValue(ini, key + std::to_string(n + 1),
                   WithoutOneFinalPeriod(FormatInvertedName(c.last, c.first, c.middleInitial, style)));
    }
  }
}

// The value of a date key as it will be loaded: the saved number, or now when the key is absent.
OleDate DateToLoad(const TIniList& ini, std::string_view key) {
  if (!HasListValue(ini, key)) return CurrentPlatform().Now();
  const std::string value = GetListValue(ini, key, "");
  const std::optional<double> number = ParseOleNumber(value);
  if (!number) throw SavedDataError(std::string(key), value, "is not a number");
  if (!IsSupportedDate(*number)) {
    throw SavedDataError(std::string(key), value, "is not a date from 1 January 100 to 31 December 9999");
  }
  return *number;
}

}  // namespace

SavedDataError::SavedDataError(std::string key, std::string value, std::string_view why)
    : std::runtime_error("cannot load the saved data: the value \"" + value + "\" of \"" + key + "\" " + std::string(why)),
      key_(std::move(key)),
      value_(std::move(value)) {}

std::string BuildSavedData(TSourceForm& form) {
  TIniList& ini = form.WorkingList();
  ini.Clear();
  const bool printed = form.Description().deliverable == Deliverable::Citara;

  const std::string authorText = form.AuthorForm() ? form.AuthorForm()->FormatPrimaryNames(CitationStyle::MLA) : "";
  if (!authorText.empty()) SetListValue(ini, "Author(s):", authorText);
  const std::string editorText = form.EditorForm() ? form.EditorForm()->FormatPrimaryNames(CitationStyle::MLA) : "";
  if (!editorText.empty()) SetListValue(ini, "Editor(s):", editorText);

  for (Control* child : form.MainPanel().Children()) {
    if (auto* label = dynamic_cast<TLabel*>(child)) {
      if (label->FocusControl() && !label->FocusControl()->Text().empty()) {
        SetListValue(ini, label->Caption(), label->FocusControl()->Text());
      }
    } else if (auto* date = dynamic_cast<TDateLinkEdit97*>(child)) {
      const std::string day = FormatOleNumber(date->Date());
      SetListValue(ini, DateKey(form, *date), day);
      if (printed) SetListValue(ini, "*PublicationDate", day);
    } else if (auto* radio = dynamic_cast<TRadioButton*>(child)) {
      if (radio->Checked()) SetListValue(ini, "*DateFormat", radio->Caption());
    } else if (printed && child->Name() == kYearEdit && dynamic_cast<TFlatSpinEdit*>(child)) {
      // A year field gives the publication date: 1 January of its year, when it holds one. Years
      // before 100 lie outside what a date edit shows, but still have their own day number.
      if (const auto year = YearIn(child->Text())) {
        SetListValue(ini, "*PublicationDate", FormatOleNumber(OleFromCivil({*year, 1, 1})));
      }
    }
  }

  SetListValue(ini, "*Title", CapitalizeTitle(form.SavedTitle(), CitationStyle::MLA));
  WriteDerivedNames(form, ini, authorText, editorText);

  SetListValue(ini, "*MLACitaragraphy", form.GetMLACitaraInfo());
  ini.Add("*MLACitaragraphyEND");
  SetListValue(ini, "*APACitaragraphy", form.GetAPACitaraInfo());
  ini.Add("*APACitaragraphyEND");

  if (form.AuthorForm()) form.AuthorForm()->SaveContributors("Author", ini);
  if (form.EditorForm()) form.EditorForm()->SaveContributors("Editor", ini);
  return ini.Text();
}

void LoadSavedData(TSourceForm& form, std::string_view text) {
  TIniList ini;
  ini.SetText(text);

  // Check every value before the first field changes.
  std::vector<std::pair<TDateLinkEdit97*, OleDate>> dates;
  for (Control* child : form.MainPanel().Children()) {
    if (auto* date = dynamic_cast<TDateLinkEdit97*>(child)) dates.emplace_back(date, DateToLoad(ini, DateKey(form, *date)));
  }

  form.WorkingList() = ini;
  const std::string dateFormat = GetListValue(ini, "*DateFormat", "");
  auto nextDate = dates.begin();
  for (Control* child : form.MainPanel().Children()) {
    if (auto* label = dynamic_cast<TLabel*>(child)) {
      const std::string value = GetListValue(ini, label->Caption(), "");
      if (!value.empty() && label->FocusControl()) label->FocusControl()->SetText(value);
    } else if (auto* date = dynamic_cast<TDateLinkEdit97*>(child)) {
      date->SetDate((nextDate++)->second);
      date->ShowDate();
    } else if (auto* radio = dynamic_cast<TRadioButton*>(child)) {
      if (dateFormat == radio->Caption()) radio->SetChecked(true);
    }
  }
  if (form.AuthorForm()) form.AuthorForm()->LoadContributors("Author", ini);
  if (form.EditorForm()) form.EditorForm()->LoadContributors("Editor", ini);
}

}  // namespace citara
