// The control object: what a host holds when it creates one of the ten controls. It creates the
// control's form from the form's description and serves the control's dual dispatch interface (as
// the type library declares it, dual_interface.h), error information, the class's type information
// (IProvideClassInfo2), and one connection point for the control's events.
//
// Every method a host can call is noexcept. Every entry of the dispatch interface runs inside
// Guarded (com_error.h): a null out pointer gives E_POINTER, every out value is set to its empty
// value before the work starts, an exception gives a failure status with error information
// (description, the ProgID, the dispatch interface's IID).
//
// Events: a click on the form fires OnClick; a character key seen by the form (typed while the
// form itself has the focus, or into any of its fields while KeyPreview is set) fires OnKeyPress,
// whose sink may change the key or cancel it with 0; OnDestroy fires when the last reference goes.
// While the control is active in place, its window fires OnActivate and OnDeactivate (the focus
// enters or leaves the form), OnClick and OnDblClick (the mouse on the form's surface) and OnPaint.
// Firing holds a reference to the sink for the duration of the call; FreezeEvents holds them back.
//
// The container side (control_site.cpp): in-place activation makes the form a real window, a child
// of the site's window (form_window.h), sized by SetObjectRects; persistence keeps the framework's
// own properties only, never the saved-data text.
//
// Messages: the required-field message of ValidateData goes to the current platform port. Inside
// the servers that is the Win32 port (win32_platform.h): a real message box while the control is
// shown in place, and otherwise OK at once without showing anything, so a script host never blocks
// on a dialog that no one can see.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/source_form.h"
#include "server/class_table.h"
#include "server/com.h"
#include "server/com_error.h"
#include "server/connection_point.h"
#include "server/dispatch.h"
#include "server/form_window.h"
#include "server/ole_font.h"

namespace citara::server {

// A control's dual dispatch interface (DualInterface<IBook> and so on, dual_interface.h), owned by
// its control object.
class DualDispatch {
 public:
  virtual ~DualDispatch() = default;
  virtual IDispatch* Dispatch() noexcept = 0;
};

class ControlObject final
    : public Implements<ControlObject, ISupportErrorInfo, IConnectionPointContainer, IOleObject, IOleInPlaceObject,
                        IOleInPlaceActiveObject, IOleControl, IViewObject2, IDataObject, IPersistStreamInit,
                        IPersistStorage, IPersistPropertyBag, IPerPropertyBrowsing, ISpecifyPropertyPages,
                        IQuickActivate, ISimpleFrameSite, IObjectSafety, IProvideClassInfo2> {
 public:
  // Makes the control of `cls` with its form. Throws when the form or the type information cannot
  // be made.
  static ComPtr<ControlObject> Create(const ControlClass& cls);
  ~ControlObject();

  const ControlClass& Class() const { return class_; }
  TSourceForm& Form() const { return *form_; }
  // The control's dual dispatch interface (no reference added).
  IDispatch* Dispatch() const noexcept { return dual_->Dispatch(); }

  void* FindInterface(REFIID iid) noexcept;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override;
  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) noexcept override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) noexcept override;

  // --- The container side (control_site.cpp) ---
  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) noexcept override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) noexcept override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) noexcept override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** out) noexcept override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                   LPCRECT rect) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Update() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) noexcept override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) noexcept override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) noexcept override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) noexcept override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) noexcept override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) noexcept override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() noexcept override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() noexcept override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) noexcept override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) noexcept override {
    return message ? S_FALSE : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) noexcept override { return S_OK; }
  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) noexcept override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* message) noexcept override { return message ? S_OK : E_POINTER; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) noexcept override;
  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                 LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) noexcept override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) noexcept override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) noexcept override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) noexcept override;
  // IDataObject: the MLA entry as Unicode text (CF_UNICODETEXT) and as "Rich Text Format", both
  // in global memory, for a host that pastes or drags the control
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) noexcept override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) noexcept override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) noexcept override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) noexcept override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) noexcept override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
  // IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) noexcept override;
  HRESULT STDMETHODCALLTYPE IsDirty() noexcept override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) noexcept override;
  HRESULT STDMETHODCALLTYPE InitNew() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) noexcept override { return storage ? S_OK : E_POINTER; }
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) noexcept override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE HandsOffStorage() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) noexcept override;
  // IPerPropertyBrowsing, ISpecifyPropertyPages: no pages, no predefined values
  HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID, BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID, CLSID* out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID, CALPOLESTR* strings, CADWORD* cookies) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID, DWORD, VARIANT* out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) noexcept override;
  // IQuickActivate
  HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) noexcept override;
  HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) noexcept override;
  HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) noexcept override;
  // ISimpleFrameSite: the form passes every message on
  HRESULT STDMETHODCALLTYPE PreMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result,
                                             DWORD* cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE PostMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result, DWORD) noexcept override;
  // IProvideClassInfo, IProvideClassInfo2: the control class's type information and its events
  // interface (GUIDKIND_DEFAULT_SOURCE_DISP_IID), as hosts that bind events ask
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) noexcept override;
  // IObjectSafety
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) noexcept override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) noexcept override;

  // The form's window while the control is active in place (nullptr otherwise).
  FormWindow* Window() const { return window_.get(); }

  // --- The dispatch interface's entries (reached through DualInterface, dual_interface.h) ---
  HRESULT GetTypeInfoCount(UINT* count) noexcept;
  HRESULT GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept;
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept;
  HRESULT Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                 UINT* argumentError) noexcept;

  HRESULT GetVisible(VARIANT_BOOL* value) noexcept;
  HRESULT PutVisible(VARIANT_BOOL value) noexcept;
  HRESULT GetAutoScroll(VARIANT_BOOL* value) noexcept;
  HRESULT PutAutoScroll(VARIANT_BOOL value) noexcept;
  HRESULT GetAutoSize(VARIANT_BOOL* value) noexcept;
  HRESULT PutAutoSize(VARIANT_BOOL value) noexcept;
  HRESULT GetAxBorderStyle(LONG* value) noexcept;
  HRESULT PutAxBorderStyle(LONG value) noexcept;
  HRESULT GetCaption(BSTR* value) noexcept;
  HRESULT PutCaption(BSTR value) noexcept;
  HRESULT GetColor(OLE_COLOR* value) noexcept;
  HRESULT PutColor(OLE_COLOR value) noexcept;
  HRESULT GetFont(IFontDisp** value) noexcept;
  HRESULT PutFont(IFontDisp* value) noexcept;
  HRESULT PutRefFont(IFontDisp** value) noexcept;
  HRESULT GetKeyPreview(VARIANT_BOOL* value) noexcept;
  HRESULT PutKeyPreview(VARIANT_BOOL value) noexcept;
  HRESULT GetPixelsPerInch(LONG* value) noexcept;
  HRESULT PutPixelsPerInch(LONG value) noexcept;
  HRESULT GetPrintScale(LONG* value) noexcept;
  HRESULT PutPrintScale(LONG value) noexcept;
  HRESULT GetScaled(VARIANT_BOOL* value) noexcept;
  HRESULT PutScaled(VARIANT_BOOL value) noexcept;
  HRESULT GetActive(VARIANT_BOOL* value) noexcept;
  HRESULT GetDropTarget(VARIANT_BOOL* value) noexcept;
  HRESULT PutDropTarget(VARIANT_BOOL value) noexcept;
  HRESULT GetHelpFile(BSTR* value) noexcept;
  HRESULT PutHelpFile(BSTR value) noexcept;
  HRESULT GetDoubleBuffered(VARIANT_BOOL* value) noexcept;
  HRESULT PutDoubleBuffered(VARIANT_BOOL value) noexcept;
  HRESULT GetEnabled(VARIANT_BOOL* value) noexcept;
  HRESULT PutEnabled(VARIANT_BOOL value) noexcept;
  HRESULT GetBiDiMode(LONG* value) noexcept;
  HRESULT PutBiDiMode(LONG value) noexcept;
  HRESULT GetCursor(SHORT* value) noexcept;
  HRESULT PutCursor(SHORT value) noexcept;
  HRESULT GetWidth(LONG* value) noexcept;
  HRESULT GetHeight(LONG* value) noexcept;
  HRESULT GetMLACitaraInfo(BSTR* value) noexcept;
  HRESULT GetAPACitaraInfo(BSTR* value) noexcept;
  HRESULT Reset() noexcept;
  HRESULT GetSavedData(BSTR* value) noexcept;
  HRESULT PutSavedData(BSTR value) noexcept;
  HRESULT ValidateData(VARIANT_BOOL* value) noexcept;

  // The events interface's entries (DISPIDs of the events interface).
  static constexpr DISPID kOnActivate = 1, kOnClick = 2, kOnDblClick = 4, kOnDestroy = 5, kOnDeactivate = 6,
                          kOnKeyPress = 10, kOnPaint = 15;

 private:
  // The form's properties that its model does not hold; they are kept here for the host.
  struct StoredProperties {
    bool autoScroll = false;
    bool autoSize = false;
    LONG axBorderStyle = 0;  // afbNone
    bool keyPreview = false;
    LONG pixelsPerInch = 96;
    LONG printScale = 1;  // poProportional
    bool scaled = true;
    bool dropTarget = false;
    std::string helpFile;
    bool doubleBuffered = false;
    LONG biDiMode = 0;  // bdLeftToRight
    SHORT cursor = 0;   // the default cursor
  };

  template <class T, class... A>
  friend ComPtr<T> Make(A&&...);
  ControlObject(const ControlClass& cls, ComPtr<ITypeInfo> info);
  void InstallEventHooks();
  // Fires event `id` at the connected sink, if any, with `params`.
  void Fire(DISPID id, DISPPARAMS& params);
  void FireKeyPress(char32_t& ch);
  // In-place activation: the form's window in the site's window; `uiActivate` also takes the focus.
  HRESULT ActivateInPlace(bool uiActivate) noexcept;
  // Brings the form's window up to the model after a member changed it.
  void SyncWindow() noexcept;
  // The form took more room than the container gave it (its fonts need more): the extent grows
  // to the `wanted` rectangle and the container is asked for it.
  void AskForRoom(const RECT& wanted);
  // The framework's own properties, by name, as the dispatch interface reads and writes them.
  std::vector<std::pair<std::wstring, std::wstring>> FrameworkProperties();
  void SetFrameworkProperties(const std::vector<std::pair<std::wstring, std::wstring>>& properties);

  template <class T, class Read>
  HRESULT Get(T* out, T empty, Read&& read) noexcept;
  template <class Write>
  HRESULT Put(Write&& write) noexcept;

  const ControlClass& class_;
  ErrorSource errorSource_;
  TypeInfoDispatch dispatch_;
  std::unique_ptr<DualDispatch> dual_;
  EventConnectionPoint connectionPoint_;
  StoredProperties stored_;
  std::unique_ptr<TSourceForm> form_;
  std::unique_ptr<FontLink> font_;

  // The container side.
  ComPtr<IOleClientSite> clientSite_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IOleAdviseHolder> adviseHolder_;
  ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0, viewFlags_ = 0;
  std::unique_ptr<FormWindow> window_;
  SIZEL extent_{};  // HIMETRIC
  bool uiActive_ = false;
  bool active_ = false;  // the focus is inside the form's windows
  bool dirty_ = false;
  bool askingForRoom_ = false;
  int frozenEvents_ = 0;
  DWORD safetyCaller_ = 0, safetyData_ = 0;
};

}  // namespace citara::server
