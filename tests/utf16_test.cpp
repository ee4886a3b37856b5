// The one conversion between Citara's UTF-8 and the UTF-16 of Windows and COM hosts: lossless for
// every sequence of UTF-16 code units, unpaired surrogates included, and U+FFFD for each byte of
// UTF-8 that is no text; the model's own decoding keeps such bytes as they are.
#include <gtest/gtest.h>

#include "widgets/unicode.h"
#include "widgets/utf16.h"

namespace citara {
namespace {

TEST(Utf16, ConversionIsLosslessForEveryUnitSequence) {
  static const struct {
    const char* what;
    std::u16string wide;
    std::string narrow;
  } cases[] = {
      {"ASCII", u"Smith", "Smith"},
      {"Latin-1", u"\u00C9mile", "\xC3\x89mile"},
      {"Cyrillic", u"\u0416", "\xD0\x96"},
      {"the last code point of three bytes", u"\uFFFF", "\xEF\xBF\xBF"},
      {"a surrogate pair is one code point", u"\xD835\xDC00", "\xF0\x9D\x90\x80"},
      {"the last code point", u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},
      {"an unpaired high surrogate", u"a\xD800z", "a\xED\xA0\x80z"},
      {"an unpaired low surrogate", u"\xDC00", "\xED\xB0\x80"},
      {"a low before a high surrogate", u"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"},
      {"a high surrogate at the end", u"ab\xDBFF", "ab\xED\xAF\xBF"},
      {"an embedded NUL", std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
      {"empty", u"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf8FromUtf16(c.wide), c.narrow);
    EXPECT_EQ(Utf16FromUtf8(c.narrow), c.wide);
  }
}

// Bytes that are no UTF-8 cannot come from a host; each byte that starts no sequence is one U+FFFD,
// and decoding goes on at the next byte, so the text after it is never lost.
TEST(Utf16, EachByteThatIsNoTextBecomesOneReplacementCharacter) {
  static const struct {
    const char* what;
    std::string narrow;
    std::u16string wide;
  } cases[] = {
      {"a byte that starts nothing", "a\xFF" "b", u"a\xFFFD" "b"},
      {"a stray continuation byte", "\x80" "a", u"\xFFFD" "a"},
      {"a sequence cut off at the end", "a\xC3", u"a\xFFFD"},
      {"a sequence cut off before ASCII", "\xE2\x82" "a", u"\xFFFD\xFFFD" "a"},
      {"an overlong slash", "\xC0\xAF", u"\xFFFD\xFFFD"},
      {"an overlong three-byte form", "\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"a five-byte lead", "\xF8\x88\x80\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"valid text around invalid bytes", "\xC3\xA9\xFE\xC3\xA9", u"\u00E9\xFFFD\u00E9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf16FromUtf8(c.narrow), c.wide);
  }
}

// Inside the model the same bytes survive every rule unchanged: they decode to the escapes
// U+DC80..U+DCFF, which AppendUtf8 writes back as the bytes; a surrogate's three-byte form is no
// code point to the rules and is kept byte for byte too.
TEST(Utf16, TheModelKeepsWhatTheBoundaryReplacesOrCarries) {
  for (const std::string& text : {std::string("a\xFF" "b\xC3"), std::string("a\xED\xA0\x80z")}) {
    std::string again;
    for (std::size_t pos = 0; pos < text.size();) AppendUtf8(again, DecodeUtf8(text, pos));
    EXPECT_EQ(again, text);
  }
  EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8("a\xED\xA0\x80z")), "a\xED\xA0\x80z");
}

}  // namespace
}  // namespace citara
