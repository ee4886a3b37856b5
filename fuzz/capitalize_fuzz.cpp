// Fuzzes title capitalization in both styles with any bytes as a title. The result must have as
// many code points as the title, may only raise letters (each code point stays or becomes its upper
// case), and must equal the rule written out the plain way: the title split by NextTitleWord, the
// first segment and (MLA) every segment that IsMinorWord rejects raised, then every first letter
// after a colon raised.
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

std::string PlainRule(std::string_view title, CitationStyle style) {
  std::string result;
  for (std::size_t offset = 0; offset < title.size();) {
    const std::string_view segment = NextTitleWord(title, offset);
    std::string part(segment);
    if (offset == 0 || (!IsApa(style) && !IsMinorWord(segment))) CapitalizeFirst(part);
    result += part;
    offset += segment.size();
  }
  CapitalizeAfterColons(result);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view title(reinterpret_cast<const char*>(data), size);
  for (const CitationStyle style : {CitationStyle::MLA, CitationStyle::APA}) {
    const std::string out = CapitalizeTitle(title, style);
    if (CodePointCount(out) != CodePointCount(title)) Finding("a different number of code points", title, style, out);
    std::size_t in = 0, at = 0;
    while (in < title.size() && at < out.size()) {
      const char32_t before = DecodeUtf8(title, in);
      const char32_t after = DecodeUtf8(out, at);
      if (after != before && after != ToUpper(before)) Finding("a code point changed other than raised", title, style, out);
      if (after != before && !IsLetter(before)) Finding("a code point raised that is no letter", title, style, out);
    }
    if (out != PlainRule(title, style)) Finding("differs from the plain rule", title, style, out);
  }
  return 0;
}
