#include "core/contributors.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "widgets/unicode.h"

namespace citara {
namespace {

// Joins the names of `list` by the table of one style and role:
// for counts below `shortForm`: names separated by `separator`, the last one after `lastSeparator`
// (the one name alone when there is one); from `shortForm` names on: `shown` names then `etAl`.
struct JoinRule {
  std::size_t shortForm;      // count from which the list is cut
  std::size_t shown;          // names kept when it is cut
  std::string_view separator;      // between names
  std::string_view lastSeparator;  // before the last of two or more names
  std::string_view pairSeparator;  // between exactly two names
  std::string_view etAl;           // after the kept names of a cut list
};

// Appends the names of `list` joined by `rule`; `appendName(out, contributor, index)` writes one.
template <class AppendName>
void AppendJoined(std::string& out, const ContributorList& list, const JoinRule& rule, AppendName appendName) {
  const std::size_t count = list.size();
  if (count >= rule.shortForm) {
    for (std::size_t i = 0; i < rule.shown; ++i) {
      if (i > 0) out += rule.separator;
      appendName(out, list[i], i);
    }
    out += rule.etAl;
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) {
      if (count == 2) out += rule.pairSeparator;
      else out += (i + 1 == count) ? rule.lastSeparator : rule.separator;
    }
    appendName(out, list[i], i);
  }
}

// Appends `ending` to a joined name text, less its leading "." when the text already ends in ".",
// so that a name ending with an initial or "Jr." never gets a doubled period.
void Close(std::string& text, std::string_view ending) {
  if (!text.empty() && text.back() == '.' && !ending.empty() && ending.front() == '.') ending.remove_prefix(1);
  text += ending;
}

void AppendInvertedName(std::string& out, std::string_view last, std::string_view first, std::string_view middle,
                        CitationStyle style) {
  const bool apa = IsApa(style);
  if (!last.empty()) {
    out += last;
    if (!first.empty()) {
      out += ", ";
      if (apa) out.append(FirstCodePoint(first)).append(".");
      else out += first;
      if (!middle.empty()) out.append(" ").append(middle).append(".");
    } else if (!middle.empty()) {
      out.append(", ").append(middle).append(".");
    } else if (apa) {
      out += ".";
    }
    return;
  }
  out += first;
  if (!middle.empty()) {
    if (!first.empty()) out += " ";
    out.append(middle).append(".");
  }
}

void AppendDirectName(std::string& out, std::string_view last, std::string_view first, std::string_view middle) {
  const std::size_t start = out.size();
  out += first;
  if (!middle.empty()) {
    if (out.size() > start) out += " ";
    out.append(middle).append(".");
  }
  if (!last.empty()) {
    if (out.size() > start) out += " ";
    out += last;
  }
}

void AppendDirectName(std::string& out, const Contributor& c) {
  AppendDirectName(out, c.last, c.first, c.middleInitial);
}

// The first name of a list inverted, the rest inverted in APA and direct in MLA.
auto ListName(CitationStyle style) {
  return [style](std::string& out, const Contributor& c, std::size_t index) {
    if (index == 0 || IsApa(style)) AppendInvertedName(out, c.last, c.first, c.middleInitial, style);
    else AppendDirectName(out, c);
  };
}

// Room for the joined names of `list` and their separators, so that joining does not grow the text
// step by step.
std::size_t JoinedSize(const ContributorList& list) {
  std::size_t size = 24;
  for (const Contributor& c : list) size += c.last.size() + c.first.size() + c.middleInitial.size() + 8;
  return size;
}

// Calls `format` with `list` less its blank entries; the list is copied only when it has one.
template <class Format>
std::string WithoutBlanks(const ContributorList& list, Format format) {
  if (std::none_of(list.begin(), list.end(), [](const Contributor& c) { return c.IsBlank(); })) return format(list);
  ContributorList copy = list;
  RemoveEmptyEntries(copy);
  return format(copy);
}

std::string Key(std::string_view prefix, std::size_t index, std::string_view part) {
  std::string key = "*";
  key.append(prefix).append(std::to_string(index)).append(part);
  return key;
}

}  // namespace

std::string FormatInvertedName(std::string_view last, std::string_view first, std::string_view middle,
                               CitationStyle style) {
  std::string out;
  AppendInvertedName(out, last, first, middle, style);
  return out;
}

std::string FormatDirectName(std::string_view last, std::string_view first, std::string_view middle) {
  std::string out;
  AppendDirectName(out, last, first, middle);
  return out;
}

std::vector<std::string> FormatNameList(const ContributorList& list, CitationStyle style) {
  std::vector<std::string> names(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) ListName(style)(names[i], list[i], i);
  return names;
}

void RemoveEmptyEntries(ContributorList& list) {
  std::erase_if(list, [](const Contributor& c) { return c.IsBlank(); });
}

std::string FormatPrimaryNames(const ContributorList& list, CitationStyle style) {
  return WithoutBlanks(list, [style](const ContributorList& entries) {
    std::string out;
    if (entries.empty()) return out;
    out.reserve(JoinedSize(entries));
    if (IsApa(style)) {
      static constexpr JoinRule apa{7, 6, ", ", ", & ", ", & ", ", et al."};
      AppendJoined(out, entries, apa, ListName(style));
      out += " ";
    } else {
      static constexpr JoinRule mla{4, 1, ", ", ", and ", ", and ", ", et al."};
      AppendJoined(out, entries, mla, ListName(style));
      Close(out, ". ");
    }
    return out;
  });
}

std::string FormatSecondaryNames(const ContributorList& list, bool afterPrimary, CitationStyle style) {
  return WithoutBlanks(list, [afterPrimary, style](const ContributorList& entries) {
    std::string out;
    if (entries.empty()) return out;
    out.reserve(JoinedSize(entries));
    if (IsApa(style)) {
      static constexpr JoinRule apa{6, 1, ", ", ", & ", ", & ", ", et al."};
      AppendJoined(out, entries, apa, ListName(style));
      out += entries.size() == 1 ? " (Ed.). " : " (Eds.). ";
    } else if (afterPrimary) {
      static constexpr JoinRule mla{4, 1, ", ", ", and ", " and ", ", et al."};
      out += "Ed. ";
      AppendJoined(out, entries, mla, [](std::string& text, const Contributor& c, std::size_t) { AppendDirectName(text, c); });
      if (entries.size() >= 4) out += " ";
      else Close(out, ". ");
    } else {
      static constexpr JoinRule mla{4, 1, ", ", ", and ", ", and ", ", et al."};
      AppendJoined(out, entries, mla, ListName(style));
      out += entries.size() == 1 ? ", ed. " : ", eds. ";
    }
    return out;
  });
}

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// True when `text` starts with `word` under the ASCII-case-insensitive comparison of the list's keys.
bool StartsWithWord(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(word[i])) return false;
  }
  return true;
}

constexpr std::string_view kParts[] = {"Last", "First", "MI"};

}  // namespace

std::optional<ContributorKey> ParseContributorKey(std::string_view line, std::string_view prefix, std::size_t limit) {
  std::string_view rest = line;
  if (rest.empty() || rest[0] != '*') return std::nullopt;
  rest.remove_prefix(1);
  if (!StartsWithWord(rest, prefix)) return std::nullopt;
  rest.remove_prefix(prefix.size());
  std::size_t digits = 0, index = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && index <= limit) {
    index = index * 10 + static_cast<std::size_t>(rest[digits] - '0');
    ++digits;
  }
  if (digits == 0 || (digits > 1 && rest[0] == '0') || index >= limit) return std::nullopt;
  rest.remove_prefix(digits);
  for (std::size_t p = 0; p < 3; ++p) {
    if (!StartsWithWord(rest, kParts[p]) || rest.size() <= kParts[p].size() || rest[kParts[p].size()] != '=') continue;
    return ContributorKey{index, static_cast<ContributorPart>(p), rest.substr(kParts[p].size() + 1)};
  }
  return std::nullopt;
}

void SaveContributors(const ContributorList& list, std::string_view prefix, TIniList& ini) {
  // One pass finds the lines that hold the list's keys already (each is replaced in place, as
  // SetListValue would); the other keys are appended. A search per key took time in N².
  std::vector<std::array<std::size_t, 3>> at(list.size(), {SIZE_MAX, SIZE_MAX, SIZE_MAX});
  for (std::size_t line = 0; line < ini.Count(); ++line) {
    const auto key = ParseContributorKey(ini[line], prefix, list.size());
    if (!key) continue;
    std::size_t& slot = at[key->index][static_cast<std::size_t>(key->part)];
    if (slot == SIZE_MAX) slot = line;
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string_view values[] = {list[i].last, list[i].first, list[i].middleInitial};
    for (std::size_t p = 0; p < 3; ++p) {
      std::string entry = Key(prefix, i, kParts[p]);
      entry.append("=").append(values[p]);
      if (at[i][p] != SIZE_MAX) ini[at[i][p]] = std::move(entry);
      else ini.Add(std::move(entry));
    }
  }
}

ContributorList LoadContributors(std::string_view prefix, const TIniList& ini) {
  // One pass over the lines instead of a search per key: each line "*<prefix><index><part>=value"
  // (the index as Key writes it, without leading zeros; the part "Last", "First" or "MI") fills
  // its place, the first line of a key counting as GetListValue's search would find it. An index
  // beyond the number of lines cannot be reached from 0 without a gap and is passed over.
  struct Found {
    std::string_view value[3] = {};  // Last, First, MI
    bool has[3] = {};
  };
  std::vector<Found> found;
  for (const std::string& line : ini.Lines()) {
    const auto key = ParseContributorKey(line, prefix, ini.Count());
    if (!key) continue;
    if (found.size() <= key->index) found.resize(key->index + 1);
    const auto p = static_cast<std::size_t>(key->part);
    if (!found[key->index].has[p]) {
      found[key->index].value[p] = key->value;
      found[key->index].has[p] = true;
    }
  }
  ContributorList list;
  for (const Found& entry : found) {
    if (!entry.has[0]) break;
    list.push_back({std::string(entry.value[0]), std::string(entry.value[1]), std::string(entry.value[2])});
  }
  return list;
}

}  // namespace citara
