// Citara's UTF-8 text at the boundary with Windows and COM, converted losslessly (widgets/utf16.h):
// as a BSTR, where a null BSTR is the empty text, and as the wide text of a Win32 call.
#pragma once

#include <string>
#include <string_view>

#include "server/windows_headers.h"

namespace citara::server {

std::string TextOf(BSTR text);
// A new BSTR holding `text`; throws std::bad_alloc when there is no memory for it.
BSTR MakeBstr(std::string_view text);

// UTF-8 as the UTF-16 of a Win32 call (a window's text, a message box, a font's face name), and
// back.
std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

// Owns one BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::string_view text) : value_(MakeBstr(text)) {}
  explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(value_); }
  BSTR Get() const { return value_; }
  BSTR* Put() {
    SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }
  BSTR Detach() {
    BSTR v = value_;
    value_ = nullptr;
    return v;
  }

 private:
  BSTR value_ = nullptr;
};

}  // namespace citara::server
