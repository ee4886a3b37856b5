#include "core/quoted.h"

#include <cstdio>

namespace citara {
namespace {

// The length of the well-formed UTF-8 sequence at `pos`, or 0 when the byte there starts none.
std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  char32_t min = 0, cp = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, min = 0x80, cp = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, min = 0x800, cp = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, min = 0x10000, cp = lead & 0x07;
  else return 0;
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
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
    const std::size_t length = Utf8Length(value, pos);
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
