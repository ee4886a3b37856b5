#include "unicode.h"

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

char32_t ToUpper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c < 0xB5) return c;
  if (c == 0xB5) return 0x39C;                                   // micro sign -> capital mu
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;      // Latin-1
  if (c == 0xFF) return 0x178;
  // Latin Extended-A: pairs of capital (even) and small (odd), with two runs the other way.
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x131) return U'I';                                   // dotless i
    if (c == 0x17F) return U'S';                                   // long s
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddPairs) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x138 || c == 0x149) return c;                        // kra, n preceded by apostrophe
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x180 && c <= 0x24F) {
    // Latin Extended-B: the regular pairs used by modern orthographies.
    if ((c >= 0x1CD && c <= 0x1DC) && c % 2 == 0) return c - 1;
    if ((c >= 0x1DE && c <= 0x1EF) && c % 2 == 1) return c - 1;
    if ((c >= 0x1F8 && c <= 0x21F) && c % 2 == 1) return c - 1;
    if ((c >= 0x222 && c <= 0x233) && c % 2 == 1) return c - 1;
    if (c == 0x1C6 || c == 0x1C9 || c == 0x1CC || c == 0x1F3) return c - 2;  // dz, lj, nj, dz digraphs
    return c;
  }
  // Greek.
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3C2) return 0x3A3;                                    // final sigma
  if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  // Cyrillic.
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0x460 && c <= 0x4FF && c % 2 == 1 && !(c >= 0x482 && c <= 0x489) && !(c >= 0x4C1 && c <= 0x4CF))
    return c - 1;
  if (c >= 0x4C2 && c <= 0x4CE && c % 2 == 0) return c - 1;
  if (c == 0x4CF) return 0x4C0;
  // Armenian.
  if (c >= 0x561 && c <= 0x586) return c - 0x30;
  // Latin Extended Additional (Vietnamese and others): capital even, small odd.
  if (c >= 0x1E00 && c <= 0x1EFF && c % 2 == 1 && !(c >= 0x1E96 && c <= 0x1E9F)) return c - 1;
  return c;
}

bool IsLetter(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) return true;
  if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
  if (c == 0xD7 || c == 0xF7) return false;
  struct Range { char32_t first, last; };
  static constexpr Range letters[] = {
      {0x00C0, 0x02AF},  // Latin-1 letters, Latin Extended-A and -B, IPA
      {0x0370, 0x03FF},  // Greek
      {0x0400, 0x052F},  // Cyrillic
      {0x0531, 0x0587},  // Armenian
      {0x05D0, 0x05F2},  // Hebrew
      {0x0620, 0x064A},  // Arabic
      {0x0671, 0x06D3},
      {0x0904, 0x0DFF},  // Indic scripts (letters and their signs)
      {0x0E01, 0x0E30},  // Thai
      {0x10A0, 0x10FF},  // Georgian
      {0x1100, 0x11FF},  // Hangul Jamo
      {0x1E00, 0x1FFF},  // Latin Extended Additional, Greek Extended
      {0x3041, 0x30FF},  // Hiragana, Katakana
      {0x3400, 0x4DBF},  // CJK Extension A
      {0x4E00, 0x9FFF},  // CJK ideographs
      {0xAC00, 0xD7A3},  // Hangul syllables
      {0xF900, 0xFAFF},  // CJK compatibility ideographs
      {0xFF21, 0xFF3A},  // full-width Latin
      {0xFF41, 0xFF5A},
      {0x20000, 0x2FA1F},  // CJK supplementary planes
  };
  for (const Range& r : letters) {
    if (c >= r.first && c <= r.last) return true;
  }
  return false;
}

void UpperFirstInPlace(std::string& text) {
  if (text.empty()) return;
  std::size_t end = 0;
  const char32_t first = DecodeUtf8(text, end);
  const char32_t upper = ToUpper(first);
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
