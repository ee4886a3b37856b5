// Citara's headers come before the Windows headers (see windows_headers.h).
#include "widgets/control.h"

#include "server/ole_font.h"

#include <cmath>
#include <functional>
#include <utility>

#include "server/bstr.h"
#include "server/com_error.h"

namespace citara::server {

constexpr int kScreenPixelsPerInch = 96;

// Told by the font object about every change of one of its properties.
class FontChangeSink final : public Implements<FontChangeSink, IPropertyNotifySink> {
 public:
  explicit FontChangeSink(std::function<void()> changed) : changed_(std::move(changed)) {}
  void Detach() { changed_ = nullptr; }

  HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
    try {
      if (changed_) changed_();
    } catch (...) {
      // A notification has no one to report to; the form keeps its previous font.
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

 private:
  std::function<void()> changed_;
};

int FontHeightOfSize(const CY& size) {
  return -static_cast<int>(std::llround(static_cast<double>(size.int64) * kScreenPixelsPerInch / (72.0 * 10000)));
}

CY FontSizeOfHeight(int height) {
  CY size;
  size.int64 = std::llround(std::abs(height) * 72.0 * 10000 / kScreenPixelsPerInch);
  return size;
}

FontLink::FontLink(Control& form) : form_(form) {}

FontLink::~FontLink() {
  if (sink_) sink_->Detach();
  if (connection_) connection_->Unadvise(cookie_);
}

ComPtr<IFontDisp> FontLink::Font() {
  if (!font_) {
    const TFont& current = form_.Font();
    Bstr name(current.name);
    FONTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.lpstrName = name.Get();
    description.cySize = FontSizeOfHeight(current.height);
    description.sWeight = FW_NORMAL;
    description.sCharset = DEFAULT_CHARSET;
    ComPtr<IFont> font;
    Check(OleCreateFontIndirect(&description, IID_IFont, reinterpret_cast<void**>(font.Put())), "creating the font");

    // Follow the font's changes. A font object without notifications still serves as the value.
    auto sink = Make<FontChangeSink>([this] { TakeFrom(*font_.Get()); });
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> connection;
    DWORD cookie = 0;
    if (SUCCEEDED(font->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.Put()))) &&
        SUCCEEDED(container->FindConnectionPoint(IID_IPropertyNotifySink, connection.Put())) &&
        SUCCEEDED(connection->Advise(static_cast<IPropertyNotifySink*>(sink.Get()), &cookie))) {
      connection_ = connection;
      cookie_ = cookie;
      sink_ = sink;
    } else {
      sink->Detach();
    }
    font_ = font;
  }
  ComPtr<IFontDisp> result;
  Check(font_->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(result.Put())), "asking the font for IFontDisp");
  return result;
}

void FontLink::Assign(IFontDisp* given) {
  if (given == nullptr) throw ComError(E_POINTER, "no font was given");
  ComPtr<IFont> font;
  Check(given->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put())), "asking the given font for IFont");
  TakeFrom(*font.Get());
  if (font_ && font_.Get() != font.Get()) {
    Bstr name;
    CY size;
    Check(font->get_Name(name.Put()), "reading the font's name");
    Check(font->get_Size(&size), "reading the font's size");
    font_->put_Name(name.Get());
    font_->put_Size(size);
  }
}

void FontLink::TakeFrom(IFont& font) {
  Bstr name;
  CY size;
  Check(font.get_Name(name.Put()), "reading the font's name");
  Check(font.get_Size(&size), "reading the font's size");
  TFont taken = form_.Font();
  taken.name = TextOf(name.Get());
  taken.height = FontHeightOfSize(size);
  form_.SetFont(std::move(taken));
}

}  // namespace citara::server
