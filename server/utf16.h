// Text at the COM boundary: Citara keeps UTF-8, hosts pass UTF-16 (BSTR). The conversion is lossless
// both ways for every sequence of UTF-16 code units, unpaired surrogates included: such a surrogate
// is carried through the forms as its three-byte generalized UTF-8 form (which the forms copy as
// plain bytes) and comes back as the same code unit. Bytes that are not UTF-8 at all cannot come from
// a host; should a form hold one, it leaves as U+FFFD.
//
//   std::u16string wide = Utf16FromUtf8("\xC3\x89mile");  // u"Émile"
//   std::string narrow = Utf8FromUtf16(wide);            // "Émile" again
#pragma once

#include <string>
#include <string_view>

namespace citara::server {

std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace citara::server
