// Text between Citara's UTF-8 and the UTF-16 of Windows and COM hosts (BSTR, window texts, the
// clipboard), the one conversion of both servers and every other caller.
//
// UTF-16 to UTF-8 is lossless for every sequence of code units: a pair is one code point, and an
// unpaired surrogate travels as its three-byte form (which the forms copy as plain bytes), so
// whatever a host passes in comes back unit for unit. UTF-8 to UTF-16 decodes well-formed UTF-8 and
// those three-byte surrogate forms; every byte that starts no such sequence (a stray continuation
// byte, a cut-off, overlong or out-of-range sequence) becomes one U+FFFD: such bytes cannot come
// from a host, and a UTF-16 text has no better way to say that a byte was not text.
//
//   std::u16string wide = Utf16FromUtf8("\xC3\x89mile");  // u"Émile"
//   std::string narrow = Utf8FromUtf16(wide);            // "Émile" again
//   Utf16FromUtf8("a\xFF");                               // u"a\uFFFD"
#pragma once

#include <string>
#include <string_view>

namespace citara {

std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace citara
