#include "core/citation.h"

#include <array>
#include <charconv>

#include "widgets/unicode.h"

namespace citara {
namespace {

// The bytes that RTF body text holds as they are: printable ASCII except "\", "{" and "}".
constexpr auto kPlainRtf = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x7F; ++c) plain[static_cast<std::size_t>(c)] = c != '\\' && c != '{' && c != '}';
  return plain;
}();

// Appends `text` as RTF body text: ASCII printable characters as they are (with "\", "{", "}"
// escaped), everything else as "\uN ?" of its UTF-16 units: the space ends the control word, so
// the "?" that readers without Unicode skip can never be taken for part of the word.
void AppendRtfText(std::string& out, std::string_view text) {
  const auto unit = [&out](unsigned value) {
    char number[8];
    const auto [end, ec] = std::to_chars(number, number + sizeof number, static_cast<int>(static_cast<short>(value)));
    (void)ec;  // a 16-bit value always fits
    out += "\\u";
    out.append(number, end);
    out += " ?";
  };
  for (std::size_t pos = 0; pos < text.size();) {
    // A run of printable ASCII that needs no escape goes out in one piece.
    std::size_t end = pos;
    while (end < text.size() && kPlainRtf[static_cast<unsigned char>(text[end])]) ++end;
    if (end > pos) {
      out.append(text, pos, end - pos);
      pos = end;
      continue;
    }
    const char c = text[pos];
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
      ++pos;
      continue;
    }
    const char32_t cp = DecodeUtf8(text, pos);
    if (cp == '\t') {
      out += "\\tab ";
    } else if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      unit(0xD800 + (v >> 10));
      unit(0xDC00 + (v & 0x3FF));
    } else {
      unit(static_cast<unsigned>(cp));
    }
  }
}

// The font, the size and italics are set twice: for complex-script text (Arabic, Hebrew, the
// Indic scripts, Thai: \af, \afs, \ai, after \rtlch) and for the other scripts (\f, \fs, \i,
// after \ltrch). LibreOffice takes each associated setting only after \rtlch; without them it
// shows those scripts upright and at its default size.
constexpr std::string_view kParagraphStart = "\\pard\\rtlch\\fcs1\\af0\\afs16\\ltrch\\fcs0\\f0\\fs16 ";
constexpr std::string_view kPard = "\\pard";
constexpr std::string_view kItalicOn = "\\rtlch\\fcs1\\ai\\ltrch\\fcs0\\i ";
constexpr std::string_view kItalicOff = "\\rtlch\\fcs1\\ai0\\ltrch\\fcs0\\i0 ";

}  // namespace

Citation FindItalicRun(std::string entry, std::string_view italic, std::size_t searchFrom) {
  Citation c{std::move(entry)};
  if (italic.empty() || searchFrom > c.text.size()) return c;
  const std::size_t at = c.text.find(italic, searchFrom);
  if (at == std::string::npos) return c;
  c.italicBegin = at;
  c.italicEnd = at + italic.size();
  return c;
}

std::string CitationToRtf(const Citation& citation) {
  std::string out;
  out.reserve(RtfDocumentStart().size() + kParagraphStart.size() + citation.text.size() + citation.text.size() / 4 +
              kItalicOn.size() + kItalicOff.size() + RtfDocumentEnd().size());
  out += RtfDocumentStart();
  AppendRtfParagraph(out, citation);
  out += RtfDocumentEnd();
  return out;
}

std::string CitationToMarked(const Citation& citation) {
  if (!citation.HasItalics()) return citation.text;
  std::string out;
  out.reserve(citation.text.size() + 2);
  out.append(citation.text, 0, citation.italicBegin);
  out += '*';
  out.append(citation.text, citation.italicBegin, citation.italicEnd - citation.italicBegin);
  out += '*';
  out.append(citation.text, citation.italicEnd);
  return out;
}

std::string_view RtfDocumentStart() {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}\r\n\\viewkind4\\uc1";
}

void AppendRtfParagraph(std::string& out, const Citation& citation) { AppendRtfParagraph(out, citation, {}); }

void AppendRtfParagraph(std::string& out, const Citation& citation, std::string_view paragraphSettings) {
  const std::string_view text = citation.text;
  out += kPard;
  out += paragraphSettings;
  out += kParagraphStart.substr(kPard.size());
  if (citation.HasItalics()) {
    AppendRtfText(out, text.substr(0, citation.italicBegin));
    out += kItalicOn;
    AppendRtfText(out, text.substr(citation.italicBegin, citation.italicEnd - citation.italicBegin));
    out += kItalicOff;
    AppendRtfText(out, text.substr(citation.italicEnd));
  } else {
    AppendRtfText(out, text);
  }
  out += "\\par\r\n";
}

std::string_view RtfDocumentEnd() { return "}\r\n"; }

std::string MakeCitationRtf(std::string_view entry, std::string_view italic, std::size_t searchFrom) {
  return CitationToRtf(FindItalicRun(std::string(entry), italic, searchFrom));
}

}  // namespace citara
