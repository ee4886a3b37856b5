#include "unicode.h"

#include <cstdint>
#include <cstring>

namespace citara {

namespace {
// An invalid byte b (always 0x80 or above) decodes to U+DC00 + b, a value no valid text decodes to;
// AppendUtf8 writes it back as the byte itself.
constexpr char32_t kEscapeBase = 0xDC00;
char32_t Escaped(unsigned char byte) { return kEscapeBase + byte; }
}  // namespace

bool DecodeUtf8Sequence(std::string_view text, std::size_t& pos, char32_t& cp, bool surrogates) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  if (lead < 0x80) {
    length = 1;
    cp = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return false;
  }
  if (text.size() - pos < length) return false;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (next & 0x3F);
  }
  // Overlong forms and values past U+10FFFF are no UTF-8; a surrogate only where it is asked for.
  const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (!surrogates && cp >= 0xD800 && cp <= 0xDFFF)) return false;
  pos += length;
  return true;
}

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  char32_t cp = 0;
  if (DecodeUtf8Sequence(text, pos, cp, /*surrogates=*/false)) return cp;
  return Escaped(static_cast<unsigned char>(text[pos++]));
}

std::size_t FirstNonUtf8(std::string_view text) {
  const std::size_t size = text.size();
  for (std::size_t pos = 0; pos < size;) {
    std::uint64_t word = 0;
    while (pos + 8 <= size && (std::memcpy(&word, text.data() + pos, 8), (word & 0x8080808080808080u) == 0)) pos += 8;
    while (pos < size && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
    if (pos == size) break;
    char32_t cp = 0;
    if (!DecodeUtf8Sequence(text, pos, cp, /*surrogates=*/false)) return pos;
  }
  return std::string_view::npos;
}

std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  std::size_t next = pos;
  DecodeUtf8(text, next);
  return next - pos;
}

void AppendUtf8Sequence(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp >= kEscapeBase + 0x80 && cp <= kEscapeBase + 0xFF) {
    out += static_cast<char>(cp - kEscapeBase);  // an invalid byte, written back as it was
  } else {
    AppendUtf8Sequence(out, cp);
  }
}

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) ++pos;  // ASCII, most of every text
    else DecodeUtf8(text, pos);
  }
  return count;
}

namespace {
#include "widgets/unicode_tables.inc"

// The properties of one code point: two table reads below kCoveredEnd, none past it.
const CodePointProperties& PropertiesOf(char32_t cp) {
  if (cp >= kCoveredEnd) return kProperties[0];
  const unsigned block = kBlockIndex[cp >> kBlockShift];
  return kProperties[kBlocks[(block << kBlockShift) | (cp & ((1u << kBlockShift) - 1))]];
}
}  // namespace

std::string_view UnicodeVersion() { return kUnicodeVersion; }

char32_t ToUpper(char32_t cp) {
  if (cp < 0x80) return (cp >= U'a' && cp <= U'z') ? cp - 0x20 : cp;
  return cp + static_cast<char32_t>(PropertiesOf(cp).upperDelta);  // a negative delta wraps round
}

bool IsLetter(char32_t cp) {
  if (cp < 0x80) return (cp | 0x20) >= U'a' && (cp | 0x20) <= U'z';
  return PropertiesOf(cp).letter;
}

char32_t RaiseLetter(char32_t cp) {
  if (cp < 0x80) return (cp >= U'a' && cp <= U'z') ? cp - 0x20 : cp;
  const CodePointProperties& p = PropertiesOf(cp);
  return p.letter ? cp + static_cast<char32_t>(p.upperDelta) : cp;
}

void UpperFirstInPlace(std::string& text) {
  if (text.empty()) return;
  std::size_t end = 0;
  const char32_t first = DecodeUtf8(text, end);
  const char32_t upper = RaiseLetter(first);
  if (upper == first) return;
  std::string raised;
  AppendUtf8(raised, upper);
  text.replace(0, end, raised);
}

std::string_view FirstCodePoint(std::string_view text) {
  if (text.empty()) return {};
  return text.substr(0, Utf8Length(text, 0));
}

std::string_view LastCodePoint(std::string_view text) {
  if (text.empty()) return {};
  // Step back over continuation bytes (at most three), then check the sequence decodes to the end.
  std::size_t start = text.size() - 1;
  for (int i = 0; i < 3 && start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80; ++i) --start;
  if (start + Utf8Length(text, start) != text.size()) start = text.size() - 1;
  return text.substr(start);
}

}  // namespace citara
