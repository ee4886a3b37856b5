#include "server/bstr.h"

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

BSTR MakeBstr(std::string_view text) {
  const std::u16string units = Utf16FromUtf8(text);
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units.size()));
  if (result == nullptr) throw std::bad_alloc();
  for (std::size_t i = 0; i < units.size(); ++i) result[i] = static_cast<wchar_t>(units[i]);
  return result;
}

}  // namespace citara::server
