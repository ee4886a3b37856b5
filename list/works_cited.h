// The list of works cited: many sources in, every entry made by the forms' own rules, sorted by the
// style's rule, as one format-neutral result that the writers (list/list_writers.h) render.
//
//   WorksCitedBuilder list(*FindListStyle("mla"));
//   for (const SourceValues& source : sources) list.Add(source);   // the entry is made here
//   WorksCited done = std::move(list).Finish();                     // sorted, "---. ", year letters
//   for (const Citation& entry : done.entries) ...
//
// A style is a small value: which entry rule, which sort family, which heading. The two families:
// - MLA-like: by the first author's last name, first name and middle initial, an author alone
//   before the same author with others, then the further authors in order, then the title; an
//   entry without authors by its own text (its first element, the title as a rule). A second and
//   later work by exactly the same authors in the same order begins "---. " in place of the names.
// - APA-like: by the first author's surname and initials, one author before several, then the
//   further authors, then the year (a year that is not a number, "n.d.", before the numbered
//   years, earliest first), then the title; an entry without authors by its own text, then its
//   year. Works by exactly the same authors in the same year get "a", "b", ... after the year in
//   the order of their titles: "(1998a)", "(1998b, May 3)", "(n.d.-a)".
// Texts compare folded (list/collation.h), a leading "A", "An" or "The" and any characters before
// the first letter or digit skipped where a title or an entry's own text is the key. Names equal
// when folded are ordered by their spelling (lower-cased, then exact: CompareForSort), so works by
// exactly the same authors stay together; then come the title, then the entry's text
// (CompareForSort), and last the order the sources were added.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/citation.h"
#include "core/contributors.h"
#include "core/source_values.h"

namespace citara {

enum class SortFamily { Mla, Apa };

struct ListStyle {
  std::string_view name;     // "mla": how the command line names it
  std::string_view heading;  // "Works Cited"
  SortFamily family;
  Citation (*entry)(const SourceValues&);               // the form's entry rule of the style
  std::string (*leadNames)(const ContributorList&);     // the authors' name text an entry begins with
};

// mla, apa.
std::span<const ListStyle> ListStyles();
// The style named `name` (ASCII case ignored); nullptr when none.
const ListStyle* FindListStyle(std::string_view name);

struct WorksCited {
  std::string_view heading;
  std::vector<Citation> entries;  // in the list's order
};

class WorksCitedBuilder {
 public:
  explicit WorksCitedBuilder(const ListStyle& style) : style_(&style) {}

  // Makes the source's entry and its sort key; the values are not kept.
  void Add(const SourceValues& source);
  std::size_t Size() const { return items_.size(); }

  // The sorted list with its "---. " and year letters.
  WorksCited Finish() &&;

 private:
  struct Item {
    Citation citation;
    std::string key;        // the sort key; ties are broken by the entry's text
    std::string authors;    // the authors exactly as typed, one after the other; empty for none
    std::size_t namesEnd;   // the entry begins with the names text [0, namesEnd); 0 when it does not
    std::size_t yearEnd;    // where a year letter goes (npos: no year found)
    std::string year;       // the year as the entry prints it ("1998", "n.d.")
  };

  const ListStyle* style_;
  std::vector<Item> items_;
};

// A text without the characters before its first letter or digit and without a leading "A ",
// "An " or "The " (ASCII case ignored): "“The Tide.” Ocean" gives "Tide.” Ocean".
std::string_view SkipLeadingArticle(std::string_view text);

// The letters after a year for the n-th work (from 0) of one author and year: "a" ... "z", "aa", "ab", ...
std::string YearLetters(std::size_t n);

}  // namespace citara
