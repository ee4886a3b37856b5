// The list of works cited: a table of sources sorted by each style's rule, with "---. " and the
// year letters; the folding the comparison uses (checked natively against ICU's root collation);
// and the four writers and their escapers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "collection/csl_json.h"
#include "core/citation.h"
#include "list/collation.h"
#include "list/list_writers.h"
#include "list/works_cited.h"
#include "widgets/dates.h"

#ifdef CITARA_HAVE_ICU
#include <unicode/coll.h>
#include <unicode/unistr.h>

#include <memory>
#endif

namespace citara {
namespace {

const OleDate kNow = OleFromCivil({2024, 3, 15});

// Same author with several works (and with another author), same authors and year, a corporate
// author, no author with a leading article, accented, Polish, particle and Cyrillic names, and a
// book whose place and publisher are blank.
const char* const kSources[] = {
    R"({"id": "smith-biography", "type": "book", "title": "the biography of Benjamin Franklin", "author": [{"family": "Smith", "given": "John Q"}], "publisher": "Harbor Books", "publisher-place": "New York", "issued": {"date-parts": [[1998]]}})",
    R"({"id": "smith-life", "type": "book", "title": "a life of Franklin", "author": [{"family": "Smith", "given": "John Q"}], "publisher": "Harbor Books", "publisher-place": "Boston", "issued": {"date-parts": [[1998]]}})",
    R"({"id": "smith-doe", "type": "book", "title": "the almanac", "author": [{"family": "Smith", "given": "John Q"}, {"family": "Doe", "given": "Jane"}], "publisher": "Harbor Books", "publisher-place": "Boston", "issued": {"date-parts": [[1995]]}})",
    R"({"id": "smith-tides", "type": "article-journal", "title": "early tides", "container-title": "journal of coastal studies", "author": [{"family": "Smith", "given": "John Q"}], "volume": "3", "issue": "1", "page": "1-9", "issued": {"date-parts": [[1990]]}})",
    R"({"id": "institute", "type": "book", "title": "ocean tides", "author": [{"literal": "Harbor Institute"}], "publisher": "Harbor Press", "publisher-place": "Boston", "issued": {"date-parts": [[1999]]}})",
    R"({"id": "storm", "type": "article-newspaper", "title": "the storm hits the coast", "container-title": "harbor daily news", "page": "A1", "issued": {"date-parts": [[1997, 1, 12]]}})",
    R"({"id": "aberg-lars", "type": "book", "title": "fjords", "author": [{"family": "Åberg", "given": "Lars"}], "publisher": "Norstedts", "publisher-place": "Stockholm", "issued": {"date-parts": [[2001]]}})",
    R"({"id": "aberg-anna", "type": "book", "title": "islands", "author": [{"family": "Aberg", "given": "Anna"}], "publisher": "Norstedts", "publisher-place": "Stockholm", "issued": {"date-parts": [[2003]]}})",
    R"({"id": "lukasiewicz", "type": "book", "title": "elementy logiki matematycznej", "author": [{"family": "Łukasiewicz", "given": "Jan"}], "publisher": "PWN", "publisher-place": "Warszawa", "issued": {"date-parts": [[1929]]}})",
    R"({"id": "lukas", "type": "book", "title": "the harbor", "author": [{"family": "Lukas", "given": "Peter"}], "publisher": "Harbor Books", "publisher-place": "Boston", "issued": {"date-parts": [[2004]]}})",
    R"({"id": "van-der-berg", "type": "book", "title": "the dunes", "author": [{"family": "Berg", "non-dropping-particle": "van der", "given": "Pieter"}], "publisher": "Querido", "publisher-place": "Amsterdam", "issued": {"date-parts": [[1985]]}})",
    R"({"id": "tolstoy", "type": "book", "title": "война и мир", "author": [{"family": "Толстой", "given": "Лев"}], "publisher": "Русский вестник", "publisher-place": "Москва", "issued": {"date-parts": [[1869]]}})",
    R"({"id": "young-blank", "type": "book", "title": "notes on the coast", "author": [{"family": "Young", "given": "Ann"}], "issued": {"date-parts": [[2010]]}})",
};

// The marked entries (italic part between asterisks) of the list of `sources` in `style`.
std::vector<std::string> MarkedList(const char* style, const std::vector<std::string>& sources) {
  WorksCitedBuilder builder(*FindListStyle(style));
  for (const std::string& item : sources) builder.Add(ReadCslItem(item, kNow).values);
  const WorksCited list = std::move(builder).Finish();
  std::vector<std::string> marked;
  for (const Citation& entry : list.entries) marked.push_back(CitationToMarked(entry));
  return marked;
}

TEST(WorksCited, EachStyleSortsTheTableOfSourcesByItsRule) {
  static const struct {
    const char* style;
    const char* heading;
    std::vector<std::string> expected;
  } cases[] = {
      {"mla", "Works Cited",
       {
           "Aberg, Anna. *Islands*. Stockholm: Norstedts, 2003. ",  // beside Åberg, by the first name
           "Åberg, Lars. *Fjords*. Stockholm: Norstedts, 2001. ",
           "Harbor Institute. *Ocean Tides*. Boston: Harbor Press, 1999. ",
           "Lukas, Peter. *The Harbor*. Boston: Harbor Books, 2004. ",
           "Łukasiewicz, Jan. *Elementy Logiki Matematycznej*. Warszawa: PWN, 1929. ",
           // Smith alone, by title without its article, the later works with three hyphens ...
           "Smith, John Q. *The Biography of Benjamin Franklin*. New York: Harbor Books, 1998. ",
           "---. \"Early Tides.\" *Journal of Coastal Studies* 3.1 (1990): 1-9.",
           "---. *A Life of Franklin*. Boston: Harbor Books, 1998. ",
           // ... before Smith with another author, whose names are written out.
           "Smith, John Q., and Jane Doe. *The Almanac*. Boston: Harbor Books, 1995. ",
           "\"The Storm Hits the Coast.\" *Harbor Daily News* 12 Jan. 1997: A1.",  // under S
           "van der Berg, Pieter. *The Dunes*. Amsterdam: Querido, 1985. ",       // under v
           "Young, Ann. *Notes on the Coast*. : , 2010. ",                         // blank fields, listed
           "Толстой, Лев. *Война И Мир*. Москва: Русский вестник, 1869. ",          // Cyrillic after Latin
       }},
      {"apa", "References",
       {
           "Aberg, A. (2003). *Islands.* Stockholm: Norstedts.",
           "Åberg, L. (2001). *Fjords.* Stockholm: Norstedts.",
           "Harbor Institute. (1999). *Ocean tides.* Boston: Harbor Press.",
           "Lukas, P. (2004). *The harbor.* Boston: Harbor Books.",
           "Łukasiewicz, J. (1929). *Elementy logiki matematycznej.* Warszawa: PWN.",
           // Smith alone by year, the two of 1998 lettered in the order of their titles.
           "Smith, J. Q. (1990). Early tides. *Journal of Coastal Studies, 3*(1), 1-9.",
           "Smith, J. Q. (1998a). *The biography of Benjamin Franklin.* New York: Harbor Books.",
           "Smith, J. Q. (1998b). *A life of Franklin.* Boston: Harbor Books.",
           "Smith, J. Q., & Doe, J. (1995). *The almanac.* Boston: Harbor Books.",
           "The storm hits the coast. (1997, January 12). *Harbor Daily News,* p. A1.",
           "van der Berg, P. (1985). *The dunes.* Amsterdam: Querido.",
           "Young, A. (2010). *Notes on the coast.* : .",
           "Толстой, Л. (1869). *Война и мир.* Москва: Русский вестник.",
       }},
  };
  std::vector<std::string> sources(std::begin(kSources), std::end(kSources));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(FindListStyle(c.style)->heading, c.heading);
    EXPECT_EQ(MarkedList(c.style, sources), c.expected);
    // The order depends on the sources alone, not on the order they came in.
    std::reverse(sources.begin(), sources.end());
    EXPECT_EQ(MarkedList(c.style, sources), c.expected);
    std::rotate(sources.begin(), sources.begin() + 5, sources.end());
    EXPECT_EQ(MarkedList(c.style, sources), c.expected);
  }
}

std::string Book(const char* last, const char* first, const char* title, int year) {
  return std::string(R"({"type": "book", "publisher": "P", "publisher-place": "Q", "author": [{"family": ")") + last +
         R"(", "given": ")" + first + R"("}], "title": ")" + title + R"(", "issued": {"date-parts": [[)" +
         std::to_string(year) + "]]}}";
}

TEST(WorksCited, HyphensAndYearLettersGoOnlyToExactlyTheSameAuthors) {
  static const struct {
    const char* name;
    const char* style;
    std::vector<std::string> sources;
    std::vector<std::string> expected;
  } cases[] = {
      {"three works of one year get a, b, c by title", "apa",
       {Book("Carver", "Ellen", "tides", 1997), Book("Carver", "Ellen", "an atlas", 1997), Book("Carver", "Ellen", "maps", 1997)},
       {"Carver, E. (1997a). *An atlas.* Q: P.", "Carver, E. (1997b). *Maps.* Q: P.", "Carver, E. (1997c). *Tides.* Q: P."}},
      {"another first name is another author: no letters", "apa",
       {Book("Carver", "Ellen", "tides", 1997), Book("Carver", "Anna", "maps", 1997)},
       {"Carver, A. (1997). *Maps.* Q: P.", "Carver, E. (1997). *Tides.* Q: P."}},
      {"the same initials but other first names are other authors, in the order of their names", "apa",
       {Book("Carver", "Emma", "maps", 1997), Book("Carver", "Ellen", "tides", 1997)},
       {"Carver, E. (1997). *Tides.* Q: P.", "Carver, E. (1997). *Maps.* Q: P."}},
      {"accents make another author, kept apart from the unaccented one", "mla",
       {Book("Aberg", "Lars", "b", 2000), Book("Åberg", "Lars", "a", 2000), Book("Aberg", "Lars", "c", 2000)},
       {"Aberg, Lars. *B*. Q: P, 2000. ", "---. *C*. Q: P, 2000. ", "Åberg, Lars. *A*. Q: P, 2000. "}},
      {"case folded: de Vries under d beside Dean", "mla",
       {Book("Devlin", "Ann", "x", 2000), Book("de Vries", "Ann", "x", 2000), Book("Dean", "Ann", "x", 2000)},
       {"de Vries, Ann. *X*. Q: P, 2000. ", "Dean, Ann. *X*. Q: P, 2000. ", "Devlin, Ann. *X*. Q: P, 2000. "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MarkedList(c.style, c.sources), c.expected);
  }
}

TEST(WorksCited, YearLettersGoOnPastZ) {
  static const struct {
    std::size_t n;
    const char* letters;
  } cases[] = {{0, "a"}, {1, "b"}, {25, "z"}, {26, "aa"}, {27, "ab"}, {51, "az"}, {52, "ba"}, {701, "zz"}, {702, "aaa"}};
  for (const auto& c : cases) EXPECT_EQ(YearLetters(c.n), c.letters) << c.n;
}

TEST(WorksCited, LeadingArticlesAndPunctuationAreSkipped) {
  static const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"The Storm", "Storm"},
      {"\"The Storm.\" Daily", "Storm.\" Daily"},
      {"“A Tale.”", "Tale.”"},
      {"An Atlas", "Atlas"},
      {"the storm", "storm"},
      {"Theory", "Theory"},    // a word that begins with an article is no article
      {"Anthem", "Anthem"},
      {"The", "The"},          // an article alone stays
      {"1984", "1984"},
      {"¿Qué pasa?", "Qué pasa?"},
  };
  for (const auto& c : cases) EXPECT_EQ(SkipLeadingArticle(c.text), c.expected) << c.text;
}

TEST(SortFold, CaseAndAccentsFoldMarksAndFormatCharactersVanish) {
  static const struct {
    const char* text;
    const char* folded;
  } cases[] = {
      {"Åberg", "aberg"},
      {"A\u030Aberg", "aberg"},    // a combining ring
      {"Łukasiewicz", "lukasiewicz"},
      {"Ødegaard", "odegaard"},
      {"Đurić", "duric"},
      {"Straße", "strasse"},
      {"Æsop", "aesop"},
      {"Œuvres", "oeuvres"},
      {"ﬁne", "fine"},             // a compatibility ligature
      {"Ｔｏｋｙｏ", "tokyo"},     // fullwidth
      {"ÉMILE", "emile"},
      {"Ёлкин", "елкин"},
      {"ΆΘΗΝΑ", "αθηνα"},
      {"soft\u00ADhyphen", "softhyphen"},  // a format character
      {"van der Berg", "van der berg"},    // spaces stay: "van der" before "vander"
      {"O'Brien", "o'brien"},
      {"魯迅", "魯迅"},
      {"tab\there", "tabhere"},  // controls vanish
  };
  for (const auto& c : cases) EXPECT_EQ(SortFold(c.text), c.folded) << c.text;
  EXPECT_EQ(SortFoldUnicodeVersion(), "15.0.0");
}

#ifdef CITARA_HAVE_ICU
// The names in the order a list sorts them (folded, then exact) and in the order of ICU's root
// collation: the same, so the folding gives what readers expect of a collation library.
TEST(SortFold, OrdersNamesAsIcuRootCollationDoes) {
  std::vector<std::string> names = {
      "Aberg", "Åberg", "Abbott", "Lukas", "Łukasiewicz", "Lukasz", "Lutz", "Müller", "Mueller", "Muller", "Mulder",
      "van der Berg", "Vanderbilt", "van Gogh", "O'Brien", "Obrien", "Oberst", "Ødegaard", "Oden", "Straße", "Strasse",
      "Strauss", "Čapek", "Capek", "Capra", "Émile", "Emil", "Zola", "Толстой", "Ёлкин", "Елкин", "Жуков", "Ἀθῆναι",
      "Αθήνα", "Đurić", "Duric", "Dvořák", "Dvorak"};
  std::vector<std::string> ours = names;
  std::stable_sort(ours.begin(), ours.end(), [](const std::string& a, const std::string& b) {
    return CompareForSort(a, b) < 0;
  });
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  ASSERT_TRUE(U_SUCCESS(status));
  std::vector<std::string> icu = names;
  std::stable_sort(icu.begin(), icu.end(), [&](const std::string& a, const std::string& b) {
    UErrorCode e = U_ZERO_ERROR;
    return collator->compare(icu::UnicodeString::fromUTF8(a), icu::UnicodeString::fromUTF8(b), e) == UCOL_LESS;
  });
  EXPECT_EQ(ours, icu);
  for (std::size_t i = 0; i < ours.size(); ++i) EXPECT_EQ(ours[i], icu[i]) << i;
}
#endif

WorksCited TwoEntries() {
  return {"Works Cited",
          {FindItalicRun("Carver, Ellen. A <Tale> & \"Co\". Boston: X, 1997. ", "A <Tale> & \"Co\""),
           FindItalicRun("---. *Stars* 1-2 [draft] _x_ `y` ... -- O'Neil $5 @me #1 ~z^. ", "")}};
}

TEST(ListWriters, RtfHasTheCentredHeadingAndHangingDoubleSpacedEntries) {
  const std::string rtf = WriteWorksCited(*FindListWriter("rtf"), TwoEntries());
  EXPECT_TRUE(rtf.starts_with(RtfDocumentStart()));
  EXPECT_NE(rtf.find("\\pard\\qc\\sl480\\slmult1\\rtlch\\fcs1\\af0\\afs16\\ltrch\\fcs0\\f0\\fs16 Works Cited\\par\r\n"),
            std::string::npos);
  EXPECT_NE(rtf.find("\\pard\\fi-720\\li720\\sl480\\slmult1\\rtlch\\fcs1\\af0\\afs16\\ltrch\\fcs0\\f0\\fs16 Carver, Ellen. "
                     "\\rtlch\\fcs1\\ai\\ltrch\\fcs0\\i A <Tale> & \"Co\"\\rtlch\\fcs1\\ai0\\ltrch\\fcs0\\i0 . Boston"),
            std::string::npos);
  EXPECT_TRUE(rtf.ends_with(RtfDocumentEnd()));
}

TEST(ListWriters, HtmlIsAStandalonePageWithEveryTextEscaped) {
  const std::string html = WriteWorksCited(*FindListWriter("html"), TwoEntries());
  EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Works Cited</title>"));
  EXPECT_NE(html.find("text-indent: -0.5in"), std::string::npos);
  EXPECT_NE(html.find("line-height: 2"), std::string::npos);
  EXPECT_NE(html.find("<h1>Works Cited</h1>\n"), std::string::npos);
  EXPECT_NE(html.find("<p class=\"entry\">Carver, Ellen. <i>A &lt;Tale&gt; &amp; &quot;Co&quot;</i>. Boston: X, 1997. </p>\n"),
            std::string::npos);
  EXPECT_NE(html.find("O&#39;Neil"), std::string::npos);
  EXPECT_TRUE(html.ends_with("</body>\n</html>\n"));
}

TEST(ListWriters, MarkdownEscapesWhatAReaderWouldTakeForMarkup) {
  static const struct {
    const char* text;
    bool paragraphStart;
    const char* expected;
  } cases[] = {
      {"*Stars* _x_ `y`", false, "\\*Stars\\* \\_x\\_ \\`y\\`"},
      {"[draft] <b> & $5 @me #1 ~z^ | !", false, "\\[draft\\] \\<b\\> \\& \\$5 \\@me \\#1 \\~z\\^ \\| \\!"},
      {"---. x -- y - z 1-2", true, "\\-\\-\\-\\. x \\-\\- y - z 1-2"},
      {"O'Neil \"Co\"", false, "O\\'Neil \\\"Co\\\""},  // no smart quotes
      {"wait... so", false, "wait\\.\\.\\. so"},
      {"1998.A year", true, "1998\\.A year"},            // not an ordered list
      {"1998) A year", true, "1998\\) A year"},
      {"1998.A year", false, "1998.A year"},
      {"12 Jan. 1997, p. A1", false, "12 Jan\\. 1997, p\\. A1"},  // no abbreviation's unbreakable space
      {"- dash", true, "\\- dash"},                      // not a bullet
      {"+ plus", true, "\\+ plus"},
      {"back\\slash {x}", false, "back\\\\slash \\{x\\}"},
      {"two\nlines\tand tab", false, "two lines and tab"},
      {"Smith, J.(1998). Title: sub; 50% = ok? a/b", true, "Smith, J.(1998)\\. Title: sub; 50% = ok? a/b"},
  };
  for (const auto& c : cases) {
    std::string out;
    AppendMarkdownEscaped(out, c.text, c.paragraphStart);
    EXPECT_EQ(out, c.expected) << c.text;
  }
  EXPECT_EQ(WriteWorksCited(*FindListWriter("markdown"), TwoEntries()),
            "# Works Cited\n\n"
            "Carver, Ellen\\. *A \\<Tale\\> \\& \\\"Co\\\"*\\. Boston: X, 1997.\n\n"
            "\\-\\-\\-\\. \\*Stars\\* 1-2 \\[draft\\] \\_x\\_ \\`y\\` \\.\\.\\. \\-\\- O\\'Neil \\$5 \\@me \\#1 \\~z\\^.\n\n");
}

TEST(ListWriters, TextIsTheHeadingThenOneLinePerEntry) {
  WorksCited list = TwoEntries();
  list.entries[1].text = "Line\r\nbreak\tand tab. ";
  EXPECT_EQ(WriteWorksCited(*FindListWriter("text"), list),
            "Works Cited\n\nCarver, Ellen. A <Tale> & \"Co\". Boston: X, 1997. \n\nLine  break and tab. \n\n");
}

TEST(ListStyles, NamesCompareWithoutCaseAndUnknownOnesAreNone) {
  EXPECT_EQ(FindListStyle("MLA"), &ListStyles()[0]);
  EXPECT_EQ(FindListStyle("Apa"), &ListStyles()[1]);
  EXPECT_EQ(FindListStyle("chicago"), nullptr);
  EXPECT_EQ(FindListWriter("Markdown")->name, "markdown");
  EXPECT_EQ(FindListWriter("docx"), nullptr);
}

}  // namespace
}  // namespace citara
