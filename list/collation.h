// The comparison the list of works cited sorts by: texts are folded (case and accents dropped,
// marks and format characters ignored) and the folded texts compared code point by code point.
// The same data folds on every target (list/fold_table.inc, generated from the Unicode Character
// Database by list/make_fold_table.py, which states the rule), so a list is in the same order
// natively and in the Windows build.
//
//   AppendSortFold(key, "Åberg");   // key += "aberg"
//   AppendSortFold(key, "Łukasiewicz");  // "lukasiewicz": after "lukas", before "lukasz"
//
// Folded UTF-8 compares by its bytes in code point order; a folded text never holds a byte below
// 0x20, so the sort keys use those bytes to separate their parts.
#pragma once

#include <string>
#include <string_view>

namespace citara {

// Appends the folded form of `text` (UTF-8) to `out`.
void AppendSortFold(std::string& out, std::string_view text);

inline std::string SortFold(std::string_view text) {
  std::string out;
  AppendSortFold(out, text);
  return out;
}

// Appends `text` with every letter lowered by the simple lower-case mapping, accents kept.
void AppendSortLower(std::string& out, std::string_view text);

// The order of two texts: by their folded forms; equal ones by their lower-cased forms (an
// accented letter after the plain one, by code point), then by their exact texts (code points).
// Negative, zero or positive.
int CompareForSort(std::string_view a, std::string_view b);

// The Unicode version the fold table was generated from.
std::string_view SortFoldUnicodeVersion();

}  // namespace citara
