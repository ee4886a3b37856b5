// The entries of the four web-source forms, one table per form, and the shape of their
// descriptions. Entries are written with the italic run between asterisks.
#include "web/web_forms.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "form_test_support.h"

namespace citara {
namespace {

using testing::FormInput;
using testing::MarkedEntry;

const ContributorList kCarver = {{"Carver", "Ellen", "M"}};

// How a row differs from its form's worked example: texts and dates replace the example's, a
// radio button is selected, or another author list is given.
struct Change {
  std::vector<std::pair<std::string, std::string>> texts;
  std::vector<std::pair<std::string, CivilDate>> dates;
  std::string radio;
  std::optional<ContributorList> authors;
};

Change None() { return {}; }
Change Texts(std::vector<std::pair<std::string, std::string>> texts) {
  Change c;
  c.texts = std::move(texts);
  return c;
}
Change Retrieved(CivilDate day) {
  Change c;
  c.dates = {{"DateRetrievedEdit", day}};
  return c;
}
Change Radio(std::string radio) {
  Change c;
  c.radio = std::move(radio);
  return c;
}
Change Authors(ContributorList authors) {
  Change c;
  c.authors = std::move(authors);
  return c;
}

FormInput Apply(FormInput input, const Change& change) {
  for (const auto& [field, text] : change.texts) {
    std::erase_if(input.texts, [&](const auto& entry) { return entry.first == field; });
    input.texts.emplace_back(field, text);
  }
  for (const auto& [edit, day] : change.dates) {
    std::erase_if(input.dates, [&](const auto& entry) { return entry.first == edit; });
    input.dates.emplace_back(edit, day);
  }
  if (!change.radio.empty()) input.radio = change.radio;
  if (change.authors) input.authors = *change.authors;
  return input;
}

// A form's worked example: these texts and authors, last modified or posted 12 January 1999,
// retrieved 3 March 2000.
FormInput Example(std::vector<std::pair<std::string, std::string>> texts, ContributorList authors) {
  FormInput input;
  input.texts = std::move(texts);
  input.authors = std::move(authors);
  input.dates = {{"DateEdit", {1999, 1, 12}}, {"DateRetrievedEdit", {2000, 3, 3}}};
  return input;
}

struct Row {
  const char* name;
  Change change;
  const char* mla;
  const char* apa;
};

void ExpectEntries(const FormDescription& form, const FormInput& example, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    const FormInput input = Apply(example, row.change);
    EXPECT_EQ(MarkedEntry(form, input, CitationStyle::MLA), row.mla) << form.className << ": " << row.name;
    EXPECT_EQ(MarkedEntry(form, input, CitationStyle::APA), row.apa) << form.className << ": " << row.name;
  }
}

const CivilDate kLaterRetrieval = {2001, 9, 9};

TEST(WebArticle, Entries) {
  const FormInput example = Example(
      {{"TitleEdit", "tide tables for beginners"}, {"ReferenceEdit", "harbor science online"}, {"URLEdit", "pages/tides.htm"}},
      kCarver);
  ExpectEntries(
      WebArticleForm(), example,
      {
          {"example", None(),
           "Carver, Ellen M. \"Tide Tables for Beginners.\" *Harbor Science Online*. 12 Jan. 1999 <pages/tides.htm>.",
           "Carver, E. M. (1999, January 12). Tide tables for beginners. *Harbor science online.* Retrieved March 3, "
           "2000, from pages/tides.htm"},
          // Without authors the APA entry leads with the title.
          {"no authors", Authors({}),
           "\"Tide Tables for Beginners.\" *Harbor Science Online*. 12 Jan. 1999 <pages/tides.htm>.",
           "Tide tables for beginners. (1999, January 12). *Harbor science online.* Retrieved March 3, 2000, from "
           "pages/tides.htm"},
          {"month and year", Radio("MonthYearRadioButton"),
           "Carver, Ellen M. \"Tide Tables for Beginners.\" *Harbor Science Online*. Jan. 1999 <pages/tides.htm>.",
           "Carver, E. M. (1999, January). Tide tables for beginners. *Harbor science online.* Retrieved March 3, "
           "2000, from pages/tides.htm"},
          {"year only", Radio("YearOnlyRadioButton"),
           "Carver, Ellen M. \"Tide Tables for Beginners.\" *Harbor Science Online*. 1999 <pages/tides.htm>.",
           "Carver, E. M. (1999). Tide tables for beginners. *Harbor science online.* Retrieved March 3, 2000, from "
           "pages/tides.htm"},
          // A title that ends in "?" gets no added period.
          {"question", Texts({{"TitleEdit", "who owns the tides?"}}),
           "Carver, Ellen M. \"Who Owns the Tides?\" *Harbor Science Online*. 12 Jan. 1999 <pages/tides.htm>.",
           "Carver, E. M. (1999, January 12). Who owns the tides? *Harbor science online.* Retrieved March 3, 2000, "
           "from pages/tides.htm"},
          // The site's name inside the title: the site itself is set in italics, not the title's words.
          {"site named in title", Texts({{"TitleEdit", "harbor science online: an index"}}),
           "Carver, Ellen M. \"Harbor Science Online: An Index.\" *Harbor Science Online*. 12 Jan. 1999 "
           "<pages/tides.htm>.",
           "Carver, E. M. (1999, January 12). Harbor science online: An index. *Harbor science online.* Retrieved "
           "March 3, 2000, from pages/tides.htm"},
          {"site ends with a period", Texts({{"ReferenceEdit", "harbor science inc."}}),
           "Carver, Ellen M. \"Tide Tables for Beginners.\" *Harbor Science Inc.* 12 Jan. 1999 <pages/tides.htm>.",
           "Carver, E. M. (1999, January 12). Tide tables for beginners. *Harbor science inc.* Retrieved March 3, "
           "2000, from pages/tides.htm"},
          // The retrieval date is cited by APA only, its month in English.
          {"retrieval date", Retrieved(kLaterRetrieval),
           "Carver, Ellen M. \"Tide Tables for Beginners.\" *Harbor Science Online*. 12 Jan. 1999 <pages/tides.htm>.",
           "Carver, E. M. (1999, January 12). Tide tables for beginners. *Harbor science online.* Retrieved September "
           "9, 2001, from pages/tides.htm"},
      });
}

TEST(PersonalSite, Entries) {
  const FormInput example = Example({{"URLEdit", "pages/carver.htm"}}, kCarver);
  ExpectEntries(
      PersonalSiteForm(), example,
      {
          {"example", None(),
           "Carver, Ellen M. Home page. 12 Jan. 1999 <pages/carver.htm>.",
           "Carver, E. M. (1999, January 12). Home page. Retrieved March 3, 2000, from pages/carver.htm"},
          {"no authors", Authors({}),
           "Home page. 12 Jan. 1999 <pages/carver.htm>.",
           "Home page. (1999, January 12). Retrieved March 3, 2000, from pages/carver.htm"},
          {"two authors", Authors({{"Carver", "Ellen", "M"}, {"Reyes", "Tom", ""}}),
           "Carver, Ellen M., and Tom Reyes. Home page. 12 Jan. 1999 <pages/carver.htm>.",
           "Carver, E. M., & Reyes, T. (1999, January 12). Home page. Retrieved March 3, 2000, from pages/carver.htm"},
          {"month and year", Radio("MonthYearRadioButton"),
           "Carver, Ellen M. Home page. Jan. 1999 <pages/carver.htm>.",
           "Carver, E. M. (1999, January). Home page. Retrieved March 3, 2000, from pages/carver.htm"},
          {"year only", Radio("YearOnlyRadioButton"),
           "Carver, Ellen M. Home page. 1999 <pages/carver.htm>.",
           "Carver, E. M. (1999). Home page. Retrieved March 3, 2000, from pages/carver.htm"},
          {"retrieval date", Retrieved(kLaterRetrieval),
           "Carver, Ellen M. Home page. 12 Jan. 1999 <pages/carver.htm>.",
           "Carver, E. M. (1999, January 12). Home page. Retrieved September 9, 2001, from pages/carver.htm"},
          // A blank URL is not refused by the entries (validation is the host's call).
          {"blank URL", Texts({{"URLEdit", ""}}),
           "Carver, Ellen M. Home page. 12 Jan. 1999 <>.",
           "Carver, E. M. (1999, January 12). Home page. Retrieved March 3, 2000, from "},
      });
}

// The saved-data title of a home page names its first author; blank entries do not count.
TEST(PersonalSite, SavedTitleNamesTheFirstAuthor) {
  const FormDescription& form = PersonalSiteForm();
  ASSERT_NE(form.savedTitle, nullptr);
  static const struct {
    const char* name;
    ContributorList authors;
    const char* title;
  } cases[] = {
      {"one author", kCarver, "Ellen M. Carver Home Page"},
      {"no authors", {}, "Home Page"},
      {"two authors", {{"Reyes", "Tom", ""}, {"Carver", "Ellen", "M"}}, "Tom Reyes Home Page"},
      {"blank first entry", {{"", "", ""}, {"Carver", "Ellen", "M"}}, "Ellen M. Carver Home Page"},
  };
  for (const auto& c : cases) {
    // The form's values as the shared base hands them over: blank entries already removed.
    struct Values final : FormValues {
      ContributorList authors;
      std::string_view Text(std::string_view) const override { return {}; }
      OleDate Date(std::string_view) const override { return 0; }
      std::string_view DateFormat(std::string_view) const override { return {}; }
      bool Checked(std::string_view) const override { return false; }
      const ContributorList& Authors() const override { return authors; }
      const ContributorList& Editors() const override { return authors; }
    } values;
    values.authors = c.authors;
    RemoveEmptyEntries(values.authors);
    EXPECT_EQ(form.savedTitle(values), c.title) << c.name;
  }
}

TEST(ProfessionalSite, Entries) {
  const FormInput example = Example({{"TitleEdit", "harbor tide tables"},
                                     {"PublisherEdit", "harbor institute of science"},
                                     {"URLEdit", "pages/tables.htm"}},
                                    {});
  ExpectEntries(
      ProfessionalSiteForm(), example,
      {
          // The publisher keeps its MLA capitalization in the APA entry; the title follows APA.
          {"example", None(),
           "*Harbor Tide Tables*. Harbor Institute of Science. 12 Jan. 1999 <pages/tables.htm>.",
           "Harbor Institute of Science. (1999, January 12). *Harbor tide tables.* Retrieved March 3, 2000, from "
           "pages/tables.htm"},
          {"month and year", Radio("MonthYearRadioButton"),
           "*Harbor Tide Tables*. Harbor Institute of Science. Jan. 1999 <pages/tables.htm>.",
           "Harbor Institute of Science. (1999, January). *Harbor tide tables.* Retrieved March 3, 2000, from "
           "pages/tables.htm"},
          {"year only", Radio("YearOnlyRadioButton"),
           "*Harbor Tide Tables*. Harbor Institute of Science. 1999 <pages/tables.htm>.",
           "Harbor Institute of Science. (1999). *Harbor tide tables.* Retrieved March 3, 2000, from pages/tables.htm"},
          {"question", Texts({{"TitleEdit", "who owns the tides?"}}),
           "*Who Owns the Tides?* Harbor Institute of Science. 12 Jan. 1999 <pages/tables.htm>.",
           "Harbor Institute of Science. (1999, January 12). *Who owns the tides?* Retrieved March 3, 2000, from "
           "pages/tables.htm"},
          // The publisher begins with the title's text: the title itself is set in italics.
          {"title inside publisher", Texts({{"TitleEdit", "tides"}, {"PublisherEdit", "tides. inc"}}),
           "*Tides*. Tides. Inc. 12 Jan. 1999 <pages/tables.htm>.",
           "Tides. Inc. (1999, January 12). *Tides.* Retrieved March 3, 2000, from pages/tables.htm"},
          {"retrieval date", Retrieved(kLaterRetrieval),
           "*Harbor Tide Tables*. Harbor Institute of Science. 12 Jan. 1999 <pages/tables.htm>.",
           "Harbor Institute of Science. (1999, January 12). *Harbor tide tables.* Retrieved September 9, 2001, from "
           "pages/tables.htm"},
      });
}

TEST(Newsgroup, Entries) {
  const FormInput example = Example({{"SubjectEdit", "where to find tide data"},
                                     {"GroupNameEdit", "coastal research list"},
                                     {"MessageNumberEdit", "42"},
                                     {"URLEdit", "pages/post42.htm"}},
                                    kCarver);
  ExpectEntries(
      NewsgroupForm(), example,
      {
          // The list name is cited by MLA only; neither entry has italics.
          {"example", None(),
           "Carver, Ellen M. \"Where to Find Tide Data.\" Online posting. Coastal Research List. 12 Jan. 1999 "
           "<pages/post42.htm>.",
           "Carver, E. M. (1999, January 12). Where to find tide data. [Msg 42]. Message posted to pages/post42.htm"},
          {"newsgroup: no list name", Texts({{"GroupNameEdit", ""}}),
           "Carver, Ellen M. \"Where to Find Tide Data.\" Online posting. 12 Jan. 1999 <pages/post42.htm>.",
           "Carver, E. M. (1999, January 12). Where to find tide data. [Msg 42]. Message posted to pages/post42.htm"},
          {"no authors", Authors({}),
           "\"Where to Find Tide Data.\" Online posting. Coastal Research List. 12 Jan. 1999 <pages/post42.htm>.",
           "Where to find tide data. (1999, January 12). [Msg 42]. Message posted to pages/post42.htm"},
          {"month and year", Radio("MonthYearRadioButton"),
           "Carver, Ellen M. \"Where to Find Tide Data.\" Online posting. Coastal Research List. Jan. 1999 "
           "<pages/post42.htm>.",
           "Carver, E. M. (1999, January). Where to find tide data. [Msg 42]. Message posted to pages/post42.htm"},
          {"year only", Radio("YearOnlyRadioButton"),
           "Carver, Ellen M. \"Where to Find Tide Data.\" Online posting. Coastal Research List. 1999 "
           "<pages/post42.htm>.",
           "Carver, E. M. (1999). Where to find tide data. [Msg 42]. Message posted to pages/post42.htm"},
          {"question, list ends with a period",
           Texts({{"SubjectEdit", "moving to Oklahoma?"}, {"GroupNameEdit", "coastal list."}}),
           "Carver, Ellen M. \"Moving to Oklahoma?\" Online posting. Coastal List. 12 Jan. 1999 <pages/post42.htm>.",
           "Carver, E. M. (1999, January 12). Moving to Oklahoma? [Msg 42]. Message posted to pages/post42.htm"},
          // The retrieval date is in neither entry.
          {"retrieval date", Retrieved(kLaterRetrieval),
           "Carver, Ellen M. \"Where to Find Tide Data.\" Online posting. Coastal Research List. 12 Jan. 1999 "
           "<pages/post42.htm>.",
           "Carver, E. M. (1999, January 12). Where to find tide data. [Msg 42]. Message posted to pages/post42.htm"},
          {"blank message number", Texts({{"MessageNumberEdit", ""}}),
           "Carver, Ellen M. \"Where to Find Tide Data.\" Online posting. Coastal Research List. 12 Jan. 1999 "
           "<pages/post42.htm>.",
           "Carver, E. M. (1999, January 12). Where to find tide data. [Msg ]. Message posted to pages/post42.htm"},
      });
}

TEST(Newsgroup, MessageNumberStartsAtOne) {
  const FormInput input = Example({{"SubjectEdit", "tides"}, {"URLEdit", "news:sci.tides"}}, {});
  EXPECT_EQ(MarkedEntry(NewsgroupForm(), input, CitationStyle::APA),
            "Tides. (1999, January 12). [Msg 1]. Message posted to news:sci.tides");
}

// Each description: required fields in the order the required-field check walks them, every field
// and radio button created exactly once, every field labelled, a hint wherever the form has one.
TEST(WebForms, Descriptions) {
  static const struct {
    const FormDescription& form;
    std::vector<std::string_view> required;
  } cases[] = {
      {WebArticleForm(), {"URLEdit", "DateEdit", "TitleEdit", "ReferenceEdit", "DateRetrievedEdit"}},
      {PersonalSiteForm(), {"URLEdit", "DateEdit", "DateRetrievedEdit"}},
      {ProfessionalSiteForm(), {"URLEdit", "DateEdit", "TitleEdit", "PublisherEdit", "DateRetrievedEdit"}},
      {NewsgroupForm(), {"URLEdit", "DateEdit", "SubjectEdit", "DateRetrievedEdit", "MessageNumberEdit"}},
  };
  ASSERT_EQ(WebForms().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const FormDescription& form = cases[i].form;
    SCOPED_TRACE(form.className);
    EXPECT_EQ(WebForms()[i], &form);
    EXPECT_EQ(form.deliverable, Deliverable::CitaraWeb);
    std::vector<std::string_view> required, created;
    for (std::string_view name : form.creationOrder) {
      for (const FieldDescription& f : form.fields) {
        if (f.name == name) {
          created.push_back(name);
          if (f.required) required.push_back(name);
        }
      }
      for (const RadioDescription& r : form.radios) {
        if (r.name == name) created.push_back(name);
      }
    }
    EXPECT_EQ(required, cases[i].required);
    EXPECT_EQ(created.size(), form.creationOrder.size());
    EXPECT_EQ(form.creationOrder.size(), form.fields.size() + form.radios.size());
    for (const FieldDescription& f : form.fields) {
      EXPECT_FALSE(f.labelName.empty()) << f.name;
      EXPECT_TRUE(f.caption.ends_with(":")) << f.name;
      EXPECT_EQ(f.hint.empty(), f.name == "MessageNumberEdit") << f.name;  // the only field without one
    }
  }
}

// The title advice is assembled from shared pieces; it must read exactly as the form shows it.
TEST(WebForms, TitleHintReadsWhole) {
  EXPECT_EQ(WebArticleForm().fields[0].hint,
            "The title of the article\r\rThe MLA and APA formats have different  \rrules regarding "
            "capitalization.  To ensure \rcompatibility with both formats, enter the title\rin all lowercase "
            "letters with the exception of \rproper names.  Citara will automatically \rcapitalize the words as "
            "necessary.  Some \rexamples of properly entered titles are:\r\ra guide to writing research "
            "papers\rQuillora ranks in top 5% of software|");
}

}  // namespace
}  // namespace citara
