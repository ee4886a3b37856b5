// The model's fonts and colours as GDI objects, and text measured the way the windows draw it.
#pragma once

#include <string_view>

#include "widgets/control.h"
#include "widgets/geometry.h"

#include "server/windows_headers.h"

namespace citara::server {

// A GDI font with every attribute of `font`; the stock GUI font when none can be made. The
// caller deletes it (DeleteObject).
HFONT CreateGdiFont(const TFont& font);

// The size of one line of UTF-8 `text` drawn in `font` on `dc`.
TSize MeasureWithFont(HDC dc, HFONT font, std::string_view text);

// A model colour (an RGB value, or a system colour with the high bit set) as a COLORREF.
COLORREF ColorRefOf(unsigned long color);

}  // namespace citara::server
