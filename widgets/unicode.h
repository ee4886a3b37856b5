// Unicode helpers for UTF-8 text: code point iteration, one-code-point upper-casing and letter tests.
//
// Citara keeps all text as UTF-8. Where a rule speaks of a "character" it means one code point.
// A byte that is not part of valid UTF-8 decodes to U+DC00 + its value (a lone surrogate, which no
// valid text decodes to, and which no rule raises or counts as a letter); AppendUtf8 writes it back
// as that byte, so text passed through these helpers is never altered.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace citara {

// Decodes the code point that starts at byte `pos` of `text` and advances `pos` past it.
// Precondition: pos < text.size(). An invalid sequence yields U+DC00 + its first byte and advances
// by one.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Appends the UTF-8 encoding of `cp` to `out`.
void AppendUtf8(std::string& out, char32_t cp);

// Byte length of the code point starting at `pos` (1 for an invalid byte).
std::size_t Utf8Length(std::string_view text, std::size_t pos);

// Number of code points in `text`.
std::size_t CodePointCount(std::string_view text);

// The upper-case form of one code point by Unicode's simple case mapping for the Latin, Greek,
// Cyrillic and Armenian alphabets (a..z always become A..Z); other code points are returned as is.
// It does not depend on the machine's locale, so an entry reads the same everywhere.
char32_t ToUpper(char32_t cp);

// True for a letter of an alphabet or script (Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic,
// the Indic scripts, Thai, Georgian, Hangul, kana and the CJK ideographs); false for spaces, digits,
// punctuation and symbols.
bool IsLetter(char32_t cp);

// Raises the first code point of `text` in place (nothing when empty).
void UpperFirstInPlace(std::string& text);

// Returns the text of the first code point of `text` (empty when `text` is empty).
std::string_view FirstCodePoint(std::string_view text);

// Returns the text of the last code point of `text` (empty when `text` is empty).
std::string_view LastCodePoint(std::string_view text);

}  // namespace citara
