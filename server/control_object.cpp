// Citara's headers come before the Windows headers (see windows_headers.h).
#include "core/source_form.h"
#include "widgets/control.h"

#include "server/control_object.h"

#include <utility>
#include <vector>

#include "server/bstr.h"
#include "server/com_error.h"
#include "server/enumerator.h"
#include "server/server_module.h"

namespace citara::server {
namespace {

bool IsTrue(VARIANT_BOOL value) { return value != 0; }  // any non-zero value is true
VARIANT_BOOL AutomationBoolOf(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// The character a sink hands back as the key: 0 cancels; a surrogate alone is no character.
char32_t KeyFromSink(SHORT key, char32_t offered) {
  const auto unit = static_cast<char16_t>(key);
  if (unit >= 0xD800 && unit <= 0xDFFF) return 0xFFFD;
  return offered > 0xFFFF && unit == 0xFFFD ? offered : unit;
}

}  // namespace

ComPtr<ControlObject> ControlObject::Create(const ControlClass& cls) {
  auto object = Make<ControlObject>(cls, TypeInfoOf(cls.dispatchIid));
  object->form_ = std::make_unique<TSourceForm>(cls.form());
  object->font_ = std::make_unique<FontLink>(*object->form_, [control = object.Get()] { control->SyncWindow(); });
  object->InstallEventHooks();
  return object;
}

ControlObject::ControlObject(const ControlClass& cls, ComPtr<ITypeInfo> info)
    : class_(cls),
      errorSource_{cls.progId, &cls.dispatchIid},
      dispatch_(std::move(info), cls.dispatchIid),
      dual_(cls.dualInterface(*this)),
      connectionPoint_(*this, cls.eventsIid) {}

ControlObject::~ControlObject() {
  HoldForDestruction();  // a sink that takes and drops a reference in OnDestroy cannot destroy us twice
  if (form_) {
    DISPPARAMS none{};
    try {
      Fire(kOnDestroy, none);
    } catch (...) {
      // The control goes in any case.
    }
  }
  window_.reset();  // the windows go before the form they show
  inPlaceSite_ = nullptr;
  clientSite_ = nullptr;
  connectionPoint_.Clear();
  font_.reset();
  form_.reset();
}

// --- Events ---

void ControlObject::InstallEventHooks() {
  TSourceForm& form = *form_;
  form.OnClick = [this, inner = std::move(form.OnClick)](Control& sender) {
    if (inner) inner(sender);
    DISPPARAMS none{};
    Fire(kOnClick, none);
  };
  // The form sees a character typed while it has the focus itself, and, with KeyPreview, one typed
  // into any of its controls before that control does.
  form.OnKeyPress = [this, inner = std::move(form.OnKeyPress)](Control& sender, char32_t& ch) {
    FireKeyPress(ch);
    if (ch != 0 && inner) inner(sender, ch);
  };
  // A control without a handler of its own gets one that captures only `this`, which std::function
  // keeps without allocating: a form has some fifty controls, and creating a control is mostly
  // allocation.
  form.ForEachOwned([this](Component& component) {
    auto* control = dynamic_cast<Control*>(&component);
    if (control == nullptr) return;
    if (!control->OnKeyPress) {
      control->OnKeyPress = [this](Control&, char32_t& ch) {
        if (stored_.keyPreview) form_->KeyPress(ch);
      };
      return;
    }
    control->OnKeyPress = [this, inner = std::move(control->OnKeyPress)](Control& sender, char32_t& ch) {
      if (stored_.keyPreview) form_->KeyPress(ch);
      if (ch != 0) inner(sender, ch);
    };
  });
}

void ControlObject::Fire(DISPID id, DISPPARAMS& params) {
  const ComPtr<IDispatch> sink = connectionPoint_.Sink();  // held for the duration of the call
  if (!sink || frozenEvents_ > 0) return;
  sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void ControlObject::FireKeyPress(char32_t& ch) {
  if (!connectionPoint_.Sink()) return;
  // The key travels as one UTF-16 unit; a character beyond it is offered as U+FFFD and stays as
  // it is unless the sink cancels or replaces it.
  SHORT key = static_cast<SHORT>(ch <= 0xFFFF ? ch : 0xFFFD);
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_I2 | VT_BYREF;
  argument.piVal = &key;
  DISPPARAMS params{&argument, nullptr, 1, 0};
  Fire(kOnKeyPress, params);
  ch = key == 0 ? 0 : KeyFromSink(key, ch);
}

// --- IUnknown, ISupportErrorInfo, IConnectionPointContainer ---

void* ControlObject::FindInterface(REFIID iid) noexcept {
  if (IsEqualIID(iid, class_.dispatchIid) || IsEqualIID(iid, IID_IDispatch)) return Dispatch();
  // Base interfaces that several of the listed ones share are answered by one of them.
  if (IsEqualIID(iid, IID_IOleWindow)) return static_cast<IOleInPlaceObject*>(this);
  if (IsEqualIID(iid, IID_IPersist)) return static_cast<IPersistStreamInit*>(this);
  if (IsEqualIID(iid, IID_IViewObject)) return static_cast<IViewObject2*>(this);
  if (IsEqualIID(iid, IID_IProvideClassInfo)) return static_cast<IProvideClassInfo2*>(this);
  return Implements::FindInterface(iid);
}

HRESULT ControlObject::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
  return IsEqualIID(iid, class_.dispatchIid) ? S_OK : S_FALSE;
}

HRESULT ControlObject::EnumConnectionPoints(IEnumConnectionPoints** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return Guarded([&] {
    const std::vector<IConnectionPoint*> points{&connectionPoint_};
    *out = Make<Enumerator<IEnumConnectionPoints, IConnectionPoint*>>(points).Detach();
  });
}

HRESULT ControlObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, class_.eventsIid)) return CONNECT_E_NOCONNECTION;
  connectionPoint_.AddRef();
  *out = &connectionPoint_;
  return S_OK;
}

// --- IDispatch ---

HRESULT ControlObject::GetTypeInfoCount(UINT* count) noexcept { return dispatch_.GetTypeInfoCount(count); }

HRESULT ControlObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  return dispatch_.GetTypeInfo(index, info);
}

// The member table behind both is read once per interface, which may fail for want of memory.
HRESULT ControlObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  return Guarded(errorSource_, [&] { return dispatch_.GetIDsOfNames(iid, names, count, ids); });
}

HRESULT ControlObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* argumentError) noexcept {
  return Guarded(errorSource_, [&] {
    return dispatch_.Invoke(Dispatch(), id, iid, flags, params, result, exception, argumentError);
  });
}

// --- IProvideClassInfo, IProvideClassInfo2 ---

HRESULT ControlObject::GetClassInfo(ITypeInfo** info) noexcept {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  return Guarded(errorSource_, [&] { *info = TypeInfoOf(class_.clsid).Detach(); });
}

HRESULT ControlObject::GetGUID(DWORD kind, GUID* guid) noexcept {
  if (guid == nullptr) return E_POINTER;
  *guid = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = class_.eventsIid;
  return S_OK;
}

// --- Members ---

// Every member runs with the form's window (when it has one) as the one acting, so a message it
// shows is a real one owned by the host's window, and the windows show its changes at once.
template <class T, class Read>
HRESULT ControlObject::Get(T* out, T empty, Read&& read) noexcept {
  FormWindow::Scope scope(window_.get());
  const HRESULT status = Guarded(errorSource_, [&] {
    RequireOut(out);
    *out = empty;
    *out = read();
  });
  SyncWindow();
  return status;
}

template <class Write>
HRESULT ControlObject::Put(Write&& write) noexcept {
  FormWindow::Scope scope(window_.get());
  const HRESULT status = Guarded(errorSource_, std::forward<Write>(write));
  SyncWindow();
  return status;
}

HRESULT ControlObject::GetVisible(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(form_->Visible()); });
}
HRESULT ControlObject::PutVisible(VARIANT_BOOL value) noexcept {
  return Put([&] { IsTrue(value) ? form_->Show() : form_->Hide(); });
}
HRESULT ControlObject::GetAutoScroll(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.autoScroll); });
}
HRESULT ControlObject::PutAutoScroll(VARIANT_BOOL value) noexcept {
  return Put([&] { stored_.autoScroll = IsTrue(value); });
}
HRESULT ControlObject::GetAutoSize(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.autoSize); });
}
HRESULT ControlObject::PutAutoSize(VARIANT_BOOL value) noexcept {
  return Put([&] { stored_.autoSize = IsTrue(value); });
}
HRESULT ControlObject::GetAxBorderStyle(LONG* value) noexcept {
  return Get(value, LONG{0}, [&] { return stored_.axBorderStyle; });
}
HRESULT ControlObject::PutAxBorderStyle(LONG value) noexcept {
  return Put([&] { stored_.axBorderStyle = value; });
}
HRESULT ControlObject::GetCaption(BSTR* value) noexcept {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->Caption()); });
}
HRESULT ControlObject::PutCaption(BSTR value) noexcept {
  return Put([&] { form_->SetCaption(TextOf(value)); });
}
HRESULT ControlObject::GetColor(OLE_COLOR* value) noexcept {
  return Get(value, OLE_COLOR{0}, [&] { return OLE_COLOR{form_->Color()}; });
}
HRESULT ControlObject::PutColor(OLE_COLOR value) noexcept {
  return Put([&] {
    form_->SetColor(value);
    if (window_) InvalidateRect(window_->Handle(), nullptr, TRUE);
  });
}
HRESULT ControlObject::GetFont(IFontDisp** value) noexcept {
  return Get(value, static_cast<IFontDisp*>(nullptr), [&] { return font_->Font().Detach(); });
}
HRESULT ControlObject::PutFont(IFontDisp* value) noexcept {
  return Put([&] { font_->Assign(value); });
}
HRESULT ControlObject::PutRefFont(IFontDisp** value) noexcept {
  return Put([&] {
    if (value == nullptr) throw ComError(E_POINTER, "no font was given");
    font_->Assign(*value);
  });
}
HRESULT ControlObject::GetKeyPreview(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.keyPreview); });
}
HRESULT ControlObject::PutKeyPreview(VARIANT_BOOL value) noexcept {
  return Put([&] { stored_.keyPreview = IsTrue(value); });
}
HRESULT ControlObject::GetPixelsPerInch(LONG* value) noexcept {
  return Get(value, LONG{0}, [&] { return stored_.pixelsPerInch; });
}
HRESULT ControlObject::PutPixelsPerInch(LONG value) noexcept {
  return Put([&] { stored_.pixelsPerInch = value; });
}
HRESULT ControlObject::GetPrintScale(LONG* value) noexcept {
  return Get(value, LONG{0}, [&] { return stored_.printScale; });
}
HRESULT ControlObject::PutPrintScale(LONG value) noexcept {
  return Put([&] { stored_.printScale = value; });
}
HRESULT ControlObject::GetScaled(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.scaled); });
}
HRESULT ControlObject::PutScaled(VARIANT_BOOL value) noexcept {
  return Put([&] { stored_.scaled = IsTrue(value); });
}
HRESULT ControlObject::GetActive(VARIANT_BOOL* value) noexcept {
  // Active while the keyboard focus is inside the form's window in its host.
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(window_ != nullptr && active_); });
}
HRESULT ControlObject::GetDropTarget(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.dropTarget); });
}
HRESULT ControlObject::PutDropTarget(VARIANT_BOOL value) noexcept {
  return Put([&] { stored_.dropTarget = IsTrue(value); });
}
HRESULT ControlObject::GetHelpFile(BSTR* value) noexcept {
  return Get(value, BSTR{}, [&] { return MakeBstr(stored_.helpFile); });
}
HRESULT ControlObject::PutHelpFile(BSTR value) noexcept {
  return Put([&] { stored_.helpFile = TextOf(value); });
}
HRESULT ControlObject::GetDoubleBuffered(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.doubleBuffered); });
}
HRESULT ControlObject::PutDoubleBuffered(VARIANT_BOOL value) noexcept {
  return Put([&] { stored_.doubleBuffered = IsTrue(value); });
}
HRESULT ControlObject::GetEnabled(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(form_->Enabled()); });
}
HRESULT ControlObject::PutEnabled(VARIANT_BOOL value) noexcept {
  return Put([&] { form_->SetEnabled(IsTrue(value)); });
}
HRESULT ControlObject::GetBiDiMode(LONG* value) noexcept {
  return Get(value, LONG{0}, [&] { return stored_.biDiMode; });
}
HRESULT ControlObject::PutBiDiMode(LONG value) noexcept {
  return Put([&] { stored_.biDiMode = value; });
}
HRESULT ControlObject::GetCursor(SHORT* value) noexcept {
  return Get(value, SHORT{0}, [&] { return stored_.cursor; });
}
HRESULT ControlObject::PutCursor(SHORT value) noexcept {
  return Put([&] { stored_.cursor = value; });
}
HRESULT ControlObject::GetWidth(LONG* value) noexcept {
  return Get(value, LONG{0}, [&] { return class_.width; });
}
HRESULT ControlObject::GetHeight(LONG* value) noexcept {
  return Get(value, LONG{0}, [&] { return class_.height; });
}
HRESULT ControlObject::GetMLACitaraInfo(BSTR* value) noexcept {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->GetMLACitaraInfo()); });
}
HRESULT ControlObject::GetAPACitaraInfo(BSTR* value) noexcept {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->GetAPACitaraInfo()); });
}
HRESULT ControlObject::Reset() noexcept {
  return Put([&] { form_->Reset(); });
}
HRESULT ControlObject::GetSavedData(BSTR* value) noexcept {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->SavedData()); });
}
HRESULT ControlObject::PutSavedData(BSTR value) noexcept {
  return Put([&] { form_->SetSavedData(TextOf(value)); });
}
HRESULT ControlObject::ValidateData(VARIANT_BOOL* value) noexcept {
  return Get(value, VARIANT_FALSE, [&] { return static_cast<VARIANT_BOOL>(form_->ValidateData()); });
}

}  // namespace citara::server
