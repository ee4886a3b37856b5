#include <cmath>
#include <gtest/gtest.h>

#include "widgets/dates.h"
#include "widgets/unicode.h"

namespace citara {
namespace {

TEST(Unicode, DecodesAndKeepsInvalidBytes) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\xC3";
  std::vector<char32_t> cps;
  std::string again;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    cps.push_back(DecodeUtf8(text, pos));
    again.append(text, start, pos - start);
  }
  EXPECT_EQ(cps, (std::vector<char32_t>{U'a', 0xE9, 0x20AC, 0x1F600, 0xDCFF, 0xDCC3}));
  EXPECT_EQ(again, text);
  std::string rewritten;
  for (char32_t cp : cps) AppendUtf8(rewritten, ToUpper(cp));
  EXPECT_EQ(rewritten, "A\xC3\x89\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\xC3");  // invalid bytes come back unchanged
  EXPECT_EQ(CodePointCount("Émile"), 5u);
  EXPECT_EQ(FirstCodePoint("Émile"), "É");
  EXPECT_EQ(LastCodePoint("abé"), "é");
}

TEST(Unicode, UpperCaseOfOneCodePoint) {
  static const struct {
    char32_t lower, upper;
  } cases[] = {{U'a', U'A'}, {U'z', U'Z'}, {U'é', U'É'}, {U'ÿ', U'Ÿ'}, {U'ł', U'Ł'}, {U'ž', U'Ž'},
               {U'α', U'Α'}, {U'ς', U'Σ'}, {U'я', U'Я'}, {U'ё', U'Ё'}, {U'ա', U'Ա'}, {U'ạ', U'Ạ'},
               {U'1', U'1'}, {U'÷', U'÷'}, {U'中', U'中'}, {U'A', U'A'},
               {U'ӏ', U'Ӏ'}};  // palochka: odd, yet outside the odd-small pairs around it
  for (const auto& c : cases) EXPECT_EQ(ToUpper(c.lower), c.upper) << static_cast<unsigned>(c.lower);
  // An upper-case letter stays as it is, so raising twice (a letter after two colons) is raising once.
  for (char32_t cp = 0; cp < 0x2000; ++cp) EXPECT_EQ(ToUpper(ToUpper(cp)), ToUpper(cp)) << static_cast<unsigned>(cp);
  EXPECT_TRUE(IsLetter(U'é'));
  EXPECT_TRUE(IsLetter(U'中'));
  EXPECT_FALSE(IsLetter(U'['));
  EXPECT_FALSE(IsLetter(U'7'));
  EXPECT_FALSE(IsLetter(U'—'));
}

TEST(Dates, DayNumbersAndYears) {
  EXPECT_EQ(OleFromCivil({1998, 1, 1}), 35796);
  EXPECT_EQ(YearOf(35796), 1998);
  EXPECT_EQ(YearOf(0), 1899);
  EXPECT_EQ(CivilFromOle(-1.5), (CivilDate{1899, 12, 29}));  // the whole part names the day
  EXPECT_EQ(CivilFromOle(kMinOleDate), (CivilDate{100, 1, 1}));
  EXPECT_EQ(CivilFromOle(kMaxOleDate), (CivilDate{9999, 12, 31}));
}

TEST(Dates, FormatsPatterns) {
  const OleDate d = OleFromCivil({1999, 1, 5});
  EXPECT_EQ(FormatDate(d, "mmmm d, yyyy"), "January 5, 1999");
  EXPECT_EQ(FormatDate(d, "mmmm dd, yyyy"), "January 05, 1999");
  EXPECT_EQ(FormatDate(d, "mm/dd/yyyy"), "01/05/1999");
  EXPECT_EQ(FormatDate(d, "mmmm yyyy"), "January 1999");
  EXPECT_EQ(FormatDate(d, "yyyy"), "1999");
  EXPECT_EQ(FormatDate(OleFromCivil({345, 12, 31}), "mm/dd/yyyy"), "12/31/0345");
}

TEST(Dates, ReadsMonthDayYear) {
  static const struct {
    const char* text;
    std::optional<CivilDate> date;
  } cases[] = {
      {"12/25/1999", CivilDate{1999, 12, 25}}, {"1/2/2003", CivilDate{2003, 1, 2}},
      {" 01/12/99 ", CivilDate{1999, 1, 12}},  {"2/29/00", CivilDate{2000, 2, 29}},
      {"1/1/29", CivilDate{2029, 1, 1}},       {"1/1/30", CivilDate{1930, 1, 1}},
      {"13/45/1999", std::nullopt},            {"2/29/1999", std::nullopt},
      {"12/25", std::nullopt},                 {"", std::nullopt},
      {"1/1/10000", std::nullopt},             {"1/1/0099", std::nullopt},
      {"a/b/c", std::nullopt},                 {"1//1999", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto got = ParseMonthDayYear(c.text);
    ASSERT_EQ(got.has_value(), c.date.has_value()) << c.text;
    if (got) {
      EXPECT_EQ(CivilFromOle(*got), *c.date) << c.text;
    }
  }
}

// A fraction just short of a whole day must not round into the next day (or, below zero, the day
// before): the text names the value's own day, loads as a date when the value is one, and is
// written again as the same text.
TEST(Dates, DayNumberTextKeepsTheDayOfItsValue) {
  static const struct {
    double value;
    const char* text;
  } cases[] = {
      {35796.99999999999, "35796.9999999999"},     // late on 1 January 1998
      {-657434.9999999999, "-657434.999999999"},   // late on 1 January 100
      {-0.9999999999999999, "-0.99999999999999"},  // 30 December 1899, not the 29th
      {0.9999999999999999, "0.99999999999999"},
      {2958465.99999999, "2958465.99999999"},      // 31 December 9999: 15 digits, no carry
      {2958465.999999999, "2958465.99999999"},
      {-1.9999999999999998, "-1.99999999999999"},
  };
  for (const auto& c : cases) {
    const std::string text = FormatOleNumber(c.value);
    EXPECT_EQ(text, c.text) << c.value;
    const std::optional<double> back = ParseOleNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(std::trunc(*back), std::trunc(c.value)) << text;
    EXPECT_EQ(IsSupportedDate(*back), IsSupportedDate(c.value)) << text;
    EXPECT_EQ(FormatOleNumber(*back), text);
  }
  // The last few values below each day's end, at the edges of the range and around zero.
  for (const double day : {-657434.0, -1.0, 0.0, 35796.0, 2958465.0}) {
    const double end = day < 0 ? day - 1 : day + 1;
    double value = end;
    for (int i = 0; i < 200; ++i) {
      value = std::nextafter(value, day);
      const std::string text = FormatOleNumber(value);
      const double back = *ParseOleNumber(text);
      ASSERT_EQ(std::trunc(back), day) << text;
      ASSERT_EQ(FormatOleNumber(back), text);
    }
  }
}

TEST(Dates, DayNumberTextRoundTrips) {
  static const struct {
    double value;
    const char* text;
  } cases[] = {{35796, "35796"}, {35796.5, "35796.5"}, {-657434, "-657434"}, {0, "0"}, {0.25, "0.25"},
               {36525.123456789, "36525.123456789"}, {0.00001, "0.00001"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatOleNumber(c.value), c.text);
    EXPECT_EQ(ParseOleNumber(c.text), c.value);
  }
  // Texts no FormatOleNumber writes but a hand-edited saved data may hold.
  static const struct {
    const char* text;
    double value;
  } read[] = {
      {"35796,5", 35796.5},
      {".5", 0.5},
      {"-.25", -0.25},
      {"7.", 7},
      {"0035796.500", 35796.5},
      {"0.1", 0.1},  // the double nearest 1/10, as a correctly rounding parse gives
      {"9007199254740993", 9007199254740992},  // 2^53 + 1: more than the exact path takes
      {"12345678901234567890123.5", 12345678901234567890123.5},
      {"1,00000000000000000000001", 1},  // more fraction digits than the exact powers of ten
  };
  for (const auto& c : read) {
    EXPECT_EQ(ParseOleNumber(c.text), c.value) << c.text;
  }
  for (const char* bad : {"", "x", "1e5", "inf", "nan", "1.2.3", " 1", "+1", "0x10", "-", ".", "1-2", "--1",
                          "12345678901234567890123e5", "12345678901234567890123.5.1", "1.5,5",
                          "123456789012345678901234-"}) {
    EXPECT_FALSE(ParseOleNumber(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace citara
