// BSTR to and from Citara's UTF-8 text (losslessly, see utf16.h). A null BSTR is the empty text.
#pragma once

#include <string>
#include <string_view>

#include "server/windows_headers.h"

namespace citara::server {

std::string TextOf(BSTR text);
// A new BSTR holding `text`; throws std::bad_alloc when there is no memory for it.
BSTR MakeBstr(std::string_view text);

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
