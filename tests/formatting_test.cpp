#include "core/formatting.h"

#include <gtest/gtest.h>

namespace citara {
namespace {

using enum CitationStyle;

TEST(CapitalizeTitle, FollowsEachStyle) {
  static const struct {
    const char* typed;
    const char* mla;
    const char* apa;
  } cases[] = {
      {"the biography of Benjamin Franklin", "The Biography of Benjamin Franklin", "The biography of Benjamin Franklin"},
      {"war and peace: a study of the novel", "War and Peace: A Study of the Novel", "War and peace: A study of the novel"},
      {"a self-help guide to the world", "A Self-Help Guide to the World", "A self-help guide to the world"},
      {"something to believe in", "Something to Believe in", "Something to believe in"},  // no last-word rule
      {"the age of, and for, reason", "The Age Of, and For, Reason", "The age of, and for, reason"},
      {"The Cat In The Hat", "The Cat In The Hat", "The Cat In The Hat"},  // never lowered
      {"", "", ""},
      {"dogs", "Dogs", "Dogs"},
      {" the end", " the End", " the end"},  // the first segment is the space itself
      {"a self-help", "A Self-Help", "A self-help"},
      {"part 2: 3 ways", "Part 2: 3 Ways", "Part 2: 3 Ways"},  // the colon scan passes digits
      {"war: élan", "War: Élan", "War: Élan"},                // any alphabet's first letter is raised
      {"end:  ...", "End:  ...", "End:  ..."},                // nothing to raise after the colon
      {"émile zola and the press", "Émile Zola and the Press", "Émile zola and the press"},
      {"война и мир", "Война И Мир", "Война и мир"},           // Cyrillic words are never minor words
      {"the THE", "The THE", "The THE"},
      {"a: [b]", "A: [B]", "A: [B]"},  // punctuation after a colon is skipped
      {"\xFF\xFEtitle", "\xFF\xFEtitle", "\xFF\xFEtitle"},  // bytes that are not UTF-8 stay as they are
      {"ın the end", "In the End", "In the end"},     // dotless i: "IN" once upper-cased
      // After a colon the first letter of any script is raised, and only a letter stops the scan.
      {"war: \u2C65bc", "War: \u023Abc", "War: \u023Abc"},  // U+2C65, a Latin letter added late, raises to U+023A
      {"x: \u0387αβ", "X: \u0387Αβ", "X: \u0387Αβ"},  // U+0387 GREEK ANO TELEIA is punctuation
      {"x: \u00B7αβ", "X: \u00B7Αβ", "X: \u00B7Αβ"},  // and so is U+00B7 MIDDLE DOT, which it looks like
      {"x: ०१ ab", "X: ०१ Ab", "X: ०१ Ab"},        // Devanagari digits are no letters
      {"x: ǆemal", "X: Ǆemal", "X: Ǆemal"},        // the simple mapping: dž to DŽ, not the title case Dž
      {"x: ß ab", "X: ß Ab", "X: ß ab"},            // a letter without a one-to-one capital stops the scan
      {"x: ابت ab", "X: ابت Ab", "X: ابت ab"},     // so does a letter of a script without case
      {"x: 𐐨ab", "X: 𐐀ab", "X: 𐐀ab"},              // beyond U+FFFF: Deseret
      // Only letters are raised: circled letters and small Roman numerals (symbols and numbers with
      // upper-case mappings) and a combining mark at the start stay as typed.
      {"ⓐ guide: ⅳ ⓑ x", "ⓐ Guide: ⅳ ⓑ X", "ⓐ guide: ⅳ ⓑ X"},
      {"\u0345 ode", "\u0345 Ode", "\u0345 ode"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CapitalizeTitle(c.typed, MLA), c.mla) << c.typed;
    EXPECT_EQ(CapitalizeTitle(c.typed, APA), c.apa) << c.typed;
    // Any style value other than APA counts as MLA.
    EXPECT_EQ(CapitalizeTitle(c.typed, static_cast<CitationStyle>(7)), c.mla) << c.typed;
  }
}

TEST(TitleWords, SplitKeepsDelimitersAndMinorWordsDropOneTrailingCharacter) {
  EXPECT_EQ(NextTitleWord("self-help guide", 0), "self-");
  EXPECT_EQ(NextTitleWord("self-help guide", 5), "help ");
  EXPECT_EQ(NextTitleWord("self-help guide", 10), "guide");
  EXPECT_EQ(NextTitleWord("a  b", 1), " ");
  EXPECT_EQ(NextTitleWord("abc", 3), "");
  EXPECT_TRUE(IsMinorWord("of "));
  EXPECT_TRUE(IsMinorWord("THROUGH-"));
  EXPECT_TRUE(IsMinorWord("is"));
  EXPECT_FALSE(IsMinorWord("of, "));
  EXPECT_FALSE(IsMinorWord("ofs"));
}

TEST(FormatEdition, EnglishOrdinalsAndStyleEndings) {
  static const struct {
    const char* typed;
    const char* mla;
  } cases[] = {
      {"1", "1st ed. "},   {"2", "2nd ed. "},   {"3", "3rd ed. "},     {"4", "4th ed. "},
      {"11", "11th ed. "}, {"12", "12th ed. "}, {"13", "13th ed. "},   {"21", "21st ed. "},
      {"22", "22nd ed. "}, {"111", "111th ed. "}, {"213", "213th ed. "}, {"3rd", "3rd ed. "},
      {"Unabridged", "Unabridged ed. "}, {"0", "0th ed. "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatEdition(c.typed, MLA), c.mla) << c.typed;
    std::string apa = c.mla;
    apa.pop_back();
    EXPECT_EQ(FormatEdition(c.typed, APA), apa) << c.typed;
  }
  EXPECT_EQ(FormatEdition("", MLA), "");
  EXPECT_EQ(FormatEdition("", APA), "");
}

TEST(Punctuation, TerminalTestAndConditionalSuffix) {
  EXPECT_TRUE(EndsWithTerminalPunctuation("What now?"));
  EXPECT_TRUE(EndsWithTerminalPunctuation("Stop!"));
  EXPECT_TRUE(EndsWithTerminalPunctuation("End."));
  EXPECT_FALSE(EndsWithTerminalPunctuation("\"End.\""));  // a closing quote after the period
  EXPECT_FALSE(EndsWithTerminalPunctuation(""));
  EXPECT_EQ(AppendUnlessPunctuated("What now?", "."), "What now?");
  EXPECT_EQ(AppendUnlessPunctuated("What now", "."), "What now.");
  EXPECT_EQ(AppendUnlessPunctuated("", "."), ".");
}

TEST(IsPageRange, NamesMoreThanOnePage) {
  EXPECT_FALSE(IsPageRange("12"));
  EXPECT_FALSE(IsPageRange(""));
  EXPECT_TRUE(IsPageRange("12-15"));
  EXPECT_TRUE(IsPageRange("3, 7"));
  EXPECT_TRUE(IsPageRange("5+"));
}

TEST(Dates, MlaAndApaLayouts) {
  const OleDate jan5 = OleFromCivil({1999, 1, 5});
  const OleDate sep9 = OleFromCivil({2001, 9, 9}) + 0.75;  // the time of day is ignored
  EXPECT_EQ(FormatMlaDate(true, jan5), "5 Jan. 1999");
  EXPECT_EQ(FormatMlaDate(false, jan5), "Jan. 1999");
  EXPECT_EQ(FormatMlaDate(true, sep9), "9 Sept. 2001");
  EXPECT_EQ(FormatMlaDate(true, OleFromCivil({2001, 6, 1})), "1 June 2001");
  EXPECT_EQ(FormatApaDate(true, jan5), "(1999, January 5)");
  EXPECT_EQ(FormatApaDate(false, jan5), "(1999, January)");
}

TEST(WebParts, AddressAndRetrievalStatement) {
  EXPECT_EQ(FormatWebAddress("http://a.b/c"), "<http://a.b/c>.");
  EXPECT_EQ(FormatWebAddress(""), "<>.");
  EXPECT_EQ(FormatWebAddress(" x "), "< x >.");
  EXPECT_EQ(FormatRetrievalStatement("http://a.b", OleFromCivil({2001, 3, 4})),
            "Retrieved March 4, 2001, from http://a.b");
}

}  // namespace
}  // namespace citara
