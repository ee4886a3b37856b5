#include "core/formatting.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "widgets/unicode.h"

namespace citara {
namespace {

constexpr std::array<std::string_view, 22> kMinorWords = {
    "ON", "IN",      "AND", "THE", "A",  "WITH", "TO",      "FROM", "ONTO", "UNTO", "INTO",
    "THROUGH", "OF", "FOR", "BY",  "WITHOUT", "AN", "AS", "AT", "BUT", "OR", "IS"};

// A word of up to seven bytes as one number (its bytes, first lowest, and its length in the top
// byte), so that the minor-word test compares numbers rather than texts.
constexpr std::size_t kMaxPackedLength = 7;
constexpr std::uint64_t PackedLength(std::size_t length) { return std::uint64_t{length} << 56; }
constexpr std::uint64_t PackWord(std::string_view word) {
  std::uint64_t packed = PackedLength(word.size());
  for (std::size_t i = 0; i < word.size(); ++i) packed |= std::uint64_t{static_cast<unsigned char>(word[i])} << (8 * i);
  return packed;
}

// Sorted, for a binary search.
constexpr auto kPackedMinorWords = [] {
  std::array<std::uint64_t, kMinorWords.size()> packed{};
  for (std::size_t i = 0; i < kMinorWords.size(); ++i) packed[i] = PackWord(kMinorWords[i]);
  std::sort(packed.begin(), packed.end());
  return packed;
}();

// IsMinorWord after a quick look: a segment longer than any minor word can be written (seven
// letters of at most two bytes each, as a dotless i is, and a delimiter), or one that starts with
// an ASCII character no minor word starts with, is not minor (most of a title's words).
bool MayBeMinorWord(std::string_view segment) {
  if (segment.size() > 2 * kMaxPackedLength + 1) return false;
  switch (segment[0] | 0x20) {
    case 'a': case 'b': case 'f': case 'i': case 'o': case 't': case 'u': case 'w':
      break;
    default:
      if (static_cast<unsigned char>(segment[0]) < 0x80) return false;
  }
  return IsMinorWord(segment);
}

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
  std::size_t end = offset;
  while (end < title.size() && title[end] != ' ' && title[end] != '-') ++end;
  return title.substr(offset, end < title.size() ? end + 1 - offset : end - offset);
}

bool IsMinorWord(std::string_view segment) {
  if (segment.empty()) return false;
  const unsigned char last = static_cast<unsigned char>(segment.back());
  // A trailing delimiter (any byte outside "A".."z", including the last byte of a non-ASCII letter)
  // is dropped; a word whose upper case is not plain ASCII is never a minor word either way.
  if (last < 'A' || last > 'z') segment.remove_suffix(1);
  // Upper-case into one number: the minor words are ASCII and at most seven letters long, so a
  // longer segment, or one whose upper case is not ASCII, is never minor.
  std::uint64_t packed = 0;
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < segment.size();) {
    const unsigned char byte = static_cast<unsigned char>(segment[pos]);
    // ASCII raises by itself; other letters (a dotless i raises to "I") go through ToUpper.
    const char32_t cp = byte < 0x80 ? (++pos, (byte >= 'a' && byte <= 'z') ? byte - 0x20u : byte)
                                    : ToUpper(DecodeUtf8(segment, pos));
    if (cp >= 0x80 || length == kMaxPackedLength) return false;
    packed |= std::uint64_t{cp} << (8 * length++);
  }
  packed |= PackedLength(length);
  return std::binary_search(kPackedMinorWords.begin(), kPackedMinorWords.end(), packed);
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
    // The segment up to and including the next "-" or " " (NextTitleWord, scanned here in place).
    std::size_t end = offset;
    while (end < title.size() && title[end] != ' ' && title[end] != '-') ++end;
    const std::string_view segment = title.substr(offset, end - offset + (end < title.size() ? 1 : 0));
    if (offset == 0 || (!IsApa(style) && !MayBeMinorWord(segment))) {
      // Raise the segment's first character, when it is a letter, as it is appended.
      const unsigned char first = static_cast<unsigned char>(segment[0]);
      if (first < 0x80) {
        result += static_cast<char>((first >= 'a' && first <= 'z') ? first - 0x20 : first);
        result.append(segment, 1);
      } else {
        std::size_t next = 0;
        AppendUtf8(result, RaiseLetter(DecodeUtf8(segment, next)));
        result += segment.substr(next);
      }
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
