// The control's Font property: an OLE font object kept with the form's font. It is made from the
// form's font on the first request, and every change made through it (name, size) reaches the form's
// font at once; a font handed to the control gives the form its name and size. The form's font
// model holds a name and a height, so an OLE font's other attributes stay with the OLE font.
#pragma once

#include "server/com.h"

namespace citara {
class Control;
}

namespace citara::server {

class FontChangeSink;

class FontLink {
 public:
  explicit FontLink(Control& form);
  ~FontLink();
  FontLink(const FontLink&) = delete;
  FontLink& operator=(const FontLink&) = delete;

  // The font object, made on the first request, with a reference for the caller.
  ComPtr<IFontDisp> Font();
  // Gives the form the name and size of `font` (and the kept font object too). Throws ComError.
  void Assign(IFontDisp* font);

 private:
  void TakeFrom(IFont& font);

  Control& form_;
  ComPtr<IFont> font_;
  ComPtr<FontChangeSink> sink_;
  ComPtr<IConnectionPoint> connection_;
  DWORD cookie_ = 0;
};

// Point sizes and the form's pixel heights at the screen's 96 pixels per inch: 8.25 pt is -11.
int FontHeightOfSize(const CY& size);
CY FontSizeOfHeight(int height);

}  // namespace citara::server
