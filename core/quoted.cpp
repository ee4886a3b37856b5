#include "core/quoted.h"

#include <cstdio>

#include "widgets/unicode.h"

namespace citara {
namespace {

// The length of the well-formed UTF-8 sequence at `pos`, or 0 when the byte there starts none
// (DecodeUtf8 gives such a byte as U+DC80 to U+DCFF, which no text decodes to).
std::size_t WellFormedLength(std::string_view text, std::size_t pos) {
  std::size_t next = pos;
  const char32_t cp = DecodeUtf8(text, next);
  return (cp >= 0xDC80 && cp <= 0xDCFF) ? 0 : next - pos;
}

void AppendHex(std::string& out, const char* format, unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  out += buffer;
}

}  // namespace

std::string Quoted(std::string_view value, std::size_t maxBytes) {
  std::string out = "\"";
  std::size_t pos = 0;
  while (pos < value.size() && pos < maxBytes) {
    const unsigned char c = static_cast<unsigned char>(value[pos]);
    const std::size_t length = WellFormedLength(value, pos);
    if (length == 0) {
      AppendHex(out, "\\x%02X", c);
      ++pos;
      continue;
    }
    if (pos + length > maxBytes && pos > 0) break;  // never cut a character in two
    if (length == 1) {
      switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (c < 0x20 || c == 0x7F) AppendHex(out, "\\x%02X", c);
          else out += static_cast<char>(c);
      }
    } else if (length == 2 && c == 0xC2 && static_cast<unsigned char>(value[pos + 1]) < 0xA0) {
      // The C1 control characters U+0080 to U+009F: terminals act on them too.
      AppendHex(out, "\\u%04X", static_cast<unsigned char>(value[pos + 1]));
    } else {
      out.append(value, pos, length);
    }
    pos += length;
  }
  out += '"';
  if (pos < value.size()) {
    out += "... (";
    out += std::to_string(value.size());
    out += " bytes)";
  }
  return out;
}

}  // namespace citara
