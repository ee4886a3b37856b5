#include "server/bstr.h"

#include <algorithm>
#include <new>

#include "server/utf16.h"

namespace citara::server {

std::string TextOf(BSTR text) {
  if (text == nullptr) return {};
  const UINT length = SysStringLen(text);
  std::u16string units(length, u'\0');
  for (UINT i = 0; i < length; ++i) units[i] = static_cast<char16_t>(text[i]);
  return Utf8FromUtf16(units);
}

namespace {

BSTR Allocate(std::size_t length) {
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (result == nullptr) throw std::bad_alloc();
  return result;
}

}  // namespace

BSTR MakeBstr(std::string_view text) {
  // ASCII (every RTF entry is) is widened in place, without a UTF-16 copy in between.
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    BSTR result = Allocate(text.size());
    std::copy(text.begin(), text.end(), result);
    return result;
  }
  const std::u16string units = Utf16FromUtf8(text);
  BSTR result = Allocate(units.size());
  std::copy(units.begin(), units.end(), result);
  return result;
}

}  // namespace citara::server
