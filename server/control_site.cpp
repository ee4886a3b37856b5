// The control object's container side: what an ActiveX container asks of a control to place it in
// its window (in-place activation, sizing, drawing), to save and restore the control's own
// properties, and to know that it is safe for scripting and for initialization.
//
// Activation makes the form a real window (FormWindow), a child of the site's window, placed at the
// site's rectangle; SetObjectRects moves and sizes it (the form is laid out again for the new
// size); deactivation destroys the window, and the model keeps all of its data. Persistence covers
// the framework's own properties only (the extent and the form properties that the dispatch
// interface reads and writes, such as Caption, Color, Enabled and Visible); the saved-data text is
// never part of it and travels only through SavedData.
//
// Stream format (IPersistStreamInit, the "Contents" stream of IPersistStorage): the four bytes
// "CTRB", a 32-bit byte count, then that many bytes of UTF-16 text made of "Name=value" lines, each
// ended by a line feed; in a value, a backslash is written "\\" and a line feed "\n", so that any
// caption survives. Streams of the earlier format "CTRA" (the same without the escapes, which lost
// the rest of a value after a line feed) still load. Loading reads and checks everything first; a
// value that the control refuses puts every property back as it was.
#include "core/source_form.h"

#include "server/control_object.h"

#include <cstring>
#include <utility>

#include "server/bstr.h"
#include "server/enumerator.h"

namespace citara::server {
namespace {

constexpr char kStreamMagic[4] = {'C', 'T', 'R', 'B'};
constexpr char kUnescapedStreamMagic[4] = {'C', 'T', 'R', 'A'};
constexpr ULONG kMaxStreamBytes = 1u << 20;

// The properties that persistence keeps, by their dispatch names.
constexpr const wchar_t* kFrameworkProperties[] = {
    L"Visible",  L"AutoScroll", L"AutoSize",   L"AxBorderStyle", L"Caption",        L"Color",   L"KeyPreview", L"PixelsPerInch",
    L"PrintScale", L"Scaled",   L"DropTarget", L"HelpFile",      L"DoubleBuffered", L"Enabled", L"BiDiMode",   L"Cursor",
};

using Properties = std::vector<std::pair<std::wstring, std::wstring>>;

// The stream's text of `properties`.
std::wstring StreamText(const Properties& properties) {
  std::wstring text;
  for (const auto& [name, value] : properties) {
    text += name;
    text += L'=';
    for (const wchar_t c : value) {
      if (c == L'\\') text += L"\\\\";
      else if (c == L'\n') text += L"\\n";
      else text += c;
    }
    text += L'\n';
  }
  return text;
}

// The properties of a stream's text; `escaped` for the current format. Throws ComError(E_FAIL) for
// a line that is not "Name=value".
Properties PropertiesOfStreamText(const std::wstring& text, bool escaped) {
  Properties properties;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find(L'\n', at);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(at, end - at);
    at = end + 1;
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) throw ComError(E_FAIL, "the control's saved properties are damaged");
    std::wstring value;
    for (std::size_t i = equals + 1; i < line.size(); ++i) {
      if (escaped && line[i] == L'\\' && i + 1 < line.size()) {
        ++i;
        value += line[i] == L'n' ? L'\n' : line[i];
      } else {
        value += line[i];
      }
    }
    properties.emplace_back(line.substr(0, equals), std::move(value));
  }
  return properties;
}

LONG HimetricOfPixels(LONG pixels) { return MulDiv(pixels, 2540, 96); }

struct ScopedVariant : VARIANT {
  ScopedVariant() { VariantInit(this); }
  ~ScopedVariant() { VariantClear(this); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
};

}  // namespace

// --- Activation ---

HRESULT ControlObject::ActivateInPlace(bool uiActivate) noexcept {
  FormWindow::Scope scope(window_.get());
  return Guarded(errorSource_, [&]() -> HRESULT {
    if (!clientSite_) return E_UNEXPECTED;
    if (!inPlaceSite_) {
      ComPtr<IOleInPlaceSite> site;
      if (FAILED(clientSite_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(site.Put()))) || !site) {
        return E_NOINTERFACE;
      }
      if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
      site->OnInPlaceActivate();
      inPlaceSite_ = site;
    }
    if (!window_) {
      HWND parent = nullptr;
      if (FAILED(inPlaceSite_->GetWindow(&parent)) || parent == nullptr) return E_FAIL;
      ComPtr<IOleInPlaceFrame> frame;
      ComPtr<IOleInPlaceUIWindow> document;
      RECT position{0, 0, class_.width, class_.height}, clip{};
      OLEINPLACEFRAMEINFO info{};
      info.cb = sizeof(info);
      inPlaceSite_->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &info);
      if (position.right <= position.left || position.bottom <= position.top) {
        position.right = position.left + class_.width;
        position.bottom = position.top + class_.height;
      }
      FormWindow::Events events;
      events.activate = [this] {
        active_ = true;
        DISPPARAMS none{};
        Fire(kOnActivate, none);
      };
      events.deactivate = [this] {
        active_ = false;
        DISPPARAMS none{};
        Fire(kOnDeactivate, none);
      };
      events.click = [this] {
        if (form_->OnClick) form_->OnClick(*form_);
      };
      events.dblClick = [this] {
        DISPPARAMS none{};
        Fire(kOnDblClick, none);
      };
      events.paint = [this] {
        DISPPARAMS none{};
        Fire(kOnPaint, none);
      };
      events.needRoom = [this](const RECT& wanted) { AskForRoom(wanted); };
      window_ = std::make_unique<FormWindow>(*form_, parent, position, std::move(events));
    }
    if (uiActivate && !uiActive_) {
      uiActive_ = true;
      inPlaceSite_->OnUIActivate();
      const Control* focused = form_->FocusedControl();
      HWND target = window_->WindowOf(focused);
      if (!window_->HasFocus()) SetFocus(target != nullptr ? target : window_->Handle());
    }
    return S_OK;
  });
}

void ControlObject::SyncWindow() noexcept {
  if (!window_) return;
  try {
    window_->Sync();
  } catch (...) {
    // The windows catch up at the next change.
  }
}

// --- IOleObject ---

HRESULT ControlObject::SetClientSite(IOleClientSite* site) noexcept {
  if (site == nullptr) InPlaceDeactivate();
  clientSite_ = ComPtr<IOleClientSite>::Share(site);
  return S_OK;
}

HRESULT ControlObject::GetClientSite(IOleClientSite** site) noexcept {
  if (site == nullptr) return E_POINTER;
  *site = ComPtr<IOleClientSite>(clientSite_).Detach();
  return S_OK;
}

HRESULT ControlObject::Close(DWORD) noexcept {
  InPlaceDeactivate();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

HRESULT ControlObject::GetMoniker(DWORD, DWORD, IMoniker** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlObject::GetClipboardData(DWORD, IDataObject** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlObject::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) noexcept {
  if (!clientSite_ && site != nullptr) clientSite_ = ComPtr<IOleClientSite>::Share(site);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
    case OLEIVERB_UIACTIVATE: return ActivateInPlace(true);
    case OLEIVERB_INPLACEACTIVATE: return ActivateInPlace(false);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (window_) ShowWindow(window_->Handle(), SW_HIDE);
      return S_OK;
    default: return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT ControlObject::EnumVerbs(IEnumOLEVERB** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return OleRegEnumVerbs(class_.clsid, out);
}

HRESULT ControlObject::GetUserClassID(CLSID* clsid) noexcept {
  if (clsid == nullptr) return E_POINTER;
  *clsid = class_.clsid;
  return S_OK;
}

HRESULT ControlObject::GetUserType(DWORD form, LPOLESTR* type) noexcept {
  if (type == nullptr) return E_POINTER;
  *type = nullptr;
  return OleRegGetUserType(class_.clsid, form, type);
}

HRESULT ControlObject::SetExtent(DWORD aspect, SIZEL* size) noexcept {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  extent_ = *size;
  dirty_ = true;
  return S_OK;
}

HRESULT ControlObject::GetExtent(DWORD aspect, SIZEL* size) noexcept {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (extent_.cx == 0 && extent_.cy == 0) extent_ = {HimetricOfPixels(class_.width), HimetricOfPixels(class_.height)};
  *size = extent_;
  return S_OK;
}

HRESULT ControlObject::Advise(IAdviseSink* sink, DWORD* cookie) noexcept {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;  // the advise holder would answer a cookie for no connection
  if (!adviseHolder_) {
    const HRESULT status = CreateOleAdviseHolder(adviseHolder_.Put());
    if (FAILED(status)) return status;
  }
  return adviseHolder_->Advise(sink, cookie);
}

HRESULT ControlObject::Unadvise(DWORD cookie) noexcept {
  return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT ControlObject::EnumAdvise(IEnumSTATDATA** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return adviseHolder_ ? adviseHolder_->EnumAdvise(out) : S_OK;
}

HRESULT ControlObject::GetMiscStatus(DWORD, DWORD* status) noexcept {
  if (status == nullptr) return E_POINTER;
  *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
            OLEMISC_SETCLIENTSITEFIRST;
  return S_OK;
}

// --- IOleInPlaceObject, IOleInPlaceActiveObject ---

HRESULT ControlObject::GetWindow(HWND* window) noexcept {
  if (window == nullptr) return E_POINTER;
  *window = window_ ? window_->Handle() : nullptr;
  return window_ ? S_OK : E_FAIL;
}

HRESULT ControlObject::InPlaceDeactivate() noexcept {
  if (!inPlaceSite_) return S_OK;
  UIDeactivate();
  if (window_) {
    if (active_) {
      active_ = false;
      DISPPARAMS none{};
      Fire(kOnDeactivate, none);
    }
    window_.reset();
  }
  const ComPtr<IOleInPlaceSite> site = std::exchange(inPlaceSite_, nullptr);
  site->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT ControlObject::UIDeactivate() noexcept {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

HRESULT ControlObject::SetObjectRects(LPCRECT position, LPCRECT) noexcept {
  if (position == nullptr) return E_POINTER;
  extent_ = {HimetricOfPixels(position->right - position->left), HimetricOfPixels(position->bottom - position->top)};
  if (!window_) return S_OK;
  FormWindow::Scope scope(window_.get());
  return Guarded(errorSource_, [&] {
    window_->Place(*position);
  });
}

void ControlObject::AskForRoom(const RECT& wanted) {
  extent_ = {HimetricOfPixels(wanted.right - wanted.left), HimetricOfPixels(wanted.bottom - wanted.top)};
  if (askingForRoom_ || !inPlaceSite_) return;
  askingForRoom_ = true;  // the container may answer with SetObjectRects at once
  RECT grown = wanted;
  inPlaceSite_->OnPosRectChange(&grown);
  askingForRoom_ = false;
}

// --- IOleControl ---

HRESULT ControlObject::GetControlInfo(CONTROLINFO* info) noexcept {
  if (info == nullptr) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT ControlObject::FreezeEvents(BOOL freeze) noexcept {
  frozenEvents_ += freeze ? 1 : (frozenEvents_ > 0 ? -1 : 0);
  return S_OK;
}

// --- IViewObject2 ---

HRESULT ControlObject::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                            BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) noexcept {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (dc == nullptr || bounds == nullptr) return E_INVALIDARG;
  const RECT r{bounds->left, bounds->top, bounds->right, bounds->bottom};
  return Guarded(errorSource_, [&] {
    if (window_) {
      window_->Draw(dc, r);
      return;
    }
    // Without a window: the form's surface with its caption.
    const TColor color = form_->Color();
    HBRUSH brush = CreateSolidBrush(color & 0x80000000u ? GetSysColor(static_cast<int>(color & 0xFF)) : color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    const std::wstring caption = Wide(form_->Caption());
    RECT text = r;
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  });
}

HRESULT ControlObject::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return S_FALSE;
}

HRESULT ControlObject::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) noexcept {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = ComPtr<IAdviseSink>::Share(sink);
  return S_OK;
}

HRESULT ControlObject::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) noexcept {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) *sink = ComPtr<IAdviseSink>(viewSink_).Detach();
  return S_OK;
}

HRESULT ControlObject::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) noexcept {
  return GetExtent(aspect, size);
}

// --- IDataObject ---

namespace {

UINT RichTextFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Rich Text Format");
  return format;
}

// The formats the control offers, in the order of preference: the entry with its italic run, then
// as plain text.
std::vector<FORMATETC> OfferedFormats() {
  return {{static_cast<CLIPFORMAT>(RichTextFormat()), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
          {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}};
}

// Whether `format` asks for one of the offered formats: S_OK, or the reason it does not.
HRESULT CheckFormat(const FORMATETC& format) {
  if (format.cfFormat != CF_UNICODETEXT && format.cfFormat != RichTextFormat()) return DV_E_FORMATETC;
  if (format.dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (format.lindex != -1) return DV_E_LINDEX;
  if ((format.tymed & TYMED_HGLOBAL) == 0) return DV_E_TYMED;
  return S_OK;
}

// The bytes of the MLA entry in `format`, ended by a NUL as the clipboard formats are: the RTF
// (ASCII) or the plain entry in UTF-16.
std::string EntryBytes(TSourceForm& form, CLIPFORMAT format) {
  if (format != CF_UNICODETEXT) return form.GetMLACitaraInfo() + '\0';
  const std::wstring text = Wide(form.MlaCitation().text) + L'\0';
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

}  // namespace

HRESULT ControlObject::QueryGetData(FORMATETC* format) noexcept {
  if (format == nullptr) return E_POINTER;
  return CheckFormat(*format);
}

HRESULT ControlObject::GetData(FORMATETC* format, STGMEDIUM* medium) noexcept {
  if (format == nullptr || medium == nullptr) return E_POINTER;
  *medium = {};
  if (const HRESULT offered = CheckFormat(*format); FAILED(offered)) return offered;
  return Guarded(errorSource_, [&]() -> HRESULT {
    const std::string bytes = EntryBytes(*form_, format->cfFormat);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  });
}

HRESULT ControlObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium) noexcept {
  if (format == nullptr || medium == nullptr) return E_POINTER;
  if (const HRESULT offered = CheckFormat(*format); FAILED(offered)) return offered;
  if (medium->tymed != TYMED_HGLOBAL || medium->hGlobal == nullptr) return DV_E_TYMED;
  return Guarded(errorSource_, [&]() -> HRESULT {
    const std::string bytes = EntryBytes(*form_, format->cfFormat);
    if (GlobalSize(medium->hGlobal) < bytes.size()) return STG_E_MEDIUMFULL;
    void* target = GlobalLock(medium->hGlobal);
    if (target == nullptr) return E_OUTOFMEMORY;
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(medium->hGlobal);
    return S_OK;
  });
}

HRESULT ControlObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) noexcept {
  if (out == nullptr) return E_POINTER;
  out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;  // the control takes no data
  return Guarded([&] { *out = Make<Enumerator<IEnumFORMATETC, FORMATETC>>(OfferedFormats()).Detach(); });
}

// --- ISimpleFrameSite: every message goes on to the form's windows ---

HRESULT ControlObject::PreMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result, DWORD* cookie) noexcept {
  if (result == nullptr || cookie == nullptr) return E_POINTER;
  *result = 0;
  *cookie = 0;
  return S_OK;
}

HRESULT ControlObject::PostMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result, DWORD) noexcept {
  return result == nullptr ? E_POINTER : S_OK;
}

// --- Persistence ---

std::vector<std::pair<std::wstring, std::wstring>> ControlObject::FrameworkProperties() {
  std::vector<std::pair<std::wstring, std::wstring>> properties;
  SIZEL extent{};
  GetExtent(DVASPECT_CONTENT, &extent);
  properties.emplace_back(L"_ExtentX", std::to_wstring(extent.cx));
  properties.emplace_back(L"_ExtentY", std::to_wstring(extent.cy));
  for (const wchar_t* name : kFrameworkProperties) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    Check(GetIDsOfNames(IID_NULL, names, 1, 0, &id), "finding a property");
    ScopedVariant value, text;
    DISPPARAMS none{};
    Check(Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr), "reading a property");
    Check(VariantChangeType(&text, &value, 0, VT_BSTR), "converting a property");
    properties.emplace_back(name, std::wstring(text.bstrVal, SysStringLen(text.bstrVal)));
  }
  return properties;
}

void ControlObject::SetFrameworkProperties(const std::vector<std::pair<std::wstring, std::wstring>>& properties) {
  const auto before = FrameworkProperties();
  const auto apply = [this](const std::vector<std::pair<std::wstring, std::wstring>>& list) {
    for (const auto& [name, value] : list) {
      if (name == L"_ExtentX" || name == L"_ExtentY") {
        const long number = std::stol(value);
        (name == L"_ExtentX" ? extent_.cx : extent_.cy) = number;
        continue;
      }
      DISPID id = 0;
      LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
      if (FAILED(GetIDsOfNames(IID_NULL, names, 1, 0, &id))) continue;  // a property this control does not have
      ScopedVariant argument;
      argument.vt = VT_BSTR;
      argument.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
      DISPID named = DISPID_PROPERTYPUT;
      DISPPARAMS params{&argument, &named, 1, 1};
      Check(Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
            "restoring a property");
    }
  };
  try {
    apply(properties);
  } catch (...) {
    apply(before);
    throw;
  }
  dirty_ = false;
}

HRESULT ControlObject::GetClassID(CLSID* clsid) noexcept {
  if (clsid == nullptr) return E_POINTER;
  *clsid = class_.clsid;
  return S_OK;
}

HRESULT ControlObject::Save(LPSTREAM stream, BOOL clearDirty) noexcept {
  if (stream == nullptr) return E_POINTER;
  return Guarded(errorSource_, [&] {
    const std::wstring text = StreamText(FrameworkProperties());
    const ULONG bytes = static_cast<ULONG>(text.size() * sizeof(wchar_t));
    Check(stream->Write(kStreamMagic, sizeof(kStreamMagic), nullptr), "writing the stream");
    Check(stream->Write(&bytes, sizeof(bytes), nullptr), "writing the stream");
    Check(stream->Write(text.data(), bytes, nullptr), "writing the stream");
    if (clearDirty) dirty_ = false;
  });
}

HRESULT ControlObject::Load(LPSTREAM stream) noexcept {
  if (stream == nullptr) return E_POINTER;
  return Guarded(errorSource_, [&] {
    const auto readExactly = [&](void* into, ULONG size) {
      ULONG read = 0;
      Check(stream->Read(into, size, &read), "reading the stream");
      if (read != size) throw ComError(E_FAIL, "the control's saved properties are cut short");
    };
    char magic[4];
    ULONG bytes = 0;
    readExactly(magic, sizeof(magic));
    readExactly(&bytes, sizeof(bytes));
    const bool escaped = std::memcmp(magic, kStreamMagic, sizeof(magic)) == 0;
    if ((!escaped && std::memcmp(magic, kUnescapedStreamMagic, sizeof(magic)) != 0) || bytes % sizeof(wchar_t) != 0 ||
        bytes > kMaxStreamBytes) {
      throw ComError(E_FAIL, "the stream does not hold this control's properties");
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (bytes > 0) readExactly(text.data(), bytes);
    SetFrameworkProperties(PropertiesOfStreamText(text, escaped));
  });
}

HRESULT ControlObject::GetSizeMax(ULARGE_INTEGER* size) noexcept {
  if (size == nullptr) return E_POINTER;
  size->QuadPart = 0;
  return Guarded(errorSource_, [&] {
    size->QuadPart = sizeof(kStreamMagic) + sizeof(ULONG) + StreamText(FrameworkProperties()).size() * sizeof(wchar_t);
  });
}

HRESULT ControlObject::Load(IStorage* storage) noexcept {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT status = storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put());
  if (FAILED(status)) return status;
  return Load(stream.Get());
}

HRESULT ControlObject::Save(IStorage* storage, BOOL) noexcept {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT status = storage->CreateStream(L"Contents", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                               stream.Put());
  if (FAILED(status)) return status;
  return Save(stream.Get(), TRUE);
}

HRESULT ControlObject::Load(IPropertyBag* bag, IErrorLog* log) noexcept {
  if (bag == nullptr) return E_POINTER;
  return Guarded(errorSource_, [&] {
    std::vector<std::pair<std::wstring, std::wstring>> properties;
    for (const auto& [name, current] : FrameworkProperties()) {
      ScopedVariant value, text;
      if (FAILED(bag->Read(name.c_str(), &value, log))) continue;  // not in the bag: keeps its value
      Check(VariantChangeType(&text, &value, 0, VT_BSTR), "converting a property");
      properties.emplace_back(name, std::wstring(text.bstrVal, SysStringLen(text.bstrVal)));
    }
    SetFrameworkProperties(properties);
  });
}

HRESULT ControlObject::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) noexcept {
  if (bag == nullptr) return E_POINTER;
  return Guarded(errorSource_, [&] {
    for (const auto& [name, value] : FrameworkProperties()) {
      ScopedVariant v;
      v.vt = VT_BSTR;
      v.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
      Check(bag->Write(name.c_str(), &v), "writing a property");
    }
    if (clearDirty) dirty_ = false;
  });
}

// --- IPerPropertyBrowsing, ISpecifyPropertyPages ---

HRESULT ControlObject::GetDisplayString(DISPID, BSTR* out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlObject::MapPropertyToPage(DISPID, CLSID* out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = CLSID_NULL;
  return PERPROP_E_NOPAGEAVAILABLE;
}

HRESULT ControlObject::GetPredefinedStrings(DISPID, CALPOLESTR* strings, CADWORD* cookies) noexcept {
  if (strings == nullptr || cookies == nullptr) return E_POINTER;
  *strings = {};
  *cookies = {};
  return E_NOTIMPL;
}

HRESULT ControlObject::GetPredefinedValue(DISPID, DWORD, VARIANT* out) noexcept {
  if (out == nullptr) return E_POINTER;
  VariantInit(out);
  return E_NOTIMPL;
}

HRESULT ControlObject::GetPages(CAUUID* pages) noexcept {
  if (pages == nullptr) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = nullptr;
  return S_OK;
}

// --- IQuickActivate ---

HRESULT ControlObject::QuickActivate(QACONTAINER* container, QACONTROL* control) noexcept {
  if (container == nullptr || control == nullptr) return E_POINTER;
  if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;
  SetClientSite(container->pClientSite);
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwEventCookie = 0;
  if (container->pUnkEventSink) connectionPoint_.Advise(container->pUnkEventSink, &control->dwEventCookie);
  GetMiscStatus(DVASPECT_CONTENT, &control->dwMiscStatus);
  control->dwViewStatus = VIEWSTATUS_OPAQUE;
  control->dwPropNotifyCookie = 0;
  control->dwPointerActivationPolicy = 0;
  return S_OK;
}

HRESULT ControlObject::SetContentExtent(LPSIZEL size) noexcept { return SetExtent(DVASPECT_CONTENT, size); }
HRESULT ControlObject::GetContentExtent(LPSIZEL size) noexcept { return GetExtent(DVASPECT_CONTENT, size); }

// --- IObjectSafety ---

HRESULT ControlObject::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) noexcept {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  *supported = *enabled = 0;
  if (FindInterface(iid) == nullptr) return E_NOINTERFACE;
  *supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  *enabled = safetyCaller_ | safetyData_;
  return S_OK;
}

HRESULT ControlObject::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) noexcept {
  if (FindInterface(iid) == nullptr) return E_NOINTERFACE;
  constexpr DWORD kSupported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  if ((mask & ~kSupported) != 0) return E_FAIL;
  const DWORD now = ((safetyCaller_ | safetyData_) & ~mask) | (enabled & mask);
  safetyCaller_ = now & INTERFACESAFE_FOR_UNTRUSTED_CALLER;
  safetyData_ = now & INTERFACESAFE_FOR_UNTRUSTED_DATA;
  return S_OK;
}

}  // namespace citara::server
