// Citara's headers come before the Windows headers (see windows_headers.h).
#include "server/gdi_font.h"

#include <string>

#include "server/bstr.h"

namespace citara::server {

HFONT CreateGdiFont(const TFont& font) {
  const std::wstring face = Wide(font.name);
  HFONT created = CreateFontW(font.height, 0, 0, 0, font.weight, font.italic, font.underline, font.strikethrough,
                              static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
  return created != nullptr ? created : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TSize MeasureWithFont(HDC dc, HFONT font, std::string_view text) {
  const std::wstring wide = Wide(text);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  if (wide.empty()) {  // an empty text is one line high all the same
    TEXTMETRICW metric{};
    GetTextMetricsW(dc, &metric);
    size.cy = metric.tmHeight;
  }
  SelectObject(dc, old);
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

COLORREF ColorRefOf(unsigned long color) {
  if (color & 0x80000000UL) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

}  // namespace citara::server
