// ToUpper and IsLetter for every code point, against sources that share no code with the generated
// tables: the Unicode Character Database's UnicodeData.txt read by a parser of this test's own (in
// every build, so the Windows build under Wine answers as the native one does) and, natively, ICU.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef CITARA_HAVE_ICU
#include <unicode/uchar.h>
#endif

#include "widgets/unicode.h"

namespace citara {
namespace {

constexpr char32_t kCodeSpaceEnd = 0x110000;

struct Expected {
  char32_t upper;
  bool letter;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every code point's simple upper-case mapping (field 12) and whether its general category
// (field 2) is L*, as UnicodeData.txt gives them: code points it does not list are unassigned
// (no mapping, no letter); a range is given by its "<..., First>" and "<..., Last>" lines.
std::vector<Expected> ReadUnicodeData(const std::string& text) {
  std::vector<Expected> table(kCodeSpaceEnd);
  for (char32_t cp = 0; cp < kCodeSpaceEnd; ++cp) table[cp] = {cp, false};
  std::istringstream lines(text);
  std::string line;
  char32_t rangeFirst = 0;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, ';');) fields.push_back(field);
    if (fields.size() < 13) fields.resize(13);  // getline drops the empty fields at the end
    const auto cp = static_cast<char32_t>(std::stoul(fields[0], nullptr, 16));
    const bool letter = fields[2].size() == 2 && fields[2][0] == 'L';
    const bool first = fields[1].ends_with(", First>");
    if (first) {
      rangeFirst = cp;
      continue;
    }
    const char32_t from = fields[1].ends_with(", Last>") ? rangeFirst : cp;
    for (char32_t c = from; c <= cp; ++c) {
      table[c] = {fields[12].empty() ? c : static_cast<char32_t>(std::stoul(fields[12], nullptr, 16)), letter};
    }
  }
  return table;
}

std::string Hex(char32_t cp) {
  std::ostringstream out;
  out << "U+" << std::hex << std::uppercase << static_cast<unsigned long>(cp);
  return out.str();
}

// Compares every code point with `expected(cp)`, reporting the first few that differ and how many do.
template <class ExpectedOf>
void ExpectEveryCodePoint(const char* source, ExpectedOf expected) {
  int wrong = 0;
  for (char32_t cp = 0; cp < kCodeSpaceEnd; ++cp) {
    const Expected e = expected(cp);
    const char32_t upper = ToUpper(cp);
    const bool letter = IsLetter(cp);
    if (upper == e.upper && letter == e.letter) continue;
    if (++wrong <= 10) {
      ADD_FAILURE() << Hex(cp) << ": ToUpper " << Hex(upper) << ", IsLetter " << letter << "; " << source
                    << " says " << Hex(e.upper) << ", " << e.letter;
    }
  }
  EXPECT_EQ(wrong, 0) << "code points that differ from " << source;
  // Past the code space nothing is raised and nothing is a letter.
  for (const char32_t cp : {char32_t{0x110000}, char32_t{0x7FFFFFFF}, char32_t{0xFFFFFFFF}}) {
    EXPECT_EQ(ToUpper(cp), cp) << Hex(cp);
    EXPECT_FALSE(IsLetter(cp)) << Hex(cp);
  }
}

TEST(UnicodeTables, EveryCodePointAgreesWithUnicodeData) {
  const std::string folder = CITARA_UCD_DIR;
  const std::string readMe = ReadFile(folder + "/ReadMe.txt");
  const std::string data = ReadFile(folder + "/UnicodeData.txt");
  ASSERT_FALSE(data.empty()) << folder << "/UnicodeData.txt cannot be read (Debian's unicode-data)";
  ASSERT_NE(readMe.find("Version " + std::string(UnicodeVersion()) + " of the Unicode Standard"), std::string::npos)
      << folder << " holds another version of the database than the tables' " << UnicodeVersion()
      << ": run widgets/make_unicode_tables.py";
  const std::vector<Expected> table = ReadUnicodeData(data);
  ExpectEveryCodePoint("UnicodeData.txt", [&](char32_t cp) { return table[cp]; });
}

// The minor-word test's quick look (core/formatting.cpp) rejects a segment longer than seven letters
// of two bytes each: it counts on every code point that raises to ASCII (U+0131, U+017F) being at
// most two bytes long.
TEST(UnicodeTables, CodePointsThatRaiseToAsciiAreAtMostTwoBytesLong) {
  for (char32_t cp = 0x80; cp < kCodeSpaceEnd; ++cp) {
    if (ToUpper(cp) < 0x80) {
      EXPECT_LT(cp, char32_t{0x800}) << Hex(cp) << " raises to " << Hex(ToUpper(cp));
    }
  }
}

#ifdef CITARA_HAVE_ICU
TEST(UnicodeTables, EveryCodePointAgreesWithIcu) {
  UVersionInfo version;
  u_getUnicodeVersion(version);
  char text[U_MAX_VERSION_STRING_LENGTH];
  u_versionToString(version, text);
  // ICU names "15.0" what the database calls "15.0.0".
  std::string ours(UnicodeVersion());
  while (ours.ends_with(".0") && ours.size() > std::string(text).size()) ours.resize(ours.size() - 2);
  ASSERT_EQ(std::string(text), ours) << "ICU is built on another Unicode version than the tables";
  ExpectEveryCodePoint("ICU", [](char32_t cp) {
    const auto c = static_cast<UChar32>(cp);
    return Expected{static_cast<char32_t>(u_toupper(c)), u_isalpha(c) != 0};
  });
}
#endif

}  // namespace
}  // namespace citara
