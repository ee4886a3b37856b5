#include "core/editions.h"

#include "core/formatting.h"
#include "widgets/unicode.h"

namespace citara {
namespace {

// How a list of names is joined: `pair` between exactly two, `separator` between more with
// `last` before the final one; from `cutFrom` names on, the first `shown`, then `cut` and the
// final name (`cut` empty: the first `shown` and then `cut` ends the list, as "et al." does).
struct ListRule {
  std::string_view pair, separator, last;
  std::size_t cutFrom, shown;
  std::string_view cut;
  bool finalAfterCut;
};

constexpr ListRule kApa7List{", & ", ", ", ", & ", 21, 19, ", . . . ", true};
constexpr ListRule kApa7DirectList{" & ", ", ", ", & ", 21, 19, ", . . . ", true};
constexpr ListRule kMla9List{", and ", "", "", 3, 1, ", et al.", false};
constexpr ListRule kMla9DirectList{" and ", "", "", 3, 1, " et al.", false};

template <class Name>
std::string Join(const ContributorList& list, const ListRule& rule, Name name) {
  std::string out;
  const std::size_t count = list.size();
  if (count >= rule.cutFrom) {
    for (std::size_t i = 0; i < rule.shown; ++i) {
      if (i > 0) out += rule.separator;
      out += name(list[i], i);
    }
    out += rule.cut;
    if (rule.finalAfterCut) out += name(list.back(), count - 1);
    return out;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out += count == 2 ? rule.pair : (i + 1 == count ? rule.last : rule.separator);
    out += name(list[i], i);
  }
  return out;
}

std::string MlaInverted(const Contributor& c) {
  return FormatInvertedName(c.last, c.first, c.middleInitial, CitationStyle::MLA);
}
std::string MlaDirect(const Contributor& c) { return FormatDirectName(c.last, c.first, c.middleInitial); }

// The initials of a contributor's first name and middle initial, "E. M."; empty for neither.
std::string GivenInitials(const Contributor& c) {
  std::string out = Apa7Initials(c.first);
  const std::string middle = Apa7Initials(c.middleInitial);
  if (!out.empty() && !middle.empty()) out += ' ';
  return out + middle;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch; };
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::string_view kEnDash = "\u2013";

}  // namespace

// --- Names ---

std::string Apa7Initials(std::string_view given) {
  std::string out;
  bool partStart = true, hyphen = false;  // a hyphen joins the next part's initial to the last
  for (std::size_t pos = 0; pos < given.size();) {
    const char c = given[pos];
    if (c == ' ' || c == '-') {
      hyphen = hyphen || c == '-';
      partStart = true;
      ++pos;
      continue;
    }
    if (partStart) {
      if (!out.empty()) out += hyphen ? '-' : ' ';
      out += FirstCodePoint(given.substr(pos));
      out += '.';
      partStart = hyphen = false;
    }
    pos += Utf8Length(given, pos);
  }
  return out;
}

std::string Apa7InvertedName(const Contributor& c) {
  const std::string initials = GivenInitials(c);
  if (c.last.empty()) return initials;
  return initials.empty() ? c.last : c.last + ", " + initials;
}

std::string Apa7DirectName(const Contributor& c) {
  const std::string initials = GivenInitials(c);
  if (initials.empty() || c.last.empty()) return initials + c.last;
  return initials + " " + c.last;
}

std::string Apa7Names(const ContributorList& list) {
  return Join(list, kApa7List, [](const Contributor& c, std::size_t) { return Apa7InvertedName(c); });
}

std::string Apa7DirectNames(const ContributorList& list) {
  return Join(list, kApa7DirectList, [](const Contributor& c, std::size_t) { return Apa7DirectName(c); });
}

std::string Mla9Names(const ContributorList& list) {
  return Join(list, kMla9List,
              [](const Contributor& c, std::size_t i) { return i == 0 ? MlaInverted(c) : MlaDirect(c); });
}

std::string Mla9DirectNames(const ContributorList& list) {
  return Join(list, kMla9DirectList, [](const Contributor& c, std::size_t) { return MlaDirect(c); });
}

bool PublisherIsAuthor(const ContributorList& authors, std::string_view publisher) {
  if (authors.size() != 1 || publisher.empty()) return false;
  const Contributor& only = authors.front();
  return only.first.empty() && only.middleInitial.empty() && only.last == publisher;
}

// --- Elements ---

std::string Element(std::string_view text) {
  if (text.empty()) return {};
  std::string out = AppendUnlessPunctuated(text, ".");
  out += ' ';
  return out;
}

std::string Apa7AuthorElement(const ContributorList& authors) { return Element(Apa7Names(authors)); }

std::string Apa7EditorElement(const ContributorList& editors) {
  if (editors.empty()) return {};
  return Apa7Names(editors) + (editors.size() == 1 ? " (Ed.). " : " (Eds.). ");
}

std::string Apa7EditorsBeside(const ContributorList& editors) {
  if (editors.empty()) return {};
  return Apa7DirectNames(editors) + (editors.size() == 1 ? ", Ed." : ", Eds.");
}

std::string Mla9QuotedTitle(std::string_view title) {
  if (title.empty()) return {};
  std::string out = "\"";  // appended, not "\"" + text: GCC 12 warns falsely on that form
  out.append(AppendUnlessPunctuated(CapitalizeTitle(title, CitationStyle::MLA), ".")).append("\" ");
  return out;
}

std::string Mla9AuthorElement(const ContributorList& authors) { return Element(Mla9Names(authors)); }

std::string Mla9EditorElement(const ContributorList& editors) {
  if (editors.empty()) return {};
  return Mla9Names(editors) + (editors.size() == 1 ? ", editor. " : ", editors. ");
}

std::string Mla9EditedBy(const ContributorList& editors) {
  return editors.empty() ? std::string() : "Edited by " + Mla9DirectNames(editors);
}

std::string Mla9Elements(std::span<const std::string_view> elements) {
  std::string out;
  for (std::string_view element : elements) {
    if (element.empty()) continue;
    if (!out.empty()) out += ", ";
    out += element;
  }
  return Element(out);
}

Citation Finished(CitationBuilder&& b) {
  Citation c = std::move(b).Finish();
  if (!c.text.empty() && c.text.back() == ' ') {
    c.text.pop_back();
    if (c.italicEnd > c.text.size()) c.italicEnd = c.text.size();
  }
  return c;
}

// --- Dates ---

std::string Apa7YearDate(std::string_view year) {
  std::string out = "(";
  out.append(year.empty() ? std::string_view("n.d.") : year).append("). ");
  return out;
}

std::string Apa7Date(OleDate date, DateDetail detail) {
  if (detail == DateDetail::Year) return Apa7YearDate(std::to_string(YearOf(date)));
  return FormatApaDate(detail == DateDetail::Day, date) + ". ";
}

std::string Mla9Date(OleDate date, DateDetail detail) {
  if (detail == DateDetail::Year) return std::to_string(YearOf(date));
  return FormatMlaDate(detail == DateDetail::Day, date);
}

std::string Mla9Accessed(OleDate date) { return "Accessed " + FormatMlaDate(true, date) + ". "; }

// --- Pages ---

std::string EnDashRanges(std::string_view pages) {
  std::string out;
  out.reserve(pages.size() + 4);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const bool between = pages[i] == '-' && i > 0 && i + 1 < pages.size() && IsDigit(pages[i - 1]) && IsDigit(pages[i + 1]);
    if (between) out += kEnDash;
    else out += pages[i];
  }
  return out;
}

std::string CutMlaRanges(std::string_view pages) {
  const std::string dashed = EnDashRanges(pages);
  std::string out;
  out.reserve(dashed.size());
  std::size_t pos = 0;
  while (pos < dashed.size()) {
    const std::size_t dash = dashed.find(kEnDash, pos);
    if (dash == std::string::npos) break;
    // The digits on each side of the dash (EnDashRanges put it between two digits).
    std::size_t first = dash;
    while (first > pos && IsDigit(dashed[first - 1])) --first;
    const std::size_t secondStart = dash + kEnDash.size();
    std::size_t secondEnd = secondStart;
    while (secondEnd < dashed.size() && IsDigit(dashed[secondEnd])) ++secondEnd;
    const std::string_view a = std::string_view(dashed).substr(first, dash - first);
    const std::string_view b = std::string_view(dashed).substr(secondStart, secondEnd - secondStart);
    out.append(dashed, pos, secondStart - pos);
    const bool cut = a.size() >= 3 && a.size() == b.size() && a.substr(0, a.size() - 2) == b.substr(0, b.size() - 2);
    out += cut ? b.substr(b.size() - 2) : b;
    pos = secondEnd;
  }
  out.append(dashed, pos);
  return out;
}

std::string Apa7Pages(std::string_view pages) {
  if (pages.empty()) return {};
  return (IsPageRange(pages) ? "pp. " : "p. ") + EnDashRanges(pages);
}

std::string Mla9Pages(std::string_view pages) {
  if (pages.empty()) return {};
  return (IsPageRange(pages) ? "pp. " : "p. ") + CutMlaRanges(pages);
}

// --- Locations ---

namespace {
constexpr std::string_view kDoi = "DOI";
constexpr std::string_view kVariablesRead[] = {kDoi};
}  // namespace

std::span<const std::string_view> CslVariablesTheRulesRead() { return kVariablesRead; }

std::string DoiLink(const FormValues& v) {
  std::string_view doi = v.CslVariable(kDoi);
  while (!doi.empty() && doi.front() == ' ') doi.remove_prefix(1);
  while (!doi.empty() && doi.back() == ' ') doi.remove_suffix(1);
  for (std::string_view prefix : {"https://doi.org/", "http://doi.org/", "https://dx.doi.org/", "http://dx.doi.org/", "doi:"}) {
    if (StartsWithIgnoringAsciiCase(doi, prefix)) {
      doi.remove_prefix(prefix.size());
      break;
    }
  }
  while (!doi.empty() && doi.front() == ' ') doi.remove_prefix(1);
  return doi.empty() ? std::string() : "https://doi.org/" + std::string(doi);
}

std::string_view WithoutHttpScheme(std::string_view url) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (StartsWithIgnoringAsciiCase(url, scheme)) return url.substr(scheme.size());
  }
  return url;
}

}  // namespace citara
