// CSL-JSON in and out: items as reference managers export them become the forms, entries and
// warnings a user expects; Citara's own items carry what CSL has no variable for.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "collection/csl_json.h"
#include "collection/json_tree.h"
#include "collection/csl_mapping.h"
#include "collection/forms.h"
#include "core/citation.h"
#include "core/saved_data.h"
#include "core/source_values.h"
#include "print/print_forms.h"
#include "web/web_forms.h"

namespace citara {
namespace {

const OleDate kNow = OleFromCivil({2024, 3, 15});

// Items as reference managers write them: every type with a form of its own and several without,
// literal names, particles and suffixes, string date parts, raw and literal dates, variables
// without a place, a number as id, another tool's custom data, Citara's own control names, a
// month that does not exist and a missing type.
TEST(CslJson, ReferenceManagerItemsBecomeTheirFormsEntriesAndWarnings) {
  static const struct {
    const char* item;
    const char* form;
    const char* mla;  // marked: the italic part between asterisks
    const char* apa;
    std::vector<std::string> warnings;
  } cases[] = {
      {R"({"id": "zotero-book", "type": "book", "title": "The lighthouse keepers", "author": [{"family": "Carver", "given": "Ellen M."}, {"family": "Doe", "given": "Jane"}], "editor": [{"family": "Brown", "given": "Ann"}], "publisher": "Harbor Press", "publisher-place": "Boston", "issued": {"date-parts": [["1997", "1", "12"]]}, "ISBN": "978-0-00-000000-0", "edition": "3", "number-of-pages": "320"})",
       "Book",
       "Carver, Ellen M., and Jane Doe. *The Lighthouse Keepers*. Ed. Ann Brown. 3rd ed. Boston: Harbor Press, 1997. ",
       "Carver, E. M., & Doe, J. (1997). *The lighthouse keepers* (3rd ed.). Boston: Harbor Press.",
       {"\"issued\": only its year has a place in the Book form", "\"ISBN\" has no place in the Book form", "\"number-of-pages\" has no place in the Book form"}},
      {R"({"id": "chapter", "type": "chapter", "title": "ocean tides", "container-title": "the book of the sea", "author": [{"literal": "Harbor Institute"}], "publisher": "Harbor Press", "issued": {"raw": "1999-05"}, "page": "23-25"})",
       "Other",
       "Harbor Institute. *Ocean Tides*. Harbor Press, May 1999. 23-25. ",
       "Harbor Institute. (1999, May). *Ocean tides* (pp. 23-25). Harbor Press. ",
       {"the type \"chapter\" has no form of its own; read as Other", "\"container-title\" has no place in the Other form"}},
      {R"({"id": "article", "type": "article-journal", "title": "tide tables for beginners", "container-title": "journal of coastal science", "author": [{"family": "Gogh", "non-dropping-particle": "van", "given": "Vincent"}, {"family": "King", "given": "Martin L.", "suffix": "Jr."}], "volume": 12, "issue": "3", "page": "101-120", "issued": {"date-parts": [[2001, 3]]}, "DOI": "10.1000/xyz123", "URL": "https://doi.org/10.1000/xyz123"})",
       "Journal",
       "van Gogh, Vincent, and Martin L. King, Jr. \"Tide Tables for Beginners.\" *Journal of Coastal Science* 12.3 (2001): 101-120.",
       "van Gogh, V., & King, Jr., M. L. (2001). Tide tables for beginners. *Journal of Coastal Science, 12*(3), 101-120.",
       {"\"issued\": only its year has a place in the Journal form", "\"URL\" has no place in the Journal form"}},
      {R"({"id": "magazine", "type": "article-magazine", "title": "interest rates on the rise", "container-title": "harbor monthly", "volume": "7", "page": "23-25", "issued": {"raw": "1997-01-12"}, "author": [{"family": "Carver", "given": "Ellen"}]})",
       "Magazine",
       "Carver, Ellen. \"Interest Rates on the Rise.\" *Harbor Monthly* 12 Jan. 1997. 23-25.",
       "Carver, E. (1997, January 12). Interest rates on the rise. *Harbor Monthly, 7,* 23-25.",
       {}},
      {R"({"id": "news", "type": "article-newspaper", "title": "storm hits the coast", "container-title": "harbor daily news", "section": "A1", "issued": {"literal": "January 12, 1997"}})",
       "Newspaper",
       "\"Storm Hits the Coast.\" *Harbor Daily News* 12 Jan. 1997: A1.",
       "Storm hits the coast. (1997, January 12). *Harbor Daily News,* p. A1.",
       {}},
      {R"({"id": "web", "type": "webpage", "title": "the rising tide", "container-title": "coastal science online", "URL": "http://www.example.com/tides.html", "issued": {"date-parts": [[2000]]}, "accessed": {"date-parts": [[2001, 3, 3]]}, "author": [{"family": "Carver", "given": "Ellen", "dropping-particle": "de"}]})",
       "WebArticle",
       "de Carver, Ellen. \"The Rising Tide.\" *Coastal Science Online*. 2000 <http://www.example.com/tides.html>.",
       "de Carver, E. (2000). The rising tide. *Coastal science online.* Retrieved March 3, 2001, from http://www.example.com/tides.html",
       {}},
      {R"({"id": "post", "type": "post", "title": "where to find tide data", "container-title": "coastal research list", "number": "42", "URL": "news:sci.example", "issued": {"date-parts": [[1999, 1, 12]]}, "accessed": {"date-parts": [[2000, 3]]}, "author": [{"family": "Carver", "given": "Ellen"}]})",
       "Newsgroup",
       "Carver, Ellen. \"Where to Find Tide Data.\" Online posting. Coastal Research List. 12 Jan. 1999 <news:sci.example>.",
       "Carver, E. (1999, January 12). Where to find tide data. [Msg 42]. Message posted to news:sci.example",
       {"\"accessed\" gives no day; the 1st is taken"}},
      {R"({"id": "thesis", "type": "thesis", "title": "waves and shores", "publisher": "Harbor University", "genre": "PhD thesis", "issued": {"date-parts": [[2005]]}, "author": [{"family": "Roe", "given": "Richard"}]})",
       "Other",
       "Roe, Richard. *Waves and Shores*. Harbor University, 2005. ",
       "Roe, R. (2005). *Waves and shores.* Harbor University. ",
       {"the type \"thesis\" has no form of its own; read as Other", "\"genre\" has no place in the Other form"}},
      {R"({"id": "no-type", "title": "a pamphlet", "issued": {"date-parts": [[1990, 6, 1]]}})",
       "Other",
       "*A Pamphlet*. 1 June 1990. ",
       "*A pamphlet.* (1990, June 1). ",
       {"the item has no \"type\"; read as Other"}},
      {R"({"id": 77, "type": "entry-encyclopedia", "title": "ocean tides", "container-title": "new harbor encyclopedia", "volume": "12", "page": "233-235", "publisher": "Harbor Press", "publisher-place": "Boston", "issued": {"literal": "1997"}, "foo": 1, "custom": {"zotero-key": "ABC"}})",
       "Encyclopedia",
       "\"Ocean Tides.\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
       "Ocean tides. (1997). In *New harbor encyclopedia* (Vol. 12, pp. 233-235). Boston: Harbor Press.",
       {"custom.zotero-key has no place in the form; ignored", "\"foo\" is not a CSL variable; ignored"}},
      {R"({"id": "home", "type": "webpage", "URL": "http://www.example.com/~carver/", "issued": {"date-parts": [[1999, 1]]}, "accessed": {"date-parts": [[2000, 3, 3]]}, "author": [{"family": "Carver", "given": "Ellen M."}], "custom": {"citara": {"control": "PersonalSite"}}})",
       "PersonalSite",
       "Carver, Ellen M. Home page. Jan. 1999 <http://www.example.com/~carver/>.",
       "Carver, E. M. (1999, January). Home page. Retrieved March 3, 2000, from http://www.example.com/~carver/",
       {}},
      {R"({"id": "org", "type": "webpage", "title": "harbor tide tables", "publisher": "harbor institute of science", "URL": "pages/tables.htm", "author": [{"family": "Someone"}], "issued": {"date-parts": [[1999, 1, 12]]}, "accessed": {"date-parts": [[2000, 3, 3]]}, "custom": {"citara": {"control": "ProfessionalSite"}}})",
       "ProfessionalSite",
       "*Harbor Tide Tables*. Harbor Institute of Science. 12 Jan. 1999 <pages/tables.htm>.",
       "Harbor Institute of Science. (1999, January 12). *Harbor tide tables.* Retrieved March 3, 2000, from pages/tables.htm",
       {"\"author\" has no place in the ProfessionalSite form; ignored"}},
      {R"({"id": "report", "type": "report", "title": "annual report", "publisher": "Harbor Port Authority", "publisher-place": "Portland, ME", "collection-title": "reports of the port", "issued": {"date-parts": [[2010, 13]]}, "translator": [{"family": "X"}]})",
       "Other",
       "*Annual Report*. Reports of the Port. Portland, ME: Harbor Port Authority, 15 Mar. 2024. ",
       "Annual report. (2024, March 15). In *Reports of the port.* Portland, ME: Harbor Port Authority. ",
       {"the type \"report\" has no form of its own; read as Other", "\"issued\" has date-parts that are not a date; ignored", "\"translator\" has no place in the Other form; ignored"}},
      // A one-line field cannot hold a line break, nor can a saved-data line.
      {R"({"type": "webpage", "title": "harbor\r\ntide tables", "author": [{"family": "Carver\n", "given": "E"}],
          "custom": {"citara": {"control": "ProfessionalSite"}}, "publisher": "Harbor\u0000Institute", "URL": "x",
          "issued": {"date-parts": [[1999, 1, 12]]}, "accessed": {"date-parts": [[2000, 3, 3]]}})",
       "ProfessionalSite",
       "*Harbor  Tide Tables*. Harbor Institute. 12 Jan. 1999 <x>.",
       "Harbor Institute. (1999, January 12). *Harbor  tide tables.* Retrieved March 3, 2000, from x",
       {"\"title\" holds a line break or NUL, which a one-line field cannot; each became a space",
        "\"author\" has no place in the ProfessionalSite form; ignored",
        "\"publisher\" holds a line break or NUL, which a one-line field cannot; each became a space"}},
  };
  for (const auto& c : cases) {
    std::vector<CslImportedItem> read;
    ReadCslJson(c.item, kNow, [&](CslImportedItem& item) { read.push_back(std::move(item)); }, [](std::size_t, const std::string& m) {
      ADD_FAILURE() << m;
    });
    ASSERT_EQ(read.size(), 1u) << c.item;
    const SourceValues& values = read[0].values;
    EXPECT_EQ(values.Form().className, c.form) << c.item;
    EXPECT_EQ(CitationToMarked(values.Form().mla(values)), c.mla) << c.item;
    EXPECT_EQ(CitationToMarked(values.Form().apa(values)), c.apa) << c.item;
    EXPECT_EQ(read[0].warnings, c.warnings) << c.item;
  }
}

TEST(CslJson, ADocumentIsAnArrayOfItemsOrOneItem) {
  std::vector<std::string> ids;
  std::vector<std::size_t> bad;
  const auto collect = [&](const std::string& text) {
    ids.clear();
    bad.clear();
    ReadCslJson(text, kNow, [&](CslImportedItem& item) { ids.push_back(std::to_string(item.index) + ":" + item.id); },
                [&](std::size_t index, const std::string&) { bad.push_back(index); });
  };
  collect(R"([{"id": "a", "type": "book"}, 7, {"id": 12, "type": "post"}, [], {"type": "book"}])");
  EXPECT_EQ(ids, (std::vector<std::string>{"1:a", "3:12", "5:"}));
  EXPECT_EQ(bad, (std::vector<std::size_t>{2, 4}));
  collect(R"({"id": "only", "type": "webpage"})");
  EXPECT_EQ(ids, (std::vector<std::string>{"1:only"}));
  collect("[]");
  EXPECT_TRUE(ids.empty());
  for (const char* text : {"", "[", "{\"id\": }", "nul", "[{}]]", "\"text\"", "12", "[1e999]", "887.8888888888e898EE\""}) {
    EXPECT_THROW(collect(text), CslJsonError) << text;
  }
  EXPECT_THROW(ReadCslItem(R"({"volume": 1e999})", kNow), CslJsonError);
  // No text of UTF-16 surrogates (an escaped low surrogate without its pair, or its bytes), no
  // bytes that are not UTF-8, and no NUL byte, which no JSON text holds.
  for (std::string_view text : {std::string_view(R"([{"title": "a\udc00"}])"), std::string_view(R"({"\uDFFF": 1})"),
                                std::string_view("[{\"title\": \"\xED\xB0\x80\"}]"), std::string_view("[{\"title\": \"\xFF\"}]"),
                                std::string_view("[{\"title\": \"a\"}]\0[", 18)}) {
    EXPECT_THROW(collect(std::string(text)), CslJsonError) << text;
  }
  // Nesting as deep as JSON allows here, and deeper.
  const auto nested = [](std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
  EXPECT_NO_THROW(collect(nested(kMaxJsonDepth)));
  EXPECT_THROW(collect(nested(kMaxJsonDepth + 1)), CslJsonError);
  EXPECT_THROW(collect(nested(1000000)), CslJsonError);
  collect(R"([{"id": "\ud83c\udf0a \\udc00"}])");  // a pair, and a backslash before "udc00"
  EXPECT_EQ(ids, (std::vector<std::string>{"1:\U0001F30A \\udc00"}));
  // The text is read in one pass: the whole items before a fault are handed on, then it throws.
  EXPECT_THROW(collect(R"([{"id": "a", "type": "book"}, {"id": )"), CslJsonError);
  EXPECT_EQ(ids, (std::vector<std::string>{"1:a"}));
}

// Dates no calendar has, as fuzzing found them: each is refused with a warning (or, in a year
// field, kept as typed), and the item still goes out and comes back to the same values.
TEST(CslJson, DatesNoCalendarHasAreRefusedAndTheRoundTripHolds) {
  static const struct {
    const char* item;
    const char* saved;  // the line of the date's field in the saved data
    std::vector<std::string> warnings;
  } cases[] = {
      {R"({"type": "article-magazine", "issued": {"raw": "1997-15"}})", "Date of Publication:=March 15, 2024",
       {"\"issued\" \"1997-15\" cannot be read as a date; ignored"}},
      {R"({"type": "webpage", "issued": {"raw": "9999-15"}})", "Date Last Modified:=March 15, 2024",
       {"\"issued\" \"9999-15\" cannot be read as a date; ignored"}},
      {R"({"type": "article-magazine", "issued": {"raw": "1997-02-30"}})", "Date of Publication:=March 15, 2024",
       {"\"issued\" \"1997-02-30\" cannot be read as a date; ignored"}},
      {R"({"type": "article-magazine", "issued": {"literal": "30 February 1997"}})", "Date of Publication:=March 15, 2024",
       {"\"issued\" \"30 February 1997\" cannot be read as a date; ignored"}},
      {R"({"type": "article-magazine", "issued": {"raw": "1997-12-31"}})", "Date of Publication:=December 31, 1997", {}},
      {R"({"type": "article-journal", "issued": {"raw": "1997-15"}})", "Year:=1997-15", {}},
      {R"({"type": "article-journal", "issued": {"date-parts": [["123456"]]}})", "Year:=1998",
       {"\"issued\" has date-parts that are not a date; ignored"}},
      {R"({"type": "article-journal", "issued": {"date-parts": [[123456]]}})", "Year:=1998",
       {"\"issued\" has date-parts that are not a date; ignored"}},
      {R"({"type": "article-journal", "issued": {"date-parts": [["99999"]]}})", "Year:=99999", {}},
      {R"({"type": "entry-encyclopedia", "issued": {"literal": "19981997"}})", "Year:=19981997", {}},
      {R"({"type": "article-journal", "issued": {"date-parts": [["-44", "3", "15"]]}})", "Year:=-44",
       {"\"issued\": only its year has a place in the Journal form"}},
      {R"({"type": "article-magazine", "issued": {"date-parts": [[99999, 1, 31]]}})", "Date of Publication:=March 15, 2024",
       {"\"issued\" lies outside the years 100 to 9999 that a date field holds; ignored"}},
  };
  for (const auto& c : cases) {
    const CslImportedItem item = ReadCslItem(c.item, kNow);
    const std::string saved = SavedDataText(item.values);
    EXPECT_NE(saved.find(std::string(c.saved) + "\r\n"), std::string::npos) << c.item << "\n" << saved;
    EXPECT_EQ(item.warnings, c.warnings) << c.item;
    const std::string exported = CslItemJson(item.values, "x");
    const CslImportedItem back = ReadCslItem(exported, kNow);
    EXPECT_EQ(SavedDataText(back.values), saved) << exported;
    EXPECT_EQ(CslItemJson(back.values, "x"), exported);
  }
}

// A key given twice in an object counts once, with the value given last.
TEST(CslJson, AKeyGivenTwiceCountsWithItsLastValue) {
  const CslImportedItem item = ReadCslItem(R"({"type": "book", "title": "first", "type": "article-journal",
      "title": "second", "author": [{"family": "A", "family": "B"}], "DOI": "1", "DOI": "2"})", kNow);
  EXPECT_EQ(item.values.Form().className, "Journal");
  EXPECT_EQ(item.values.Text("TitleEdit"), "second");
  EXPECT_EQ(item.values.Authors(), (ContributorList{{"B", "", ""}}));
  EXPECT_EQ(item.values.CslVariables(), (std::vector<std::pair<std::string, std::string>>{{"DOI", "2"}}));
}

TEST(CslJson, CitarasOwnDataTravelsUnderCustomOnlyWhereCslHasNoPlace) {
  SourceValues book(BookForm(), kNow);
  book.SetText(*book.FieldIndex("TitleEdit"), "a tale");
  book.SetText(*book.FieldIndex("YearEdit"), "c. 1900");
  book.SetAuthors({{"Smith", "John", "Q"}, {"Doe", "Mary J", ""}, {"Roe", "Ann", ""}});
  const std::string item = CslItemJson(book, "b1");
  EXPECT_EQ(item, R"({
  "id": "b1",
  "type": "book",
  "author": [
    {
      "family": "Smith",
      "given": "John Q"
    },
    {
      "family": "Doe",
      "given": "Mary J"
    },
    {
      "family": "Roe",
      "given": "Ann"
    }
  ],
  "title": "a tale",
  "issued": {
    "literal": "c. 1900"
  },
  "custom": {
    "citara": {
      "control": "Book",
      "middle-initials": {
        "author": [
          "Q",
          "",
          ""
        ]
      }
    }
  }
})");
  // Without Citara's data a last one-letter word of a given name is the middle initial.
  const CslImportedItem plain = ReadCslItem(R"({"type": "book", "author": [{"family": "Doe", "given": "Mary J"},
      {"family": "Roe", "given": "Ann B."}, {"given": "Émile É."}, {"family": "Poe", "given": "E"}]})", kNow);
  EXPECT_EQ(plain.values.Authors(), (ContributorList{{"Doe", "Mary", "J"}, {"Roe", "Ann", "B"}, {"", "Émile", "É"}, {"Poe", "E", ""}}));
  // With it, the given names split as they were typed.
  EXPECT_EQ(ReadCslItem(item, kNow).values.Authors(), book.Authors());

  // A cited date keeps the detail of the form's choice; its exact day where the detail hides it.
  SourceValues magazine(MagazineForm(), kNow);
  magazine.SetDate(*magazine.FieldIndex("DateEdit"), OleFromCivil({1997, 1, 12}) + 0.25);
  magazine.SelectRadio(*magazine.RadioIndex("MonthOnlyRadioButton"));
  const std::string monthly = CslItemJson(magazine, "m");
  std::string compact = monthly;
  std::erase_if(compact, [](char c) { return c == ' ' || c == '\n'; });
  EXPECT_NE(compact.find(R"("issued":{"date-parts":[[1997,1]]})"), std::string::npos) << monthly;
  EXPECT_NE(compact.find(R"("date-format":"MonthOnly","dates":{"issued":35442.25})"), std::string::npos) << monthly;
  const CslImportedItem back = ReadCslItem(monthly, kNow);
  EXPECT_EQ(back.values.Date("DateEdit"), OleFromCivil({1997, 1, 12}) + 0.25);
  EXPECT_TRUE(back.values.Checked("MonthOnlyRadioButton"));
  EXPECT_EQ(SavedDataText(back.values), SavedDataText(magazine));
  // A reference manager that changed the date: its date counts, not Citara's older day.
  const std::string edited = monthly.substr(0, monthly.find("1997")) + "1998" + monthly.substr(monthly.find("1997") + 4);
  EXPECT_EQ(ReadCslItem(edited, kNow).values.Date("DateEdit"), OleFromCivil({1998, 1, 1}));
}

TEST(CslJson, VariablesWithoutAFieldAreCarriedForRulesThatReadThem) {
  const CslImportedItem item = ReadCslItem(R"({"type": "article-journal", "title": "t", "DOI": "10.1000/182",
      "number-of-pages": 12, "ISSN": "1234-5678"})", kNow);
  EXPECT_EQ(item.values.CslVariable("DOI"), "10.1000/182");
  EXPECT_EQ(item.values.CslVariable("number-of-pages"), "12");
  EXPECT_EQ(item.values.CslVariable("title"), "");
  const FormValues& asRulesSeeIt = item.values;
  EXPECT_EQ(asRulesSeeIt.CslVariable("ISSN"), "1234-5678");
  // The DOI, which the current editions' entries show, is carried without a warning; a variable
  // that no style reads is still named.
  EXPECT_EQ(item.warnings, (std::vector<std::string>{"\"number-of-pages\" has no place in the Journal form",
                                                      "\"ISSN\" has no place in the Journal form"}));
  // Exported again, they stay in the item.
  EXPECT_NE(CslItemJson(item.values, "j").find("\"DOI\": \"10.1000/182\""), std::string::npos);
}

TEST(CslJson, TheMappingNamesRealFieldsAndEveryFormOnce) {
  ASSERT_EQ(CslFormMappings().size(), AllForms().size());
  for (std::size_t i = 0; i < AllForms().size(); ++i) {
    const CslFormMapping& m = CslFormMappings()[i];
    EXPECT_EQ(&m.form(), AllForms()[i]);
    for (const CslField& f : m.fields) {
      const auto field = std::find_if(m.form().fields.begin(), m.form().fields.end(),
                                      [&](const FieldDescription& d) { return d.name == f.field; });
      EXPECT_NE(field, m.form().fields.end()) << m.form().className << " " << f.field;
      EXPECT_TRUE(IsCslVariable(f.variable)) << f.variable;
    }
    // Every field of the form has its variable.
    EXPECT_EQ(m.fields.size(), m.form().fields.size()) << m.form().className;
  }
  for (const CslTypeForm& t : CslTypeForms()) EXPECT_NE(FindForm(t.form), nullptr) << t.form;
}

}  // namespace
}  // namespace citara
