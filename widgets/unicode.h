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

// The UTF-8 codec under both: decodes the well-formed sequence at byte `pos` of `text` into `cp`
// and advances `pos` past it; with `surrogates`, also the three-byte form of a surrogate code
// point (U+D800..U+DFFF), in which Citara carries an unpaired UTF-16 surrogate (utf16.h). Returns
// false, leaving `pos`, for anything else: a stray or missing continuation byte, an overlong form,
// a value past U+10FFFF, a lead byte that starts nothing. Precondition: pos < text.size().
bool DecodeUtf8Sequence(std::string_view text, std::size_t& pos, char32_t& cp, bool surrogates);
// Appends the UTF-8 sequence of any code point up to U+10FFFF, a surrogate in its three-byte form.
void AppendUtf8Sequence(std::string& out, char32_t cp);

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
