// Citara's headers come before the Windows headers (see windows_headers.h).
#include "widgets/utf16.h"

#include "server/bstr.h"

#include <algorithm>
#include <new>

namespace citara::server {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide text is UTF-16");

std::u16string_view Units(std::wstring_view text) {
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

BSTR Allocate(std::size_t length) {
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (result == nullptr) throw std::bad_alloc();
  return result;
}

}  // namespace

std::string TextOf(BSTR text) {
  if (text == nullptr) return {};
  return Narrow(std::wstring_view(text, SysStringLen(text)));
}

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

std::wstring Wide(std::string_view text) {
  const std::u16string units = Utf16FromUtf8(text);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view text) { return Utf8FromUtf16(Units(text)); }

}  // namespace citara::server
