// Fuzzes title capitalization in both styles with any bytes as a title. The result must have as
// many code points as the title, may only raise letters (each code point stays or becomes its upper
// case), and must equal the rule written out the plain way. Which code points are letters and what
// their upper case is comes from ICU here, never from the tables under test (ToUpper, IsLetter):
// the title split into segments that end at "-" or " ", the first segment and (MLA) every segment
// that is not a minor word raised, then every first letter after a colon raised.
#include <unicode/uchar.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/formatting.h"
#include "widgets/unicode.h"

namespace {

using namespace citara;

[[noreturn]] void Finding(const char* what, std::string_view title, CitationStyle style, const std::string& out) {
  std::fprintf(stderr, "CapitalizeTitle finding (%s): %s\ntitle: %.*s\nresult: %s\n", IsApa(style) ? "APA" : "MLA",
               what, static_cast<int>(title.size()), title.data(), out.c_str());
  std::abort();
}

// The title's code points (DecodeUtf8 keeps every byte that is not UTF-8 as a code point of its own).
std::u32string CodePoints(std::string_view text) {
  std::u32string cps;
  for (std::size_t pos = 0; pos < text.size();) cps += DecodeUtf8(text, pos);
  return cps;
}

bool IcuLetter(char32_t cp) { return u_isalpha(static_cast<UChar32>(cp)) != 0; }
char32_t IcuUpper(char32_t cp) { return static_cast<char32_t>(u_toupper(static_cast<UChar32>(cp))); }
char32_t IcuRaise(char32_t cp) { return IcuLetter(cp) ? IcuUpper(cp) : cp; }

// A segment, less one trailing character outside "A".."z" that is ASCII or a byte that is not
// UTF-8 (U+DC80..U+DCFF), upper-cased, is one of the 22 minor words. A segment ending in any other
// character (a letter outside ASCII) is never minor.
bool PlainMinorWord(std::u32string_view segment) {
  const auto invalidByte = [](char32_t cp) { return cp >= 0xDC80 && cp <= 0xDCFF; };
  static constexpr std::array<std::u32string_view, 22> kMinor = {
      U"ON", U"IN", U"AND", U"THE", U"A", U"WITH", U"TO", U"FROM", U"ONTO", U"UNTO", U"INTO",
      U"THROUGH", U"OF", U"FOR", U"BY", U"WITHOUT", U"AN", U"AS", U"AT", U"BUT", U"OR", U"IS"};
  if (segment.empty() || (segment.back() >= 0x80 && !invalidByte(segment.back()))) return false;
  if (segment.back() < U'A' || segment.back() > U'z') segment.remove_suffix(1);
  std::u32string upper;
  for (const char32_t cp : segment) upper += IcuUpper(cp);
  for (const std::u32string_view word : kMinor) {
    if (upper == word) return true;
  }
  return false;
}

std::u32string PlainRule(std::u32string_view title, CitationStyle style) {
  std::u32string result;
  for (std::size_t offset = 0; offset < title.size();) {
    const std::size_t delimiter = title.find_first_of(U"- ", offset);
    const std::size_t end = delimiter == std::u32string_view::npos ? title.size() : delimiter + 1;
    std::u32string segment(title.substr(offset, end - offset));
    if (offset == 0 || (!IsApa(style) && !PlainMinorWord(segment))) segment[0] = IcuRaise(segment[0]);
    result += segment;
    offset = end;
  }
  for (std::size_t colon = result.find(U':'); colon != std::u32string::npos; colon = result.find(U':', colon + 1)) {
    for (std::size_t i = colon + 1; i < result.size(); ++i) {
      if (IcuLetter(result[i])) {
        result[i] = IcuUpper(result[i]);
        break;
      }
    }
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view title(reinterpret_cast<const char*>(data), size);
  const std::u32string before = CodePoints(title);
  for (const CitationStyle style : {CitationStyle::MLA, CitationStyle::APA}) {
    const std::string out = CapitalizeTitle(title, style);
    const std::u32string after = CodePoints(out);
    if (after.size() != before.size()) Finding("a different number of code points", title, style, out);
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (after[i] == before[i]) continue;
      if (!IcuLetter(before[i])) Finding("a code point raised that is no letter", title, style, out);
      if (after[i] != IcuUpper(before[i])) Finding("a code point changed other than raised", title, style, out);
    }
    if (after != PlainRule(before, style)) Finding("differs from the plain rule", title, style, out);
  }
  return 0;
}
