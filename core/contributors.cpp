#include "core/contributors.h"

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

std::string Join(const std::vector<std::string>& names, const JoinRule& rule) {
  std::string out;
  if (names.size() >= rule.shortForm) {
    for (std::size_t i = 0; i < rule.shown; ++i) {
      if (i > 0) out += rule.separator;
      out += names[i];
    }
    out += rule.etAl;
    return out;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) {
      if (names.size() == 2) out += rule.pairSeparator;
      else out += (i + 1 == names.size()) ? rule.lastSeparator : rule.separator;
    }
    out += names[i];
  }
  return out;
}

// Appends `ending` to a joined name text, less its leading "." when the text already ends in ".",
// so that a name ending with an initial or "Jr." never gets a doubled period.
std::string Close(std::string text, std::string_view ending) {
  if (!text.empty() && text.back() == '.' && !ending.empty() && ending.front() == '.') ending.remove_prefix(1);
  text += ending;
  return text;
}

ContributorList WithoutBlanks(const ContributorList& list) {
  ContributorList out = list;
  RemoveEmptyEntries(out);
  return out;
}

std::string Key(std::string_view prefix, std::size_t index, std::string_view part) {
  std::string key = "*";
  key.append(prefix).append(std::to_string(index)).append(part);
  return key;
}

}  // namespace

std::string FormatInvertedName(std::string_view last, std::string_view first, std::string_view middle,
                               CitationStyle style) {
  const bool apa = IsApa(style);
  std::string out(last);
  if (!last.empty()) {
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
    return out;
  }
  out = first;
  if (!middle.empty()) {
    if (!first.empty()) out += " ";
    out.append(middle).append(".");
  }
  return out;
}

std::string FormatDirectName(std::string_view last, std::string_view first, std::string_view middle) {
  std::string out(first);
  if (!middle.empty()) {
    if (!out.empty()) out += " ";
    out.append(middle).append(".");
  }
  if (!last.empty()) {
    if (!out.empty()) out += " ";
    out += last;
  }
  return out;
}

std::vector<std::string> FormatNameList(const ContributorList& list, CitationStyle style) {
  std::vector<std::string> names;
  names.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Contributor& c = list[i];
    if (i == 0 || IsApa(style)) names.push_back(FormatInvertedName(c.last, c.first, c.middleInitial, style));
    else names.push_back(FormatDirectName(c.last, c.first, c.middleInitial));
  }
  return names;
}

void RemoveEmptyEntries(ContributorList& list) {
  std::erase_if(list, [](const Contributor& c) { return c.IsBlank(); });
}

std::string FormatPrimaryNames(const ContributorList& list, CitationStyle style) {
  const std::vector<std::string> names = FormatNameList(WithoutBlanks(list), style);
  if (names.empty()) return {};
  if (IsApa(style)) {
    static constexpr JoinRule apa{7, 6, ", ", ", & ", ", & ", ", et al."};
    return Join(names, apa) + " ";
  }
  static constexpr JoinRule mla{4, 1, ", ", ", and ", ", and ", ", et al."};
  return Close(Join(names, mla), ". ");
}

std::string FormatSecondaryNames(const ContributorList& list, bool afterPrimary, CitationStyle style) {
  const ContributorList entries = WithoutBlanks(list);
  if (entries.empty()) return {};
  if (IsApa(style)) {
    static constexpr JoinRule apa{6, 1, ", ", ", & ", ", & ", ", et al."};
    return Join(FormatNameList(entries, style), apa) + (entries.size() == 1 ? " (Ed.). " : " (Eds.). ");
  }
  if (afterPrimary) {
    std::vector<std::string> names;
    for (const Contributor& c : entries) names.push_back(FormatDirectName(c.last, c.first, c.middleInitial));
    static constexpr JoinRule mla{4, 1, ", ", ", and ", " and ", ", et al."};
    const std::string joined = "Ed. " + Join(names, mla);
    return entries.size() >= 4 ? joined + " " : Close(joined, ". ");
  }
  static constexpr JoinRule mla{4, 1, ", ", ", and ", ", and ", ", et al."};
  const std::string joined = Join(FormatNameList(entries, style), mla);
  if (entries.size() >= 4) return joined + ", eds. ";
  return joined + (entries.size() == 1 ? ", ed. " : ", eds. ");
}

void SaveContributors(const ContributorList& list, std::string_view prefix, TIniList& ini) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    SetListValue(ini, Key(prefix, i, "Last"), list[i].last);
    SetListValue(ini, Key(prefix, i, "First"), list[i].first);
    SetListValue(ini, Key(prefix, i, "MI"), list[i].middleInitial);
  }
}

ContributorList LoadContributors(std::string_view prefix, const TIniList& ini) {
  ContributorList list;
  for (std::size_t i = 0;; ++i) {
    const std::string lastKey = Key(prefix, i, "Last");
    if (!HasListValue(ini, lastKey)) break;
    list.push_back({GetListValue(ini, lastKey, ""), GetListValue(ini, Key(prefix, i, "First"), ""),
                    GetListValue(ini, Key(prefix, i, "MI"), "")});
  }
  return list;
}

}  // namespace citara
