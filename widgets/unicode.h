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

// The offset of the first byte of `text` that is not part of well-formed UTF-8 (as
// DecodeUtf8Sequence without surrogates reads it), or npos when all of it is. Runs of ASCII are
// passed over eight bytes at a time.
std::size_t FirstNonUtf8(std::string_view text);

// Byte length of the code point starting at `pos` (1 for an invalid byte).
std::size_t Utf8Length(std::string_view text, std::size_t pos);

// Number of code points in `text`.
std::size_t CodePointCount(std::string_view text);

// The upper-case form of one code point by the Unicode Character Database's simple (one-to-one)
// mapping, for the whole code space: 'a' -> 'A', U+00E9 -> U+00C9, U+2C65 -> U+023A, U+03C2 -> U+03A3;
// a code point without a mapping (digits, U+00DF, CJK, U+DC80..U+DCFF) is returned as it is. The
// tables are generated from the database (widgets/make_unicode_tables.py), so the answer does not
// depend on the machine or its locale and an entry reads the same everywhere.
char32_t ToUpper(char32_t cp);

// True when the code point's general category is a letter (Lu, Ll, Lt, Lm or Lo) in the same
// database: U+00E9, U+2C65, U+05D0, U+0915, U+4E2D; false for digits of any script (U+0966),
// punctuation (U+0387), symbols, marks and everything unassigned.
bool IsLetter(char32_t cp);

// ToUpper(cp) when cp is a letter, cp otherwise: the title rules raise only letters (U+24D0 CIRCLED
// SMALL A and U+0345, a combining mark, have upper-case mappings and stay as they are).
char32_t RaiseLetter(char32_t cp);

// The version of the Unicode Character Database the tables come from, such as "15.0.0".
std::string_view UnicodeVersion();

// Raises the first code point of `text` in place when it is a letter (RaiseLetter; nothing when
// empty).
void UpperFirstInPlace(std::string& text);

// Returns the text of the first code point of `text` (empty when `text` is empty).
std::string_view FirstCodePoint(std::string_view text);

// Returns the text of the last code point of `text` (empty when `text` is empty).
std::string_view LastCodePoint(std::string_view text);

}  // namespace citara
