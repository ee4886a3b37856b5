// What the ten source forms share, driven through real forms: the saved-data text (the book's
// worked example line for line, the edge cases, all-or-nothing loading, a round trip per form),
// the required-field check, Reset and the clipboard keys of the flat edits.
#include "core/source_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/saved_data.h"
#include "form_test_support.h"
#include "print/print_forms.h"
#include "web/web_forms.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"

namespace citara {
namespace {

using testing::Fill;
using testing::FormInput;

// The fixed clock: 15 March 2024, 10:30.
const OleDate kNow = OleFromCivil({2024, 3, 15}) + 0.4375;

class SourceFormTest : public ::testing::Test {
 protected:
  SourceFormTest() { port_.SetNow(kNow); }

  HeadlessPlatform port_;
  ScopedPlatform use_{port_};
};

std::vector<const FormDescription*> AllForms() {
  std::vector<const FormDescription*> forms(PrintForms().begin(), PrintForms().end());
  forms.insert(forms.end(), WebForms().begin(), WebForms().end());
  return forms;
}

// The lines of a saved-data text; every line, the last one too, must end with CR LF.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) {
      ADD_FAILURE() << "a line without CR LF: " << text;
      lines.emplace_back(text);
      break;
    }
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

bool HasLineStarting(const std::vector<std::string>& lines, std::string_view prefix) {
  for (const std::string& line : lines) {
    if (line.starts_with(prefix)) return true;
  }
  return false;
}

// The value of `key` in a saved-data text, or "<none>" when no line holds it.
std::string ValueOf(std::string_view text, std::string_view key) {
  const std::string prefix = std::string(key) + "=";
  for (const std::string& line : Lines(text)) {
    if (line.starts_with(prefix)) return line.substr(prefix.size());
  }
  return "<none>";
}

// The saved text's lines, with each entry block (the member's exact RTF between its key line and
// its END line) folded into the one line "<key>=<rtf>".
std::vector<std::string> FoldedLines(std::string text, TSourceForm& form) {
  for (const auto& [key, rtf] : {std::pair{std::string("*MLACitaragraphy"), form.GetMLACitaraInfo()},
                                 {std::string("*APACitaragraphy"), form.GetAPACitaraInfo()}}) {
    EXPECT_TRUE(rtf.starts_with("{\\rtf1")) << rtf;
    const std::string block = key + "=" + rtf + "\r\n" + key + "END\r\n";
    const std::size_t at = text.find(block);
    if (at == std::string::npos) {
      ADD_FAILURE() << key << " block does not hold the member's entry:\n" << text;
      continue;
    }
    text.replace(at, block.size(), key + "=<rtf>\r\n" + key + "END\r\n");
  }
  return Lines(text);
}

const ContributorList kAuthors = {{"Zoë", "Émile", "Ψ"}, {"李", "小龙", ""}, {"  O'Hara = Jr", "Ann", "B"}};
const ContributorList kEditors = {{"Brontë", "Charlotte", "É"}, {"Doe=Roe", "  Jane", "Q"}};

// Every field of the form filled: texts holding "=", leading spaces and letters of several
// scripts; the year or message number as a number; the cited date 12 January 1997 and the
// retrieval date 3 March 2000; the last radio button (never the one selected at creation); and
// both contributor lists where the form has them.
FormInput EveryField(const FormDescription& description) {
  FormInput input;
  for (const FieldDescription& f : description.fields) {
    if (f.kind == FieldKind::Edit) {
      input.texts.emplace_back(f.name, "  " + std::string(f.name) + " = Zoë, Émile, 李, Ψ");
    } else if (f.kind == FieldKind::SpinEdit) {
      input.texts.emplace_back(f.name, "2001");
    }
  }
  input.dates = {{"DateEdit", {1997, 1, 12}}, {"DateRetrievedEdit", {2000, 3, 3}}};
  std::erase_if(input.dates, [&](const auto& date) {
    return std::ranges::none_of(description.fields, [&](const FieldDescription& f) { return f.name == date.first; });
  });
  if (!description.radios.empty()) input.radio = std::string(description.radios.back().name);
  if (description.hasAuthors) input.authors = kAuthors;
  if (description.hasEditors) input.editors = kEditors;
  return input;
}

// Fills the form as a user would, leaving each date field so that it shows its date.
void FillEveryField(TSourceForm& form, bool withContributors = true) {
  FormInput input = EveryField(form.Description());
  if (!withContributors) input.authors = input.editors = {};
  Fill(form, input);
  for (const FieldDescription& f : form.Description().fields) {
    if (f.kind == FieldKind::DateEdit) form.DateField(f.name).ShowDate();
  }
}

// ---------------------------------------------------------------------------------------------
// Saved data

TEST_F(SourceFormTest, BookWorkedExampleLineForLineAndBack) {
  FormInput input;
  input.texts = {{"TitleEdit", "the scarlet letter"}, {"PlaceEdit", "Grand Rapids, MI"}, {"CompanyEdit", "Baker"}};
  input.authors = {{"Smith", "John", "Q"}, {"Doe", "Jane", ""}};
  TSourceForm book(BookForm());
  Fill(book, input);
  const std::string saved = book.SavedData();

  const std::vector<std::string> expected = {
      "Author(s):=Smith, John Q., and Jane Doe. ",
      "Title:=the scarlet letter",
      "Place of Printing:=Grand Rapids, MI",
      "Publishing Company:=Baker",
      "Year:=1998",
      "*PublicationDate=35796",
      "*Title=The Scarlet Letter",
      "*PrimaryNames=Smith, John Q., and Jane Doe",
      "*PrimaryName1=Smith, John Q",
      "*PrimaryName2=Doe, Jane",
      "*APAPrimaryName1=Smith, J. Q",
      "*APAPrimaryName2=Doe, J",
      "*MLACitaragraphy=<rtf>",
      "*MLACitaragraphyEND",
      "*APACitaragraphy=<rtf>",
      "*APACitaragraphyEND",
      "*Author0Last=Smith",
      "*Author0First=John",
      "*Author0MI=Q",
      "*Author1Last=Doe",
      "*Author1First=Jane",
      "*Author1MI=",
  };
  EXPECT_EQ(FoldedLines(saved, book), expected);

  TSourceForm fresh(BookForm());
  fresh.SetSavedData(saved);
  for (const auto& [field, text] : {std::pair{"TitleEdit", "the scarlet letter"}, {"PlaceEdit", "Grand Rapids, MI"},
                                    {"CompanyEdit", "Baker"}, {"YearEdit", "1998"}, {"SeriesEdit", ""}}) {
    EXPECT_EQ(fresh.Field(field).Text(), text) << field;
  }
  EXPECT_EQ(fresh.AuthorForm()->Contributors(), input.authors);
  EXPECT_TRUE(fresh.EditorForm()->Contributors().empty());
  EXPECT_TRUE(fresh.AuthorForm()->LastNameEdit().Focused());
  EXPECT_EQ(fresh.SavedData(), saved);
}

TEST_F(SourceFormTest, EmptyTextKeepsFieldsSetsDatesToNowAndEmptiesLists) {
  TSourceForm other(OtherForm());
  FillEveryField(other);
  const std::string title = other.Field("TitleEdit").Text();
  ASSERT_TRUE(other.Radio("YearOnlyRadioButton").Checked());

  other.SetSavedData("");

  EXPECT_EQ(other.Field("TitleEdit").Text(), title);
  EXPECT_EQ(other.DateField("DateEdit").Date(), kNow);
  EXPECT_EQ(other.DateField("DateEdit").Text(), "2024");  // shown in the kept "Year Only" format
  EXPECT_TRUE(other.Radio("YearOnlyRadioButton").Checked());
  EXPECT_FALSE(other.Radio("MonthDayYearRadioButton").Checked());
  EXPECT_TRUE(other.AuthorForm()->Contributors().empty());
  EXPECT_TRUE(other.EditorForm()->Contributors().empty());
  EXPECT_EQ(other.AuthorForm()->HeaderLabel().Caption(), "Author 1 of 1");
}

TEST_F(SourceFormTest, DateValuesLoadWithEitherDecimalSeparator) {
  static const struct {
    const char* value;
    OleDate date;
  } cases[] = {
      {"35796", 35796.0},
      {"35796.5", 35796.5},
      {"35796,5", 35796.5},  // written on a machine whose locale uses a decimal comma
      {"-657434", kMinOleDate},
      {"-657434.5", kMinOleDate - 0.5},  // noon on 1 January 100: the whole part names the day
      {"2958465.75", kMaxOleDate + 0.75},
  };
  for (const auto& c : cases) {
    TSourceForm magazine(MagazineForm());
    magazine.SetSavedData(std::string("*Date=") + c.value + "\r\n");
    EXPECT_EQ(magazine.DateField("DateEdit").Date(), c.date) << c.value;
  }
}

TEST_F(SourceFormTest, ContributorLoadingStopsAtTheFirstAbsentLastKey) {
  static const struct {
    const char* name;
    const char* text;
    ContributorList authors;
  } cases[] = {
      {"gap after entry 1", "*Author0Last=A\r\n*Author1Last=B\r\n*Author3Last=D\r\n", {{"A", "", ""}, {"B", "", ""}}},
      {"five stars are a name", "*Author0Last=*****\r\n*Author0First=Ann\r\n*Author1Last=B\r\n",
       {{"*****", "Ann", ""}, {"B", "", ""}}},
      {"first and MI without Last", "*Author0First=Ann\r\n*Author0MI=Q\r\n", {}},
      {"keys in any case and order", "*author0mi=Q\r\n*AUTHOR0LAST=Doe\r\n*Author0First=Jane\r\n", {{"Doe", "Jane", "Q"}}},
  };
  for (const auto& c : cases) {
    TSourceForm journal(JournalForm());
    journal.SetSavedData(c.text);
    EXPECT_EQ(journal.AuthorForm()->Contributors(), c.authors) << c.name;
  }
}

TEST_F(SourceFormTest, PrimaryNames) {
  const ContributorList four = {{"Able", "Ann", ""}, {"Baker", "Bo", ""}, {"Cole", "Cy", ""}, {"Dunn", "Di", ""}};
  static const struct {
    const char* name;
    ContributorList authors, editors;
    const char* primaryNames;
    std::vector<const char*> primaryName;  // *PrimaryName1...
    std::vector<const char*> apaPrimaryName;
  } cases[] = {
      {"no contributors", {}, {}, "<none>", {}, {}},
      {"authors over editors", {{"Smith", "John", "Q"}}, {{"Brown", "Ann", ""}}, "Smith, John Q", {"Smith, John Q"},
       {"Smith, J. Q"}},
      {"editors only", {}, {{"Brown", "Ann", ""}, {"Lee", "Kim", "R"}}, "Brown, Ann, and Kim R. Lee",
       {"Brown, Ann", "Lee, Kim R"}, {"Brown, A", "Lee, K. R"}},
      {"four authors: et al", four, {}, "Able, Ann, et al", {"Able, Ann", "Baker, Bo", "Cole, Cy", "Dunn, Di"},
       {"Able, A", "Baker, B", "Cole, C", "Dunn, D"}},
  };
  for (const auto& c : cases) {
    TSourceForm book(BookForm());
    FormInput input;
    input.texts = {{"TitleEdit", "a tale"}};
    input.authors = c.authors;
    input.editors = c.editors;
    Fill(book, input);
    const std::string saved = book.SavedData();
    EXPECT_EQ(ValueOf(saved, "*PrimaryNames"), c.primaryNames) << c.name;
    const std::vector<std::string> lines = Lines(saved);
    for (const auto& [key, names] : {std::pair{"*PrimaryName", &c.primaryName}, {"*APAPrimaryName", &c.apaPrimaryName}}) {
      for (std::size_t n = 0; n < names->size(); ++n) {
        EXPECT_EQ(ValueOf(saved, key + std::to_string(n + 1)), (*names)[n]) << c.name;
      }
      EXPECT_FALSE(HasLineStarting(lines, key + std::to_string(names->size() + 1) + "=")) << c.name;
    }
    EXPECT_EQ(HasLineStarting(lines, "Author(s):="), !c.authors.empty()) << c.name;
    EXPECT_EQ(HasLineStarting(lines, "Editor(s):="), !c.editors.empty()) << c.name;
    EXPECT_EQ(HasLineStarting(lines, "*Author0Last="), !c.authors.empty()) << c.name;
    EXPECT_EQ(HasLineStarting(lines, "*Editor0Last="), !c.editors.empty()) << c.name;
  }
}

TEST_F(SourceFormTest, YearFieldGivesThePublicationDateOnlyForAWholeYear) {
  static const struct {
    const char* year;
    const char* publicationDate;
  } cases[] = {
      {"1998", "35796"},
      {"2001", "36892"},
      {"9999", "2958101"},
      {"100", "-657434"},
      {"50", "-675696"},   // 1 January 50: outside the range of a date edit, still a day number
      {"1", "-693593"},
      {"", "<none>"},      // a cleared year
      {"0", "<none>"},
      {"-5", "<none>"},
      {"10000", "<none>"},
  };
  for (const auto& c : cases) {
    TSourceForm book(BookForm());
    book.Field("YearEdit").SetText(c.year);
    const std::string saved = book.SavedData();
    EXPECT_EQ(ValueOf(saved, "*PublicationDate"), c.publicationDate) << c.year;
    // Without a "Year:" line a fresh book keeps its own year.
    TSourceForm fresh(BookForm());
    fresh.SetSavedData(saved);
    EXPECT_EQ(fresh.Field("YearEdit").Text(), *c.year ? c.year : "1998") << c.year;
  }
}

TEST_F(SourceFormTest, DateKeysOfPrintedAndWebForms) {
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    FillEveryField(form);
    const std::string saved = form.SavedData();
    const bool hasDate = form.FindComponent<TDateLinkEdit97>("DateEdit") != nullptr;
    const bool web = description->deliverable == Deliverable::CitaraWeb;
    const std::string day = hasDate ? FormatOleNumber(OleFromCivil({1997, 1, 12})) : "<none>";
    EXPECT_EQ(ValueOf(saved, "*Date"), day) << description->className;
    EXPECT_EQ(ValueOf(saved, "*DateRetrieved"), web ? FormatOleNumber(OleFromCivil({2000, 3, 3})) : "<none>")
        << description->className;
    // A printed form's date edit gives the publication date; a web form writes none.
    std::string publication = "<none>";
    if (!web) publication = hasDate ? day : FormatOleNumber(OleFromCivil({2001, 1, 1}));
    EXPECT_EQ(ValueOf(saved, "*PublicationDate"), publication) << description->className;
  }
}

TEST_F(SourceFormTest, DateFormatIsSavedAndLoadedThroughTheRadioHandler) {
  static const struct {
    const FormDescription& form;
    const char* radio;
    const char* caption;
    const char* shown;  // DateEdit's text for 5 January 1997 after loading into a fresh form
  } cases[] = {
      {MagazineForm(), "MonthOnlyRadioButton", "Month Only", "January 1997"},
      {MagazineForm(), "MonthAndDayRadioButton", "Month and Day", "January 5, 1997"},
      // The newspaper keeps its two-digit day until another choice than the first is made.
      {NewspaperForm(), "MonthAndDayRadioButton", "Month and Day", "January 05, 1997"},
      {NewspaperForm(), "MonthOnlyRadioButton", "Month Only", "January 1997"},
      {OtherForm(), "MonthYearRadioButton", "Month and Year", "January 1997"},
      {OtherForm(), "YearOnlyRadioButton", "Year Only", "1997"},
      {WebArticleForm(), "YearOnlyRadioButton", "Year Only", "1997"},
      {PersonalSiteForm(), "MonthYearRadioButton", "Month and Year", "January 1997"},
      {ProfessionalSiteForm(), "MonthDayYearRadioButton", "Month, Day, and Year", "January 5, 1997"},
      {NewsgroupForm(), "YearOnlyRadioButton", "Year Only", "1997"},
  };
  for (const auto& c : cases) {
    TSourceForm form(c.form);
    FormInput input;
    input.dates = {{"DateEdit", {1997, 1, 5}}};
    input.radio = c.radio;
    Fill(form, input);
    const std::string saved = form.SavedData();
    EXPECT_EQ(ValueOf(saved, "*DateFormat"), c.caption) << c.form.className << " " << c.radio;

    TSourceForm fresh(c.form);
    fresh.SetSavedData(saved);
    EXPECT_TRUE(fresh.Radio(c.radio).Checked()) << c.form.className << " " << c.radio;
    EXPECT_EQ(fresh.DateField("DateEdit").Text(), c.shown) << c.form.className << " " << c.radio;
    EXPECT_EQ(fresh.DateField("DateEdit").Date(), OleFromCivil({1997, 1, 5})) << c.form.className << " " << c.radio;
  }
}

TEST_F(SourceFormTest, DateFormatMustMatchACaptionExactly) {
  TSourceForm magazine(MagazineForm());
  magazine.SetSavedData("*DateFormat=month only\r\n");
  EXPECT_TRUE(magazine.Radio("MonthAndDayRadioButton").Checked());
  EXPECT_FALSE(magazine.Radio("MonthOnlyRadioButton").Checked());
}

// A text that cannot be loaded names the key and the value and changes nothing: not the fields,
// the contributors, the dates, the radio buttons or the saved data read afterwards.
TEST_F(SourceFormTest, LoadingIsAllOrNothing) {
  static const struct {
    const FormDescription& form;
    const char* key;
    const char* value;
  } cases[] = {
      {OtherForm(), "*Date", "tomorrow"},
      {OtherForm(), "*Date", ""},  // found, so the current-date default does not apply
      {OtherForm(), "*Date", "35796.5.5"},
      {OtherForm(), "*Date", "1e5"},
      {OtherForm(), "*Date", "-657435"},  // the day before 1 January 100
      {OtherForm(), "*Date", "2958466"},  // the day after 31 December 9999
      {OtherForm(), "*Date", "nan"},
      {NewsgroupForm(), "*DateRetrieved", "soon"},
      {NewsgroupForm(), "*DateRetrieved", ""},
      {WebArticleForm(), "*Date", "99999999"},
  };
  for (const auto& c : cases) {
    const std::string label = std::string(c.form.className) + " " + c.key + "=" + c.value;
    TSourceForm form(c.form);
    FillEveryField(form);
    const std::string before = form.SavedData();
    const std::string urlOrTitle = form.Description().deliverable == Deliverable::Citara ? "Title:" : "URL:";
    const std::string text = urlOrTitle + "=changed\r\n*Author0Last=New\r\n*DateFormat=Month, Day, and Year\r\n"
                             "*DateFormat=Month and Day\r\n" + c.key + "=" + c.value + "\r\n";
    try {
      form.SetSavedData(text);
      ADD_FAILURE() << label << ": loaded";
    } catch (const SavedDataError& e) {
      EXPECT_EQ(e.Key(), c.key) << label;
      EXPECT_EQ(e.Value(), c.value) << label;
      EXPECT_NE(std::string(e.what()).find(std::string("\"") + c.key + "\""), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(std::string("\"") + c.value + "\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(form.AuthorForm()->Contributors(), kAuthors) << label;
    EXPECT_TRUE(form.Radio(c.form.radios.back().name).Checked()) << label;
    EXPECT_EQ(form.SavedData(), before) << label;
  }
}

// A form with every field, its contributors in several scripts and values holding "=" or leading
// spaces: saved, loaded into a fresh control and saved again gives the same text.
TEST_F(SourceFormTest, EveryFormRoundTrips) {
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    FillEveryField(form);
    const std::string saved = form.SavedData();
    for (const FieldDescription& f : description->fields) {
      EXPECT_NE(ValueOf(saved, f.caption), "<none>") << description->className << " " << f.name;
    }

    TSourceForm fresh(*description);
    fresh.SetSavedData(saved);
    for (const FieldDescription& f : description->fields) {
      EXPECT_EQ(fresh.Field(f.name).Text(), form.Field(f.name).Text()) << description->className << " " << f.name;
    }
    EXPECT_EQ(fresh.AuthorForm() ? fresh.AuthorForm()->Contributors() : ContributorList(),
              description->hasAuthors ? kAuthors : ContributorList())
        << description->className;
    EXPECT_EQ(fresh.EditorForm() ? fresh.EditorForm()->Contributors() : ContributorList(),
              description->hasEditors ? kEditors : ContributorList())
        << description->className;
    EXPECT_EQ(fresh.GetMLACitaraInfo(), form.GetMLACitaraInfo()) << description->className;
    EXPECT_EQ(fresh.GetAPACitaraInfo(), form.GetAPACitaraInfo()) << description->className;
    EXPECT_EQ(fresh.SavedData(), saved) << description->className;
  }
}

TEST_F(SourceFormTest, LoadingMovesTheFocusToWhereTypingStarts) {
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    form.Field(description->fields.front().name).SetFocus();
    form.SetSavedData("");
    const TFlatEdit& start =
        form.AuthorForm() ? form.AuthorForm()->LastNameEdit() : form.Field("TitleEdit");  // ProfessionalSite
    EXPECT_TRUE(start.Focused()) << description->className;
  }
}

TEST_F(SourceFormTest, ANewFormTakesTheKeysWhereTypingStarts) {
  // Its sub-forms are shown before the form itself: without a focus of its own, Tab and typing
  // would reach no field until a click.
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    TFlatEdit& start = form.AuthorForm() ? form.AuthorForm()->LastNameEdit() : form.Field("TitleEdit");
    EXPECT_TRUE(start.Focused()) << description->className;
    form.Keystroke(KeyOfChar(U'x'), ShiftState::None, U'x');
    EXPECT_EQ(start.Text(), "x") << description->className;
    form.Keystroke(VK_TAB, ShiftState::None, 0);
    EXPECT_FALSE(start.Focused()) << description->className;
    EXPECT_NE(form.FocusedControl(), nullptr) << description->className;
  }
}

// ---------------------------------------------------------------------------------------------
// Required fields

struct RequiredFields {
  const FormDescription& form;
  std::vector<const char*> fields;  // in the order they are examined
};

const std::vector<RequiredFields>& RequiredFieldsOfEveryForm() {
  static const std::vector<RequiredFields> table = {
      {BookForm(), {"YearEdit", "TitleEdit", "PlaceEdit", "CompanyEdit"}},
      {EncyclopediaForm(),
       {"TitleEdit", "EncyclopediaEdit", "PlaceEdit", "CompanyEdit", "YearEdit", "VolumeEdit", "PagesEdit"}},
      {JournalForm(), {"YearEdit", "TitleEdit", "JournalEdit", "VolumeEdit", "PagesEdit"}},
      {MagazineForm(), {"TitleEdit", "MagazineEdit", "PagesEdit", "DateEdit", "VolumeEdit"}},
      {NewspaperForm(), {"TitleEdit", "NewspaperEdit", "PagesEdit", "DateEdit"}},
      {OtherForm(), {"TitleEdit", "DateEdit"}},
      {WebArticleForm(), {"URLEdit", "DateEdit", "TitleEdit", "ReferenceEdit", "DateRetrievedEdit"}},
      {PersonalSiteForm(), {"URLEdit", "DateEdit", "DateRetrievedEdit"}},
      {ProfessionalSiteForm(), {"URLEdit", "DateEdit", "TitleEdit", "PublisherEdit", "DateRetrievedEdit"}},
      {NewsgroupForm(), {"URLEdit", "DateEdit", "SubjectEdit", "DateRetrievedEdit", "MessageNumberEdit"}},
  };
  return table;
}

const MessageDialog kRequiredFieldsDialog = {
    .caption = "Error",
    .text = "The yellow fields are required for this type of reference.  At least one of the required fields is "
            "blank.  Please enter all the necessary data.",
    .icon = DialogIcon::Error,
    .buttons = DialogButtons::Ok,
};

bool IsRequired(const RequiredFields& row, std::string_view name) {
  return std::ranges::find(row.fields, name) != row.fields.end();
}

TEST_F(SourceFormTest, FilledFormsPassWithoutADialog) {
  for (const RequiredFields& row : RequiredFieldsOfEveryForm()) {
    // Optional fields blank, no contributors, required text fields holding only spaces.
    TSourceForm form(row.form);
    FillEveryField(form, /*withContributors=*/false);
    for (const FieldDescription& f : row.form.fields) {
      if (!IsRequired(row, f.name)) form.Field(f.name).SetText("");
      else if (f.kind == FieldKind::Edit) form.Field(f.name).SetText("   ");
    }
    EXPECT_EQ(form.ValidateData(), kAutomationTrue) << row.form.className;
  }
  EXPECT_TRUE(port_.Dialogs().empty());
}

// Clearing the required fields from the i-th on reports the i-th: the fields are required and
// examined in this order. Clearing the i-th alone reports it too.
TEST_F(SourceFormTest, TheFirstBlankRequiredFieldIsReportedAndFocused) {
  for (const RequiredFields& row : RequiredFieldsOfEveryForm()) {
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
      for (const bool alone : {true, false}) {
        const std::string label = std::string(row.form.className) + " " + row.fields[i] + (alone ? " alone" : " on");
        HeadlessPlatform port;
        ScopedPlatform use(port);
        TSourceForm form(row.form);
        FillEveryField(form);
        for (std::size_t j = i; j < (alone ? i + 1 : row.fields.size()); ++j) form.Field(row.fields[j]).SetText("");

        EXPECT_EQ(form.ValidateData(), kAutomationFalse) << label;
        EXPECT_EQ(port.Dialogs(), std::vector<MessageDialog>{kRequiredFieldsDialog}) << label;
        EXPECT_TRUE(form.Field(row.fields[i]).Focused()) << label;
      }
    }
  }
}

// A fresh form's date fields hold today but show no text, so the check stops at the first of
// them once the text fields before it are filled.
TEST_F(SourceFormTest, AFreshDateFieldIsBlank) {
  for (const RequiredFields& row : RequiredFieldsOfEveryForm()) {
    if (!IsRequired(row, "DateEdit")) continue;
    TSourceForm form(row.form);
    for (const FieldDescription& f : row.form.fields) {
      if (f.kind == FieldKind::Edit) form.Field(f.name).SetText("x");
    }
    EXPECT_EQ(form.ValidateData(), kAutomationFalse) << row.form.className;
    EXPECT_TRUE(form.DateField("DateEdit").Focused()) << row.form.className;
  }
}

// ---------------------------------------------------------------------------------------------
// Reset

// Hosts get the RTF entries from the last request while nothing the rule reads has changed: after
// every kind of change the requested entry is the one the rule makes afresh.
TEST_F(SourceFormTest, RepeatedEntryRequestsFollowEveryChange) {
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    const auto expectFresh = [&](const std::string& step) {
      EXPECT_EQ(form.GetMLACitaraInfo(), CitationToRtf(form.MlaCitation())) << description->className << ": " << step;
      EXPECT_EQ(form.GetAPACitaraInfo(), CitationToRtf(form.ApaCitation())) << description->className << ": " << step;
    };
    const auto addContributor = [&](TAuthorForm* sub, const std::string& role) {
      if (!sub) return;
      sub->LastButton().Click();
      sub->NextButton().Click();  // past the last entry: a new one
      sub->LastNameEdit().TypeText("Added");
      sub->FirstNameEdit().TypeText("Person");
      sub->AddButton().Click();
      expectFresh("an " + role + " added");
      sub->FirstButton().Click();
      port_.QueueAnswer(DialogResult::Ok);
      sub->DeleteButton().Click();
      expectFresh("the first " + role + " deleted");
    };
    expectFresh("a fresh form");
    FillEveryField(form);
    expectFresh("every field filled");
    for (const FieldDescription& f : description->fields) {
      if (f.kind == FieldKind::DateEdit) {
        form.DateField(f.name).SetDate(form.DateField(f.name).Date() + 40);
      } else {
        form.Field(f.name).SetText(f.kind == FieldKind::SpinEdit ? "1999" : "changed " + std::string(f.name));
      }
      expectFresh(std::string(f.name) + " changed");
    }
    for (const RadioDescription& r : description->radios) {
      form.Radio(r.name).Click();
      expectFresh(std::string(r.name) + " selected");
    }
    addContributor(form.AuthorForm(), "author");
    addContributor(form.EditorForm(), "editor");
    form.Reset();
    expectFresh("reset");
    form.SetSavedData(form.SavedData());
    expectFresh("loaded again");
  }
}

TEST_F(SourceFormTest, ResetClearsTheFormAndKeepsDatesAndDateFormat) {
  for (const FormDescription* description : AllForms()) {
    const std::string name(description->className);
    TSourceForm form(*description);
    FillEveryField(form);
    std::vector<std::pair<std::string, OleDate>> dates;
    for (const FieldDescription& f : description->fields) {
      if (f.kind == FieldKind::DateEdit) dates.emplace_back(f.name, form.DateField(f.name).Date());
    }
    const std::string checkedRadio = description->radios.empty() ? "" : std::string(description->radios.back().name);

    form.Reset();

    for (const FieldDescription& f : description->fields) {
      std::string expected;
      if (f.name == "YearEdit") expected = "2024";  // the year of the fixed clock
      if (f.kind == FieldKind::DateEdit) {
        const TDateLinkEdit97& date = form.DateField(f.name);
        expected = FormatDate(date.Date(), date.DateFormat());
      }
      EXPECT_EQ(form.Field(f.name).Text(), expected) << name << " " << f.name;
    }
    for (const auto& [field, date] : dates) EXPECT_EQ(form.DateField(field).Date(), date) << name << " " << field;
    for (const RadioDescription& r : description->radios) {
      EXPECT_EQ(form.Radio(r.name).Checked(), r.name == checkedRadio) << name << " " << r.name;
    }
    for (const auto& [sub, header] : {std::pair{form.AuthorForm(), "Author 1 of 1"}, {form.EditorForm(), "Editor 1 of 1"}}) {
      if (!sub) continue;
      EXPECT_TRUE(sub->Contributors().empty()) << name;
      EXPECT_EQ(sub->HeaderLabel().Caption(), header) << name;
      EXPECT_EQ(sub->LastNameEdit().Text(), "") << name;
    }
    const TFlatEdit& start = form.AuthorForm() ? form.AuthorForm()->LastNameEdit() : form.Field("TitleEdit");
    EXPECT_TRUE(start.Focused()) << name;
  }
}

TEST_F(SourceFormTest, ResetShowsEachDateInItsCurrentFormat) {
  static const struct {
    const FormDescription& form;
    std::vector<const char*> radios;  // clicked in this order before the reset
    const char* dateEdit;
    const char* shown;
  } cases[] = {
      {NewspaperForm(), {}, "DateEdit", "January 05, 1997"},
      {NewspaperForm(), {"MonthOnlyRadioButton"}, "DateEdit", "January 1997"},
      {NewspaperForm(), {"MonthOnlyRadioButton", "MonthAndDayRadioButton"}, "DateEdit", "January 5, 1997"},
      {MagazineForm(), {}, "DateEdit", "January 5, 1997"},
      {OtherForm(), {"YearOnlyRadioButton"}, "DateEdit", "1997"},
      {WebArticleForm(), {"MonthYearRadioButton"}, "DateEdit", "January 1997"},
      // The retrieval date is always a full date, whatever radio button is selected.
      {WebArticleForm(), {"YearOnlyRadioButton"}, "DateRetrievedEdit", "January 05, 1997"},
      {ProfessionalSiteForm(), {"YearOnlyRadioButton"}, "DateRetrievedEdit", "January 5, 1997"},
  };
  for (const auto& c : cases) {
    TSourceForm form(c.form);
    form.DateField(c.dateEdit).SetDate(OleFromCivil({1997, 1, 5}));
    for (const char* radio : c.radios) form.Radio(radio).Click();
    form.Reset();
    EXPECT_EQ(form.DateField(c.dateEdit).Text(), c.shown) << c.form.className << " " << c.dateEdit;
  }
}

TEST_F(SourceFormTest, AFreshYearFieldShowsItsDefaultUntilReset) {
  for (const FormDescription* description : {&BookForm(), &EncyclopediaForm(), &JournalForm()}) {
    TSourceForm form(*description);
    EXPECT_EQ(form.Field("YearEdit").Text(), "1998") << description->className;
    form.Reset();
    EXPECT_EQ(form.Field("YearEdit").Text(), "2024") << description->className;
  }
}

// ---------------------------------------------------------------------------------------------
// Clipboard keys

TEST_F(SourceFormTest, CtrlXCVOnKeyReleaseInTheFlatEdits) {
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    for (const FieldDescription& f : description->fields) {
      const std::string label = std::string(description->className) + " " + std::string(f.name);
      TFlatEdit& edit = form.Field(f.name);
      if (!f.clipboardKeys) {
        // Spin and date edits have no key-release handler of the form.
        EXPECT_FALSE(edit.OnKeyUp) << label;
        continue;
      }
      edit.SetFocus();
      edit.SetText("Zoë");
      edit.SelectAll();
      edit.PressKey('C', ShiftState::Ctrl);
      EXPECT_EQ(port_.ClipboardText(), "Zoë") << label;
      edit.SetSelStart(3);
      edit.PressKey('V', ShiftState::Ctrl);
      EXPECT_EQ(edit.Text(), "ZoëZoë") << label;
      edit.Select(0, 3);
      edit.PressKey('X', ShiftState::Ctrl);
      EXPECT_EQ(edit.Text(), "Zoë") << label;
      port_.SetClipboardText("");
      edit.SelectAll();
      edit.PressKey('C');  // without Ctrl: typed, not copied
      EXPECT_EQ(port_.ClipboardText(), "") << label;
    }
  }
}

TEST_F(SourceFormTest, NoClipboardKeysInTheYearField) {
  TSourceForm book(BookForm());
  TFlatEdit& year = book.Field("YearEdit");
  port_.SetClipboardText("7");
  year.SetFocus();
  year.SelectAll();
  year.PressKey('V', ShiftState::Ctrl);
  EXPECT_EQ(year.Text(), "1998");
  year.SelectAll();
  year.PressKey('X', ShiftState::Ctrl);
  EXPECT_EQ(year.Text(), "1998");
  EXPECT_EQ(port_.ClipboardText(), "7");
}

}  // namespace
}  // namespace citara

namespace citara {
namespace {

// ---------------------------------------------------------------------------------------------
// Input no user or host can break a form with

// The date fields of a form, by name.
std::vector<std::string_view> DateFields(const FormDescription& form) {
  std::vector<std::string_view> names;
  for (const FieldDescription& f : form.fields) {
    if (f.kind == FieldKind::DateEdit) names.push_back(f.name);
  }
  return names;
}

// Each spin field keeps to the limits of its form: a step never passes them (nor overflows, even
// from the largest number a text can name), and leaving the field shows a number inside them.
TEST_F(SourceFormTest, SpinFieldsKeepToTheirFormsLimits) {
  static const struct {
    const FormDescription& form;
    const char* field;
    const char* caption;
    long long min, max;
  } cases[] = {
      {BookForm(), "YearEdit", "Year:", 1, 9999},
      {EncyclopediaForm(), "YearEdit", "Year:", 1, 9999},
      {JournalForm(), "YearEdit", "Year:", 1, 9999},
      {NewsgroupForm(), "MessageNumberEdit", "Msg #:", 1, 9999999},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form.className);
    TSourceForm form(c.form);
    TFlatEdit& field = form.Field(c.field);
    const auto press = [&](Key key, const std::string& from) {
      field.SetText(from);
      field.PressKey(key);
      return field.Text();
    };
    EXPECT_EQ(press(VK_DOWN, std::to_string(c.min)), std::to_string(c.min));
    EXPECT_EQ(press(VK_UP, std::to_string(c.max)), std::to_string(c.max));
    EXPECT_EQ(press(VK_UP, "9223372036854775807"), std::to_string(c.max));
    EXPECT_EQ(press(VK_DOWN, "0"), std::to_string(c.min));
    EXPECT_EQ(press(VK_UP, "41"), "42");
    // Loaded as a host stored it, taken as text; the first step comes back inside the limits.
    form.FocusFirstField();
    form.SetSavedData(std::string(c.caption) + "=9223372036854775807");
    EXPECT_EQ(field.Text(), "9223372036854775807");
    field.PressKey(VK_UP);
    EXPECT_EQ(field.Text(), std::to_string(c.max));
    // Typed: no more digits than the largest number has; a number outside is mended on leaving.
    field.SetText("");
    field.TypeText("123456789012");
    EXPECT_EQ(field.Text(), std::string("123456789012").substr(0, std::to_string(c.max).size()));
    field.SetText("0");
    form.FocusFirstField();
    EXPECT_EQ(field.Text(), std::to_string(c.min));
  }
}

// A host's Reset or SavedData put while a date field has the focus leaves it showing its date for
// typing, which it takes without a word when the focus leaves.
TEST_F(SourceFormTest, HostCallsLeaveAFocusedDateFieldShowingTextItTakes) {
  for (const FormDescription* description : AllForms()) {
    for (std::string_view name : DateFields(*description)) {
      for (const bool reset : {true, false}) {
        SCOPED_TRACE(std::string(description->className) + " " + std::string(name) + (reset ? " Reset" : " put"));
        TSourceForm form(*description);
        TDateLinkEdit97& date = form.DateField(name);
        date.Click();
        ASSERT_TRUE(date.Focused());
        if (reset) form.Reset();
        else form.SetSavedData("*Date=35796\r\n*DateRetrieved=35796");
        EXPECT_TRUE(port_.Dialogs().empty());
        const TFlatEdit& start = form.AuthorForm() ? form.AuthorForm()->LastNameEdit() : form.Field("TitleEdit");
        EXPECT_TRUE(start.Focused());
        EXPECT_EQ(date.Text(), FormatDate(date.Date(), date.DateFormat()));
        if (!reset) {
          EXPECT_EQ(date.Date(), 35796);
        }
      }
    }
  }
}

}  // namespace
}  // namespace citara

namespace citara {
namespace {

// A fresh form's saved data loads into another fresh form as the same text, and so does that of a
// form whose date field has the focus: a date edit's line is its date as a load shows it.
TEST_F(SourceFormTest, SavedDataReadsBackToItselfFromAFreshOrFocusedForm) {
  for (const FormDescription* description : AllForms()) {
    SCOPED_TRACE(description->className);
    TSourceForm form(*description);
    const std::string saved = form.SavedData();
    TSourceForm fresh(*description);
    fresh.SetSavedData(saved);
    EXPECT_EQ(fresh.SavedData(), saved);
    for (std::string_view name : DateFields(*description)) {
      form.DateField(name).Click();
      const std::string focused = form.SavedData();
      fresh.SetSavedData(focused);
      EXPECT_EQ(fresh.SavedData(), focused) << name;
    }
  }
}

// Reads (both entries, the saved data) show the first contributor again, but never show a
// message: with a half-typed date in the focused field the focus stays there.
TEST_F(SourceFormTest, ReadsShowTheFirstContributorButNoMessage) {
  for (const FormDescription* description : AllForms()) {
    if (!description->hasAuthors || DateFields(*description).empty()) continue;
    SCOPED_TRACE(description->className);
    TSourceForm form(*description);
    form.SetSavedData("*Author0Last=Smith\r\n*Author1Last=Doe");
    TAuthorForm& authors = *form.AuthorForm();
    TDateLinkEdit97& date = form.DateField(DateFields(*description).front());
    for (int read = 0; read < 3; ++read) {
      date.SetText("");  // leaves quietly
      authors.NextButton().Click();
      date.Click();
      date.SetText("13/45/1999");
      if (read == 0) form.GetMLACitaraInfo();
      if (read == 1) form.GetAPACitaraInfo();
      if (read == 2) form.SavedData();
      EXPECT_EQ(authors.LastNameEdit().Text(), "Smith") << read;
      EXPECT_EQ(authors.HeaderLabel().Caption(), "Author 1 of 2") << read;
    }
    EXPECT_TRUE(port_.Dialogs().empty());
    EXPECT_TRUE(date.Focused());
    EXPECT_EQ(date.Text(), "13/45/1999");
  }
}

}  // namespace
}  // namespace citara
