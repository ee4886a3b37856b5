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

  HRESULT STDMETHODCALLTYPE OnChanged(DISPID) noexcept override {
    // A notification has no one to report to; on a failure the form keeps its previous font.
    Guarded([&] {
      if (changed_) changed_();
    });
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) noexcept override { return S_OK; }

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

FontLink::FontLink(Control& form, std::function<void()> changed) : form_(form), changed_(std::move(changed)) {}

FontLink::~FontLink() {
  if (sink_) sink_->Detach();
  if (connection_) connection_->Unadvise(cookie_);
}

IFont& FontLink::Kept() {
  if (!font_) {
    const TFont& current = form_.Font();
    Bstr name(current.name);
    FONTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.lpstrName = name.Get();
    description.cySize = FontSizeOfHeight(current.height);
    description.sWeight = static_cast<SHORT>(current.weight);
    description.sCharset = static_cast<SHORT>(current.charset);
    description.fItalic = current.italic;
    description.fUnderline = current.underline;
    description.fStrikethrough = current.strikethrough;
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
  return *font_.Get();
}

ComPtr<IFontDisp> FontLink::Font() {
  ComPtr<IFontDisp> result;
  Check(Kept().QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(result.Put())), "asking the font for IFontDisp");
  return result;
}

namespace {

// Every attribute of an OLE font, as read from one and written into another.
struct FontAttributes {
  Bstr name;
  CY size{};
  SHORT weight = FW_NORMAL, charset = DEFAULT_CHARSET;
  BOOL italic = FALSE, underline = FALSE, strikethrough = FALSE;

  explicit FontAttributes(IFont& font) {
    Check(font.get_Name(name.Put()), "reading the font's name");
    Check(font.get_Size(&size), "reading the font's size");
    Check(font.get_Weight(&weight), "reading the font's weight");
    Check(font.get_Italic(&italic), "reading the font's italic style");
    Check(font.get_Underline(&underline), "reading the font's underline");
    Check(font.get_Strikethrough(&strikethrough), "reading the font's strikethrough");
    Check(font.get_Charset(&charset), "reading the font's character set");
  }
  void WriteTo(IFont& font) const {
    Check(font.put_Name(name.Get()), "setting the font's name");
    Check(font.put_Size(size), "setting the font's size");
    Check(font.put_Weight(weight), "setting the font's weight");
    Check(font.put_Italic(italic), "setting the font's italic style");
    Check(font.put_Underline(underline), "setting the font's underline");
    Check(font.put_Strikethrough(strikethrough), "setting the font's strikethrough");
    Check(font.put_Charset(charset), "setting the font's character set");
  }
  TFont ForTheForm() const {
    TFont font;
    font.name = TextOf(name.Get());
    font.height = FontHeightOfSize(size);
    font.weight = weight;
    font.italic = italic != FALSE;
    font.underline = underline != FALSE;
    font.strikethrough = strikethrough != FALSE;
    font.charset = charset;
    return font;
  }
};

}  // namespace

void FontLink::Assign(IFontDisp* given) {
  if (given == nullptr) throw ComError(E_POINTER, "no font was given");
  ComPtr<IFont> font;
  Check(given->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put())), "asking the given font for IFont");
  IFont& kept = Kept();
  if (&kept != font.Get()) FontAttributes(*font.Get()).WriteTo(kept);
  TakeFrom(kept);
}

void FontLink::TakeFrom(IFont& font) {
  form_.SetFont(FontAttributes(font).ForTheForm());
  if (changed_) changed_();
}

}  // namespace citara::server
