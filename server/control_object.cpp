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

// Calls a member of the control object from its dual interface's vtable.
template <class R, class... Args, R (ControlObject::*Method)(Args...)>
struct ControlObject::Thunk<Method> {
  static R STDMETHODCALLTYPE Call(DualInterface* self, Args... args) { return (self->owner->*Method)(args...); }
  static Slot AsSlot() { return reinterpret_cast<Slot>(&Call); }
};

ComPtr<ControlObject> ControlObject::Create(const ControlClass& cls) {
  auto object = ComPtr<ControlObject>::Adopt(new ControlObject(cls, TypeInfoOf(cls.dispatchIid)));
  object->form_ = std::make_unique<TSourceForm>(cls.form());
  object->font_ = std::make_unique<FontLink>(*object->form_);
  object->InstallEventHooks();
  return object;
}

ControlObject::ControlObject(const ControlClass& cls, ComPtr<ITypeInfo> info)
    : class_(cls),
      errorSource_{cls.progId, &cls.dispatchIid},
      dispatch_(std::move(info), cls.dispatchIid),
      connectionPoint_(*this, cls.eventsIid) {
  LayOutVtable();
  dual_.vtable = vtable_.data();
  dual_.owner = this;
}

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

void ControlObject::LayOutVtable() {
  // IUnknown comes from the object, as Implements answers it; the dual interface shares its identity.
  struct Unknown {
    static HRESULT STDMETHODCALLTYPE QueryInterface(DualInterface* self, REFIID iid, void** out) {
      return self->owner->QueryInterface(iid, out);
    }
    static ULONG STDMETHODCALLTYPE AddRef(DualInterface* self) { return self->owner->AddRef(); }
    static ULONG STDMETHODCALLTYPE Release(DualInterface* self) { return self->owner->Release(); }
  };
  std::size_t n = 0;
  const auto add = [&](Slot slot) { vtable_[n++] = slot; };
  add(reinterpret_cast<Slot>(&Unknown::QueryInterface));
  add(reinterpret_cast<Slot>(&Unknown::AddRef));
  add(reinterpret_cast<Slot>(&Unknown::Release));
  add(Thunk<&ControlObject::GetTypeInfoCount>::AsSlot());
  add(Thunk<&ControlObject::GetTypeInfo>::AsSlot());
  add(Thunk<&ControlObject::GetIDsOfNames>::AsSlot());
  add(Thunk<&ControlObject::Invoke>::AsSlot());

  for (Slot slot : {
           Thunk<&ControlObject::GetVisible>::AsSlot(),        Thunk<&ControlObject::PutVisible>::AsSlot(),
           Thunk<&ControlObject::GetAutoScroll>::AsSlot(),     Thunk<&ControlObject::PutAutoScroll>::AsSlot(),
           Thunk<&ControlObject::GetAutoSize>::AsSlot(),       Thunk<&ControlObject::PutAutoSize>::AsSlot(),
           Thunk<&ControlObject::GetAxBorderStyle>::AsSlot(),  Thunk<&ControlObject::PutAxBorderStyle>::AsSlot(),
           Thunk<&ControlObject::GetCaption>::AsSlot(),        Thunk<&ControlObject::PutCaption>::AsSlot(),
           Thunk<&ControlObject::GetColor>::AsSlot(),          Thunk<&ControlObject::PutColor>::AsSlot(),
           Thunk<&ControlObject::GetFont>::AsSlot(),           Thunk<&ControlObject::PutFont>::AsSlot(),
           Thunk<&ControlObject::PutRefFont>::AsSlot(),        Thunk<&ControlObject::GetKeyPreview>::AsSlot(),
           Thunk<&ControlObject::PutKeyPreview>::AsSlot(),     Thunk<&ControlObject::GetPixelsPerInch>::AsSlot(),
           Thunk<&ControlObject::PutPixelsPerInch>::AsSlot(),  Thunk<&ControlObject::GetPrintScale>::AsSlot(),
           Thunk<&ControlObject::PutPrintScale>::AsSlot(),     Thunk<&ControlObject::GetScaled>::AsSlot(),
           Thunk<&ControlObject::PutScaled>::AsSlot(),         Thunk<&ControlObject::GetActive>::AsSlot(),
           Thunk<&ControlObject::GetDropTarget>::AsSlot(),     Thunk<&ControlObject::PutDropTarget>::AsSlot(),
           Thunk<&ControlObject::GetHelpFile>::AsSlot(),       Thunk<&ControlObject::PutHelpFile>::AsSlot(),
           Thunk<&ControlObject::GetDoubleBuffered>::AsSlot(), Thunk<&ControlObject::PutDoubleBuffered>::AsSlot(),
           Thunk<&ControlObject::GetEnabled>::AsSlot(),        Thunk<&ControlObject::PutEnabled>::AsSlot(),
           Thunk<&ControlObject::GetBiDiMode>::AsSlot(),       Thunk<&ControlObject::PutBiDiMode>::AsSlot(),
           Thunk<&ControlObject::GetCursor>::AsSlot(),         Thunk<&ControlObject::PutCursor>::AsSlot(),
       }) {
    add(slot);
  }

  for (TailMember member : class_.tail) {
    switch (member) {
      case TailMember::Width: add(Thunk<&ControlObject::GetWidth>::AsSlot()); break;
      case TailMember::Height: add(Thunk<&ControlObject::GetHeight>::AsSlot()); break;
      case TailMember::GetMLACitaraInfo: add(Thunk<&ControlObject::GetMLACitaraInfo>::AsSlot()); break;
      case TailMember::GetAPACitaraInfo: add(Thunk<&ControlObject::GetAPACitaraInfo>::AsSlot()); break;
      case TailMember::Reset: add(Thunk<&ControlObject::Reset>::AsSlot()); break;
      case TailMember::ValidateData: add(Thunk<&ControlObject::ValidateData>::AsSlot()); break;
      case TailMember::SavedData:
        add(Thunk<&ControlObject::GetSavedData>::AsSlot());
        add(Thunk<&ControlObject::PutSavedData>::AsSlot());
        break;
    }
  }
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

void* ControlObject::FindInterface(REFIID iid) {
  if (IsEqualIID(iid, class_.dispatchIid) || IsEqualIID(iid, IID_IDispatch)) return &dual_;
  // Base interfaces that several of the listed ones share are answered by one of them.
  if (IsEqualIID(iid, IID_IOleWindow)) return static_cast<IOleInPlaceObject*>(this);
  if (IsEqualIID(iid, IID_IPersist)) return static_cast<IPersistStreamInit*>(this);
  if (IsEqualIID(iid, IID_IViewObject)) return static_cast<IViewObject2*>(this);
  return Implements::FindInterface(iid);
}

HRESULT ControlObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, class_.dispatchIid) ? S_OK : S_FALSE;
}

HRESULT ControlObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  try {
    const std::vector<IConnectionPoint*> points{&connectionPoint_};
    *out = Make<Enumerator<IEnumConnectionPoints, IConnectionPoint*>>(points).Detach();
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ControlObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, class_.eventsIid)) return CONNECT_E_NOCONNECTION;
  connectionPoint_.AddRef();
  *out = &connectionPoint_;
  return S_OK;
}

// --- IDispatch ---

HRESULT ControlObject::GetTypeInfoCount(UINT* count) { return dispatch_.GetTypeInfoCount(count); }

HRESULT ControlObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) { return dispatch_.GetTypeInfo(index, info); }

HRESULT ControlObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return dispatch_.GetIDsOfNames(iid, names, count, ids);
}

HRESULT ControlObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* argumentError) {
  return dispatch_.Invoke(&dual_, id, iid, flags, params, result, exception, argumentError);
}

// --- Members ---

// Every member runs with the form's window (when it has one) as the one acting, so a message it
// shows is a real one owned by the host's window, and the windows show its changes at once.
template <class T, class Read>
HRESULT ControlObject::Get(T* out, T empty, Read&& read) {
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
HRESULT ControlObject::Put(Write&& write) {
  FormWindow::Scope scope(window_.get());
  const HRESULT status = Guarded(errorSource_, std::forward<Write>(write));
  SyncWindow();
  return status;
}

HRESULT ControlObject::GetVisible(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(form_->Visible()); });
}
HRESULT ControlObject::PutVisible(VARIANT_BOOL value) {
  return Put([&] { IsTrue(value) ? form_->Show() : form_->Hide(); });
}
HRESULT ControlObject::GetAutoScroll(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.autoScroll); });
}
HRESULT ControlObject::PutAutoScroll(VARIANT_BOOL value) {
  return Put([&] { stored_.autoScroll = IsTrue(value); });
}
HRESULT ControlObject::GetAutoSize(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.autoSize); });
}
HRESULT ControlObject::PutAutoSize(VARIANT_BOOL value) {
  return Put([&] { stored_.autoSize = IsTrue(value); });
}
HRESULT ControlObject::GetAxBorderStyle(LONG* value) {
  return Get(value, LONG{0}, [&] { return stored_.axBorderStyle; });
}
HRESULT ControlObject::PutAxBorderStyle(LONG value) {
  return Put([&] { stored_.axBorderStyle = value; });
}
HRESULT ControlObject::GetCaption(BSTR* value) {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->Caption()); });
}
HRESULT ControlObject::PutCaption(BSTR value) {
  return Put([&] { form_->SetCaption(TextOf(value)); });
}
HRESULT ControlObject::GetColor(OLE_COLOR* value) {
  return Get(value, OLE_COLOR{0}, [&] { return OLE_COLOR{form_->Color()}; });
}
HRESULT ControlObject::PutColor(OLE_COLOR value) {
  return Put([&] {
    form_->SetColor(value);
    if (window_) InvalidateRect(window_->Handle(), nullptr, TRUE);
  });
}
HRESULT ControlObject::GetFont(IFontDisp** value) {
  return Get(value, static_cast<IFontDisp*>(nullptr), [&] { return font_->Font().Detach(); });
}
HRESULT ControlObject::PutFont(IFontDisp* value) {
  return Put([&] { font_->Assign(value); });
}
HRESULT ControlObject::PutRefFont(IFontDisp** value) {
  return Put([&] {
    if (value == nullptr) throw ComError(E_POINTER, "no font was given");
    font_->Assign(*value);
  });
}
HRESULT ControlObject::GetKeyPreview(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.keyPreview); });
}
HRESULT ControlObject::PutKeyPreview(VARIANT_BOOL value) {
  return Put([&] { stored_.keyPreview = IsTrue(value); });
}
HRESULT ControlObject::GetPixelsPerInch(LONG* value) {
  return Get(value, LONG{0}, [&] { return stored_.pixelsPerInch; });
}
HRESULT ControlObject::PutPixelsPerInch(LONG value) {
  return Put([&] { stored_.pixelsPerInch = value; });
}
HRESULT ControlObject::GetPrintScale(LONG* value) {
  return Get(value, LONG{0}, [&] { return stored_.printScale; });
}
HRESULT ControlObject::PutPrintScale(LONG value) {
  return Put([&] { stored_.printScale = value; });
}
HRESULT ControlObject::GetScaled(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.scaled); });
}
HRESULT ControlObject::PutScaled(VARIANT_BOOL value) {
  return Put([&] { stored_.scaled = IsTrue(value); });
}
HRESULT ControlObject::GetActive(VARIANT_BOOL* value) {
  // Active while the keyboard focus is inside the form's window in its host.
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(window_ != nullptr && active_); });
}
HRESULT ControlObject::GetDropTarget(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.dropTarget); });
}
HRESULT ControlObject::PutDropTarget(VARIANT_BOOL value) {
  return Put([&] { stored_.dropTarget = IsTrue(value); });
}
HRESULT ControlObject::GetHelpFile(BSTR* value) {
  return Get(value, BSTR{}, [&] { return MakeBstr(stored_.helpFile); });
}
HRESULT ControlObject::PutHelpFile(BSTR value) {
  return Put([&] { stored_.helpFile = TextOf(value); });
}
HRESULT ControlObject::GetDoubleBuffered(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(stored_.doubleBuffered); });
}
HRESULT ControlObject::PutDoubleBuffered(VARIANT_BOOL value) {
  return Put([&] { stored_.doubleBuffered = IsTrue(value); });
}
HRESULT ControlObject::GetEnabled(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return AutomationBoolOf(form_->Enabled()); });
}
HRESULT ControlObject::PutEnabled(VARIANT_BOOL value) {
  return Put([&] { form_->SetEnabled(IsTrue(value)); });
}
HRESULT ControlObject::GetBiDiMode(LONG* value) {
  return Get(value, LONG{0}, [&] { return stored_.biDiMode; });
}
HRESULT ControlObject::PutBiDiMode(LONG value) {
  return Put([&] { stored_.biDiMode = value; });
}
HRESULT ControlObject::GetCursor(SHORT* value) {
  return Get(value, SHORT{0}, [&] { return stored_.cursor; });
}
HRESULT ControlObject::PutCursor(SHORT value) {
  return Put([&] { stored_.cursor = value; });
}
HRESULT ControlObject::GetWidth(LONG* value) {
  return Get(value, LONG{0}, [&] { return class_.width; });
}
HRESULT ControlObject::GetHeight(LONG* value) {
  return Get(value, LONG{0}, [&] { return class_.height; });
}
HRESULT ControlObject::GetMLACitaraInfo(BSTR* value) {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->GetMLACitaraInfo()); });
}
HRESULT ControlObject::GetAPACitaraInfo(BSTR* value) {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->GetAPACitaraInfo()); });
}
HRESULT ControlObject::Reset() {
  return Put([&] { form_->Reset(); });
}
HRESULT ControlObject::GetSavedData(BSTR* value) {
  return Get(value, BSTR{}, [&] { return MakeBstr(form_->SavedData()); });
}
HRESULT ControlObject::PutSavedData(BSTR value) {
  return Put([&] { form_->SetSavedData(TextOf(value)); });
}
HRESULT ControlObject::ValidateData(VARIANT_BOOL* value) {
  return Get(value, VARIANT_FALSE, [&] { return static_cast<VARIANT_BOOL>(form_->ValidateData()); });
}

}  // namespace citara::server
