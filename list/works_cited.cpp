#include "list/works_cited.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "collection/forms.h"
#include "list/collation.h"
#include "widgets/unicode.h"

namespace citara {
namespace {

// Separators inside a sort key, below every byte of a folded text.
constexpr char kPart = '\x01';      // between the parts of one name
constexpr char kAlone = '\x02';     // the first author wrote alone ...
constexpr char kWithOthers = '\x03';  // ... or with others, who follow
constexpr char kYear = '\x04';
constexpr char kExact = '\x05';
constexpr char kTitle = '\x06';
constexpr char kPerson = '\x1F';    // between the names of the exact author text

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

const ListStyle kListStyles[] = {
    {"mla", "Works Cited", SortFamily::Mla, [](const SourceValues& v) { return v.Form().mla(v); },
     [](const ContributorList& a) { return FormatPrimaryNames(a, CitationStyle::MLA); }},
    {"apa", "References", SortFamily::Apa, [](const SourceValues& v) { return v.Form().apa(v); },
     [](const ContributorList& a) { return FormatPrimaryNames(a, CitationStyle::APA); }},
    {"mla9", "Works Cited", SortFamily::Mla, [](const SourceValues& v) { return v.Form().mla9(v); },
     [](const ContributorList& a) { return FormatPrimaryNames(a, CitationStyle::MLA); }},
    {"apa7", "References", SortFamily::Apa, [](const SourceValues& v) { return v.Form().apa7(v); },
     [](const ContributorList& a) { return FormatPrimaryNames(a, CitationStyle::APA); }},
};

// One name's part of the key: MLA last name, first name, middle initial; APA surname and initials.
void AppendNameKey(std::string& key, const Contributor& c, SortFamily family) {
  AppendSortFold(key, c.last);
  key += kPart;
  if (family == SortFamily::Mla) {
    AppendSortFold(key, c.first);
    key += kPart;
    AppendSortFold(key, c.middleInitial);
  } else {
    AppendSortFold(key, FirstCodePoint(c.first));
    AppendSortFold(key, FirstCodePoint(c.middleInitial));
  }
  key += kPart;
}

// The year an APA-like entry gives after its names: the digits that open the first parenthesis
// after `from` whose text begins with a digit and ends the digits at ")" or ",". Returns the
// position after the digits (npos when there is none) and sets `year`.
std::size_t FindYear(const std::string& text, std::size_t from, std::string& year) {
  for (std::size_t open = text.find('(', from); open != std::string::npos; open = text.find('(', open + 1)) {
    std::size_t end = open + 1;
    while (end < text.size() && IsAsciiDigit(text[end])) ++end;
    if (end > open + 1 && end < text.size() && (text[end] == ')' || text[end] == ',')) {
      year.assign(text, open + 1, end - open - 1);
      return end;
    }
  }
  return std::string::npos;
}

// Replaces text[at, at + length) of an entry, keeping its italic run on the same characters.
void ReplaceInEntry(Citation& c, std::size_t at, std::size_t length, std::string_view by) {
  c.text.replace(at, length, by);
  const auto shift = [&](std::size_t& pos) {
    if (pos >= at + length) pos = pos - length + by.size();
    else if (pos > at) pos = at;
  };
  if (c.HasItalics()) {
    shift(c.italicBegin);
    shift(c.italicEnd);
    if (c.italicEnd <= c.italicBegin) c.italicBegin = c.italicEnd = 0;
  }
}

}  // namespace

std::span<const ListStyle> ListStyles() { return kListStyles; }

const ListStyle* FindListStyle(std::string_view name) {
  for (const ListStyle& s : kListStyles) {
    if (EqualsIgnoringAsciiCase(s.name, name)) return &s;
  }
  return nullptr;
}

std::string_view SkipLeadingArticle(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t next = pos;
    const char32_t cp = DecodeUtf8(text, next);
    if (IsLetter(cp) || (cp >= '0' && cp <= '9')) break;
    pos = next;
  }
  text.remove_prefix(pos);
  for (std::string_view article : {"A ", "An ", "The "}) {
    if (text.size() > article.size() && EqualsIgnoringAsciiCase(text.substr(0, article.size()), article)) {
      return text.substr(article.size());
    }
  }
  return text;
}

std::string YearLetters(std::size_t n) {
  std::string letters;
  for (++n; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), static_cast<char>('a' + (n - 1) % 26));
  return letters;
}

void WorksCitedBuilder::Add(const SourceValues& source) {
  const SortFamily family = style_->family;
  Item item{style_->entry(source), {}, {}, 0, std::string::npos, {}};
  const ContributorList& authors = source.Authors();
  const std::string& text = item.citation.text;
  if (!authors.empty()) {
    const std::string names = style_->leadNames(authors);
    if (!names.empty() && text.starts_with(names)) item.namesEnd = names.size();
    for (const Contributor& c : authors) {
      item.authors.append(c.last).append(1, kPart).append(c.first).append(1, kPart).append(c.middleInitial);
      item.authors += kPerson;
    }
  }
  if (family == SortFamily::Apa) item.yearEnd = FindYear(text, item.namesEnd, item.year);

  std::string& key = item.key;
  key.reserve(2 * text.size() + item.authors.size() + 16);
  if (authors.empty()) {
    AppendSortFold(key, SkipLeadingArticle(text));
  } else {
    AppendNameKey(key, authors.front(), family);
    key += authors.size() == 1 ? kAlone : kWithOthers;
    for (std::size_t i = 1; i < authors.size(); ++i) AppendNameKey(key, authors[i], family);
    if (family == SortFamily::Apa) {
      // The year as a number: "" (none) first, then by value, whatever its number of digits.
      key += kYear;
      key += static_cast<char>('0' + std::min<std::size_t>(item.year.size(), 9));
      key += item.year;
    }
    key += kExact;
    AppendSortLower(key, item.authors);
    key += kExact;
    key += item.authors;
    std::string_view title = source.Text(source.Form().titleField);
    if (title.empty()) {  // a form without a title field: the entry's text after its names and year
      std::size_t from = item.namesEnd;
      if (item.yearEnd != std::string::npos) from = std::min(text.size(), text.find(')', item.yearEnd) + 1);
      title = std::string_view(text).substr(from);
    }
    key += kTitle;
    AppendSortFold(key, SkipLeadingArticle(title));
  }
  items_.push_back(std::move(item));
}

WorksCited WorksCitedBuilder::Finish() && {
  // The items stay where they are; the sort moves pointers. Equal keys are rare: only then are the
  // entries' texts compared.
  std::vector<Item*> order(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i) order[i] = &items_[i];
  std::stable_sort(order.begin(), order.end(), [](const Item* a, const Item* b) {
    if (const int c = a->key.compare(b->key); c != 0) return c < 0;
    return CompareForSort(a->citation.text, b->citation.text) < 0;
  });
  WorksCited list{style_->heading, {}};
  list.entries.reserve(order.size());
  const auto sameAuthors = [](const Item& a, const Item& b) { return !a.authors.empty() && a.authors == b.authors; };
  for (std::size_t i = 0; i < order.size();) {
    Item& item = *order[i];
    if (style_->family == SortFamily::Mla) {
      if (i > 0 && item.namesEnd > 0 && sameAuthors(*order[i - 1], item)) {
        ReplaceInEntry(item.citation, 0, item.namesEnd, "---. ");
      }
      list.entries.push_back(std::move(item.citation));
      ++i;
      continue;
    }
    // APA: a run of works by exactly the same authors in the same year gets its letters.
    std::size_t end = i + 1;
    while (end < order.size() && sameAuthors(item, *order[end]) && order[end]->year == item.year) ++end;
    for (std::size_t k = i; k < end; ++k) {
      Item& work = *order[k];
      if (end - i > 1 && work.yearEnd != std::string::npos) ReplaceInEntry(work.citation, work.yearEnd, 0, YearLetters(k - i));
      list.entries.push_back(std::move(work.citation));
    }
    i = end;
  }
  items_.clear();
  return list;
}

}  // namespace citara
