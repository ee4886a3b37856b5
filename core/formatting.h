// The text rules that the source forms apply while they join an MLA or APA entry: title
// capitalization by style, the terminal-punctuation test, editions, page ranges, dates and the parts
// of web entries. Pure functions: no state, no errors, no user interface. Text is UTF-8 and a
// "character" is one code point.
#pragma once

#include <string>
#include <string_view>

#include "widgets/dates.h"

namespace citara {

// The style flag of every formatting routine. Exactly APA counts as APA; any other value as MLA.
enum class CitationStyle : int { MLA = 0, APA = 1 };
inline bool IsApa(CitationStyle style) { return style == CitationStyle::APA; }

// True when the last character is "!", "." or "?". False for empty text.
bool EndsWithTerminalPunctuation(std::string_view text);

// `text` unchanged when it ends with terminal punctuation, else text + suffix.
// AppendUnlessPunctuated("What now?", ".") -> "What now?".
std::string AppendUnlessPunctuated(std::string_view text, std::string_view suffix);

// The edition with its English ordinal and " ed." (APA) or " ed. " (MLA); empty for empty text.
// "1" -> "1st ed. ", "11" -> "11th ed. ", "22" -> "22nd ed. "; text not ending in a digit stays as
// typed: "Unabridged" -> "Unabridged ed. ".
std::string FormatEdition(std::string_view edition, CitationStyle style);

// The next segment of `title` after `offset` bytes: up to and including the first "-" or " ".
// "self-help guide" yields "self-", "help ", "guide".
std::string_view NextTitleWord(std::string_view title, std::size_t offset);

// True when the segment, less one trailing character outside "A".."z", upper-cased, is one of the
// 22 minor words (ON IN AND THE A WITH TO FROM ONTO UNTO INTO THROUGH OF FOR BY WITHOUT AN AS AT BUT
// OR IS). "of, " is looked up as "OF," and is not minor.
bool IsMinorWord(std::string_view segment);

// Raises the first character in place when it is a letter (letters are the only characters raised).
void CapitalizeFirst(std::string& text);

// Raises, for each ":", the first letter after it (spaces, digits and punctuation are skipped).
// "war: élan" -> "war: Élan".
void CapitalizeAfterColons(std::string& text);

// Title capitalization: MLA raises the first segment and every segment that is not a minor word;
// APA raises the first segment only; both then raise the first letter after each colon. Letters are
// only ever raised. "war and peace: a study" -> MLA "War and Peace: A Study", APA "War and peace: A study".
std::string CapitalizeTitle(std::string_view title, CitationStyle style);

// True when the pages text contains "-", "," or "+".
bool IsPageRange(std::string_view pages);

// "5 Jan. 1999" with the day, "Jan. 1999" without it; September is "Sept.".
std::string FormatMlaDate(bool includeDay, OleDate date);

// "(1999, January 5)" with the day, "(1999, January)" without it.
std::string FormatApaDate(bool includeDay, OleDate date);

// "<" + address + ">" + "." (the address unchanged).
std::string FormatWebAddress(std::string_view address);

// "Retrieved March 4, 2001, from " + address; the month is named in English.
std::string FormatRetrievalStatement(std::string_view address, OleDate date);

}  // namespace citara
