#include "core/formatting.h"

#include <array>

#include "widgets/unicode.h"

namespace citara {
namespace {

constexpr std::array<std::string_view, 22> kMinorWords = {
    "ON", "IN",      "AND", "THE", "A",  "WITH", "TO",      "FROM", "ONTO", "UNTO", "INTO",
    "THROUGH", "OF", "FOR", "BY",  "WITHOUT", "AN", "AS", "AT", "BUT", "OR", "IS"};

constexpr std::array<std::string_view, 12> kMlaMonths = {
    "Jan.", "Feb.", "Mar.", "Apr.", "May", "June", "July", "Aug.", "Sept.", "Oct.", "Nov.", "Dec."};

}  // namespace

bool EndsWithTerminalPunctuation(std::string_view text) {
  if (text.empty()) return false;
  const char last = text.back();
  return last == '!' || last == '.' || last == '?';
}

std::string AppendUnlessPunctuated(std::string_view text, std::string_view suffix) {
  std::string out(text);
  if (!EndsWithTerminalPunctuation(text)) out += suffix;
  return out;
}

std::string FormatEdition(std::string_view edition, CitationStyle style) {
  if (edition.empty()) return {};
  std::string out(edition);
  const char last = edition.back();
  if (last >= '0' && last <= '9') {
    const char tens = edition.size() >= 2 ? edition[edition.size() - 2] : ' ';
    if (tens == '1') out += "th";  // 11th, 12th, 13th, 111th ...
    else if (last == '1') out += "st";
    else if (last == '2') out += "nd";
    else if (last == '3') out += "rd";
    else out += "th";
  }
  out += IsApa(style) ? " ed." : " ed. ";
  return out;
}

std::string_view NextTitleWord(std::string_view title, std::size_t offset) {
  if (offset >= title.size()) return {};
  const std::string_view rest = title.substr(offset);
  const std::size_t end = rest.find_first_of("- ");
  return end == std::string_view::npos ? rest : rest.substr(0, end + 1);
}

bool IsMinorWord(std::string_view segment) {
  if (segment.empty()) return false;
  const unsigned char last = static_cast<unsigned char>(segment.back());
  // A trailing delimiter (any byte outside "A".."z", including the last byte of a non-ASCII letter)
  // is dropped; a word whose upper case is not plain ASCII is never a minor word either way.
  if (last < 'A' || last > 'z') segment.remove_suffix(1);
  // Upper-case into a small buffer: the minor words are ASCII and at most seven letters long, so a
  // longer segment, or one whose upper case is not ASCII, is never minor.
  char upper[8];
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < segment.size();) {
    const char32_t cp = ToUpper(DecodeUtf8(segment, pos));
    if (cp >= 0x80 || length == sizeof upper) return false;
    upper[length++] = static_cast<char>(cp);
  }
  const std::string_view word(upper, length);
  for (std::string_view minor : kMinorWords) {
    if (word == minor) return true;
  }
  return false;
}

void CapitalizeFirst(std::string& text) { UpperFirstInPlace(text); }

void CapitalizeAfterColons(std::string& text) {
  std::size_t colon = text.find(':');
  while (colon != std::string::npos) {
    std::size_t pos = colon + 1;
    while (pos < text.size()) {
      const std::size_t start = pos;
      const char32_t cp = DecodeUtf8(text, pos);
      if (IsLetter(cp)) {
        const char32_t upper = ToUpper(cp);
        if (upper != cp) {
          std::string raised;
          AppendUtf8(raised, upper);
          text.replace(start, pos - start, raised);
        }
        break;
      }
    }
    colon = text.find(':', colon + 1);
  }
}

std::string CapitalizeTitle(std::string_view title, CitationStyle style) {
  std::string result;
  result.reserve(title.size());
  std::size_t offset = 0;
  while (offset < title.size()) {
    const std::string_view segment = NextTitleWord(title, offset);
    if (segment.empty()) break;
    if (offset == 0 || (!IsApa(style) && !IsMinorWord(segment))) {
      // Raise the segment's first character as it is appended.
      std::size_t next = 0;
      AppendUtf8(result, ToUpper(DecodeUtf8(segment, next)));
      result += segment.substr(next);
    } else {
      result += segment;
    }
    offset += segment.size();
  }
  CapitalizeAfterColons(result);
  return result;
}

bool IsPageRange(std::string_view pages) { return pages.find_first_of("-,+") != std::string_view::npos; }

std::string FormatMlaDate(bool includeDay, OleDate date) {
  const CivilDate d = CivilFromOle(date);
  std::string out;
  if (includeDay) out.append(std::to_string(d.day)).append(" ");
  out.append(kMlaMonths[d.month - 1]).append(" ").append(std::to_string(d.year));
  return out;
}

std::string FormatApaDate(bool includeDay, OleDate date) {
  const CivilDate d = CivilFromOle(date);
  std::string out = "(";
  out.append(std::to_string(d.year)).append(", ").append(EnglishMonthName(d.month));
  if (includeDay) out.append(" ").append(std::to_string(d.day));
  out += ")";
  return out;
}

std::string FormatWebAddress(std::string_view address) {
  std::string out = "<";
  out.append(address).append(">.");
  return out;
}

std::string FormatRetrievalStatement(std::string_view address, OleDate date) {
  std::string out = "Retrieved " + FormatDate(date, "mmmm d, yyyy") + ", from ";
  out.append(address);
  return out;
}

}  // namespace citara
