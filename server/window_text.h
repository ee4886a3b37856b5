// Window texts in UTF-16 and the code-point positions of the model's selections in them.
#pragma once

#include <string>

#include "server/windows_headers.h"

namespace citara::server {

inline std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

// UTF-16 index of code point `index` of `text`, and back.
inline int UnitsOfCodePoints(const std::wstring& text, int index) {
  int units = 0;
  for (int cp = 0; cp < index && units < static_cast<int>(text.size()); ++cp) {
    const wchar_t c = text[static_cast<std::size_t>(units)];
    units += (c >= 0xD800 && c <= 0xDBFF && units + 1 < static_cast<int>(text.size())) ? 2 : 1;
  }
  return units;
}
inline int CodePointsOfUnits(const std::wstring& text, int units) {
  int cp = 0;
  for (int u = 0; u < units && u < static_cast<int>(text.size()); ++cp) {
    const wchar_t c = text[static_cast<std::size_t>(u)];
    u += (c >= 0xD800 && c <= 0xDBFF && u + 1 < static_cast<int>(text.size())) ? 2 : 1;
  }
  return cp;
}

}  // namespace citara::server
