// The control's Font property: an OLE font object kept with the form's font. It is made from the
// form's font on the first request (or the first font a host hands over), and every change made
// through it (name, size, weight, italic, underline, strikethrough, character set) reaches the
// form's font at once. A font handed to the control gives the kept object and the form all of its
// attributes, so a host reads back what it put.
#pragma once

#include <functional>

#include "server/com.h"

namespace citara {
class Control;
}

namespace citara::server {

class FontChangeSink;

class FontLink {
 public:
  // `changed` runs after every change that reached the form's font (the windows take it over).
  FontLink(Control& form, std::function<void()> changed);
  ~FontLink();
  FontLink(const FontLink&) = delete;
  FontLink& operator=(const FontLink&) = delete;

  // The font object, made on the first request, with a reference for the caller.
  ComPtr<IFontDisp> Font();
  // Gives the kept font object and the form every attribute of `font`. Throws ComError.
  void Assign(IFontDisp* font);

 private:
  IFont& Kept();
  void TakeFrom(IFont& font);

  Control& form_;
  std::function<void()> changed_;
  ComPtr<IFont> font_;
  ComPtr<FontChangeSink> sink_;
  ComPtr<IConnectionPoint> connection_;
  DWORD cookie_ = 0;
};

// Point sizes and the form's pixel heights at the screen's 96 pixels per inch: 8.25 pt is -11.
int FontHeightOfSize(const CY& size);
CY FontSizeOfHeight(int height);

}  // namespace citara::server
