#include "core/contributors.h"

#include <gtest/gtest.h>

namespace citara {
namespace {

using enum CitationStyle;

TEST(FormatInvertedName, EveryCombinationOfParts) {
  static const struct {
    const char *last, *first, *middle, *mla, *apa;
  } cases[] = {
      {"Smith", "John", "Q", "Smith, John Q.", "Smith, J. Q."},
      {"Smith", "John", "", "Smith, John", "Smith, J."},
      {"Smith", "", "Q", "Smith, Q.", "Smith, Q."},
      {"Smith", "", "", "Smith", "Smith."},
      {"", "John", "Q", "John Q.", "John Q."},
      {"", "John", "", "John", "John"},
      {"", "", "Q", "Q.", "Q."},
      {"", "", "", "", ""},
      {"smith", "john", "", "smith, john", "smith, j."},  // case kept as typed
      {"Zola", "Émile", "", "Zola, Émile", "Zola, É."},    // the initial is one code point
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatInvertedName(c.last, c.first, c.middle, MLA), c.mla);
    EXPECT_EQ(FormatInvertedName(c.last, c.first, c.middle, APA), c.apa);
  }
}

TEST(FormatDirectName, EveryCombinationOfParts) {
  static const struct {
    const char *last, *first, *middle, *expected;
  } cases[] = {
      {"Doe", "Jane", "R", "Jane R. Doe"}, {"Doe", "Jane", "", "Jane Doe"}, {"Doe", "", "R", "R. Doe"},
      {"Doe", "", "", "Doe"},              {"", "Jane", "R", "Jane R."},   {"", "Jane", "", "Jane"},
      {"", "", "R", "R."},                 {"", "", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDirectName(c.last, c.first, c.middle), c.expected);
}

ContributorList People(std::size_t count) {
  ContributorList list;
  for (std::size_t i = 1; i <= count; ++i) {
    const std::string number = std::to_string(i);
    list.push_back({std::string("L").append(number), std::string("F").append(number), ""});
  }
  return list;
}

TEST(FormatPrimaryNames, JoinsEveryCount) {
  static const struct {
    std::size_t count;
    const char *mla, *apa;
  } cases[] = {
      {0, "", ""},
      {1, "L1, F1. ", "L1, F. "},
      {2, "L1, F1, and F2 L2. ", "L1, F., & L2, F. "},
      {3, "L1, F1, F2 L2, and F3 L3. ", "L1, F., L2, F., & L3, F. "},
      {4, "L1, F1, et al. ", "L1, F., L2, F., L3, F., & L4, F. "},
      {6, "L1, F1, et al. ", "L1, F., L2, F., L3, F., L4, F., L5, F., & L6, F. "},
      {7, "L1, F1, et al. ", "L1, F., L2, F., L3, F., L4, F., L5, F., L6, F., et al. "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatPrimaryNames(People(c.count), MLA), c.mla) << c.count;
    EXPECT_EQ(FormatPrimaryNames(People(c.count), APA), c.apa) << c.count;
  }
}

TEST(FormatSecondaryNames, JoinsEveryCountInEachPosition) {
  static const struct {
    std::size_t count;
    const char *mlaAfter, *mlaAlone, *apa;
  } cases[] = {
      {0, "", "", ""},
      {1, "Ed. F1 L1. ", "L1, F1, ed. ", "L1, F. (Ed.). "},
      {2, "Ed. F1 L1 and F2 L2. ", "L1, F1, and F2 L2, eds. ", "L1, F., & L2, F. (Eds.). "},
      {3, "Ed. F1 L1, F2 L2, and F3 L3. ", "L1, F1, F2 L2, and F3 L3, eds. ", "L1, F., L2, F., & L3, F. (Eds.). "},
      {4, "Ed. F1 L1, et al. ", "L1, F1, et al., eds. ", "L1, F., L2, F., L3, F., & L4, F. (Eds.). "},
      {5, "Ed. F1 L1, et al. ", "L1, F1, et al., eds. ", "L1, F., L2, F., L3, F., L4, F., & L5, F. (Eds.). "},
      {6, "Ed. F1 L1, et al. ", "L1, F1, et al., eds. ", "L1, F., et al. (Eds.). "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSecondaryNames(People(c.count), true, MLA), c.mlaAfter) << c.count;
    EXPECT_EQ(FormatSecondaryNames(People(c.count), false, MLA), c.mlaAlone) << c.count;
    EXPECT_EQ(FormatSecondaryNames(People(c.count), true, APA), c.apa) << c.count;
    EXPECT_EQ(FormatSecondaryNames(People(c.count), false, APA), c.apa) << c.count;
  }
}

TEST(NameTexts, WorkedExampleAndNoDoubledPeriods) {
  const ContributorList authors = {{"Smith", "John", "Q"}, {"Doe", "Jane", ""}, {"Roe", "Richard", ""}};
  const ContributorList editor = {{"Brown", "Ann", ""}};
  EXPECT_EQ(FormatPrimaryNames(authors, MLA), "Smith, John Q., Jane Doe, and Richard Roe. ");
  EXPECT_EQ(FormatSecondaryNames(editor, true, MLA), "Ed. Ann Brown. ");
  EXPECT_EQ(FormatPrimaryNames(authors, APA), "Smith, J. Q., Doe, J., & Roe, R. ");
  EXPECT_EQ(FormatSecondaryNames(editor, true, APA), "Brown, A. (Ed.). ");
  EXPECT_EQ(FormatSecondaryNames(editor, false, MLA), "Brown, Ann, ed. ");

  EXPECT_EQ(FormatPrimaryNames({{"Smith", "John", "Q"}}, MLA), "Smith, John Q. ");
  EXPECT_EQ(FormatPrimaryNames({{"Smith", "John", "Q"}, {"Doe", "Jane", "R"}}, MLA), "Smith, John Q., and Jane R. Doe. ");
  EXPECT_EQ(FormatSecondaryNames({{"Doe", "Jane", "R"}}, true, MLA), "Ed. Jane R. Doe. ");
  EXPECT_EQ(FormatPrimaryNames({{"King", "Martin Luther", "", }, {"Jr.", "", ""}}, MLA), "King, Martin Luther, and Jr. ");
  EXPECT_EQ(FormatPrimaryNames({{"", "", "Q"}}, MLA), "Q. ");
}

TEST(NameTexts, BlankEntriesAreSkipped) {
  const ContributorList list = {{"", "", ""}, {"Smith", "", ""}, {"", "", ""}};
  EXPECT_EQ(FormatPrimaryNames(list, MLA), "Smith. ");
  EXPECT_EQ(FormatPrimaryNames(list, APA), "Smith. ");
  ContributorList copy = list;
  RemoveEmptyEntries(copy);
  EXPECT_EQ(copy, (ContributorList{{"Smith", "", ""}}));
}

TEST(SavedContributors, RoundTripAndStopAtFirstMissingLastKey) {
  const ContributorList list = {{"Smith", "John", "Q"}, {"", "", ""}, {"*****", "Star", ""}};
  TIniList ini;
  SaveContributors(list, "Author", ini);
  EXPECT_EQ(ini.Text(),
            "*Author0Last=Smith\r\n*Author0First=John\r\n*Author0MI=Q\r\n"
            "*Author1Last=\r\n*Author1First=\r\n*Author1MI=\r\n"
            "*Author2Last=*****\r\n*Author2First=Star\r\n*Author2MI=\r\n");
  // "*****" is an ordinary last name: loading stops only where the key is absent.
  EXPECT_EQ(LoadContributors("Author", ini), list);
  EXPECT_TRUE(LoadContributors("Editor", ini).empty());

  TIniList gap;
  gap.SetText("*Author0Last=A\r\n*Author1Last=B\r\n*Author1MI=C\r\n*Author3Last=D\r\n");
  EXPECT_EQ(LoadContributors("Author", gap), (ContributorList{{"A", "", ""}, {"B", "", "C"}}));
}

// Keys are matched as the list's own search matches them: without regard to ASCII case, the first
// line of a key counting, the index exactly as it is written (no leading zeros), any order of lines.
TEST(SavedContributors, KeysMatchAsTheListSearchMatchesThem) {
  static const struct {
    const char* text;
    ContributorList expected;
  } cases[] = {
      {"*AUTHOR0last=Lower\r\n*author0FIRST=Mixed\r\n", {{"Lower", "Mixed", ""}}},
      {"*Author0Last=First\r\n*Author0Last=Second\r\n", {{"First", "", ""}}},
      {"*Author1Last=B\r\n*Author0MI=Q\r\n*Author0Last=A\r\n", {{"A", "", "Q"}, {"B", "", ""}}},
      {"*Author00Last=Zero\r\n*Author01Last=One\r\n", {}},
      {"*Author0LastName=X\r\n*Author0=Y\r\n*Author0Last\r\nAuthor0Last=Z\r\n", {}},
      {"*Author0Last=a=b\r\n*Author0First=\r\n", {{"a=b", "", ""}}},
      {"*Author99999999999999999999Last=Huge\r\n*Author0Last=A\r\n", {{"A", "", ""}}},
      {"*Author0Last=A\r\n*Author10Last=Ten\r\n*Author1Last=B\r\n", {{"A", "", ""}, {"B", "", ""}}},
      {"*Editor0Last=Ed\r\n", {}},
  };
  for (const auto& c : cases) {
    TIniList ini;
    ini.SetText(c.text);
    EXPECT_EQ(LoadContributors("Author", ini), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace citara
