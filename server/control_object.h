// The control object: what a host holds when it creates one of the ten controls. It creates the
// control's form from the form's description and serves the control's dual dispatch interface (laid
// out from the class table, see class_table.h), error information, and one connection point for the
// control's events.
//
// Every entry of the dispatch interface runs inside Guarded (com_error.h): a null out pointer gives
// E_POINTER, every out value is set to its empty value before the work starts, an exception gives a
// failure status with error information (description, the ProgID, the dispatch interface's IID).
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

#include <array>
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

class ControlObject final
    : public Implements<ControlObject, ISupportErrorInfo, IConnectionPointContainer, IOleObject, IOleInPlaceObject,
                        IOleInPlaceActiveObject, IOleControl, IViewObject2, IDataObject, IPersistStreamInit,
                        IPersistStorage, IPersistPropertyBag, IPerPropertyBrowsing, ISpecifyPropertyPages,
                        IQuickActivate, ISimpleFrameSite, IObjectSafety> {
 public:
  // Makes the control of `cls` with its form. Throws when the form or the type information cannot
  // be made.
  static ComPtr<ControlObject> Create(const ControlClass& cls);
  ~ControlObject();

  const ControlClass& Class() const { return class_; }
  TSourceForm& Form() const { return *form_; }
  // The control's dual dispatch interface (no reference added).
  IDispatch* Dispatch() { return reinterpret_cast<IDispatch*>(&dual_); }

  void* FindInterface(REFIID iid);

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;
  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // --- The container side (control_site.cpp) ---
  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** out) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                   LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** out) override;
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** out) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override { return message ? S_FALSE : E_POINTER; }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* message) override { return message ? S_OK : E_POINTER; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;
  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                 LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;
  // IDataObject: no formats (the entries travel through the dispatch interface)
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
  // IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override { return storage ? S_OK : E_POINTER; }
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
  // IPerPropertyBrowsing, ISpecifyPropertyPages: no pages, no predefined values
  HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID, BSTR* out) override;
  HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID, CLSID* out) override;
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID, CALPOLESTR* strings, CADWORD* cookies) override;
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID, DWORD, VARIANT* out) override;
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;
  // IQuickActivate
  HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
  HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;
  // ISimpleFrameSite: the form passes every message on
  HRESULT STDMETHODCALLTYPE PreMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT*, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT*, DWORD) override { return S_OK; }
  // IObjectSafety
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // The form's window while the control is active in place (nullptr otherwise).
  FormWindow* Window() const { return window_.get(); }

  // --- The dispatch interface's entries (reached through the vtable laid out in Create) ---
  HRESULT GetTypeInfoCount(UINT* count);
  HRESULT GetTypeInfo(UINT index, LCID, ITypeInfo** info);
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids);
  HRESULT Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                 UINT* argumentError);

  HRESULT GetVisible(VARIANT_BOOL* value);
  HRESULT PutVisible(VARIANT_BOOL value);
  HRESULT GetAutoScroll(VARIANT_BOOL* value);
  HRESULT PutAutoScroll(VARIANT_BOOL value);
  HRESULT GetAutoSize(VARIANT_BOOL* value);
  HRESULT PutAutoSize(VARIANT_BOOL value);
  HRESULT GetAxBorderStyle(LONG* value);
  HRESULT PutAxBorderStyle(LONG value);
  HRESULT GetCaption(BSTR* value);
  HRESULT PutCaption(BSTR value);
  HRESULT GetColor(OLE_COLOR* value);
  HRESULT PutColor(OLE_COLOR value);
  HRESULT GetFont(IFontDisp** value);
  HRESULT PutFont(IFontDisp* value);
  HRESULT PutRefFont(IFontDisp** value);
  HRESULT GetKeyPreview(VARIANT_BOOL* value);
  HRESULT PutKeyPreview(VARIANT_BOOL value);
  HRESULT GetPixelsPerInch(LONG* value);
  HRESULT PutPixelsPerInch(LONG value);
  HRESULT GetPrintScale(LONG* value);
  HRESULT PutPrintScale(LONG value);
  HRESULT GetScaled(VARIANT_BOOL* value);
  HRESULT PutScaled(VARIANT_BOOL value);
  HRESULT GetActive(VARIANT_BOOL* value);
  HRESULT GetDropTarget(VARIANT_BOOL* value);
  HRESULT PutDropTarget(VARIANT_BOOL value);
  HRESULT GetHelpFile(BSTR* value);
  HRESULT PutHelpFile(BSTR value);
  HRESULT GetDoubleBuffered(VARIANT_BOOL* value);
  HRESULT PutDoubleBuffered(VARIANT_BOOL value);
  HRESULT GetEnabled(VARIANT_BOOL* value);
  HRESULT PutEnabled(VARIANT_BOOL value);
  HRESULT GetBiDiMode(LONG* value);
  HRESULT PutBiDiMode(LONG value);
  HRESULT GetCursor(SHORT* value);
  HRESULT PutCursor(SHORT value);
  HRESULT GetWidth(LONG* value);
  HRESULT GetHeight(LONG* value);
  HRESULT GetMLACitaraInfo(BSTR* value);
  HRESULT GetAPACitaraInfo(BSTR* value);
  HRESULT Reset();
  HRESULT GetSavedData(BSTR* value);
  HRESULT PutSavedData(BSTR value);
  HRESULT ValidateData(VARIANT_BOOL* value);

  // The events interface's entries (DISPIDs of the events interface).
  static constexpr DISPID kOnActivate = 1, kOnClick = 2, kOnDblClick = 4, kOnDestroy = 5, kOnDeactivate = 6,
                          kOnKeyPress = 10, kOnPaint = 15;

 private:
  // The dual interface: what the host's interface pointer points to. Its vtable is laid out from
  // the class table: the seven IDispatch entries, the 36 form properties, then the class's tail.
  using Slot = void (*)();
  static constexpr std::size_t kSlots = 7 + 36 + 9;
  struct DualInterface {
    const Slot* vtable;
    ControlObject* owner;
  };
  template <auto Method>
  struct Thunk;

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

  explicit ControlObject(const ControlClass& cls, ComPtr<ITypeInfo> info);
  void LayOutVtable();
  void InstallEventHooks();
  // Fires event `id` at the connected sink, if any, with `params`.
  void Fire(DISPID id, DISPPARAMS& params);
  void FireKeyPress(char32_t& ch);
  // In-place activation: the form's window in the site's window; `uiActivate` also takes the focus.
  HRESULT ActivateInPlace(bool uiActivate);
  // Brings the form's window up to the model after a member changed it.
  void SyncWindow();
  // The framework's own properties, by name, as the dispatch interface reads and writes them.
  std::vector<std::pair<std::wstring, std::wstring>> FrameworkProperties();
  void SetFrameworkProperties(const std::vector<std::pair<std::wstring, std::wstring>>& properties);

  template <class T, class Read>
  HRESULT Get(T* out, T empty, Read&& read);
  template <class Write>
  HRESULT Put(Write&& write);

  const ControlClass& class_;
  ErrorSource errorSource_;
  TypeInfoDispatch dispatch_;
  std::array<Slot, kSlots> vtable_{};
  DualInterface dual_{};
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
  int frozenEvents_ = 0;
  DWORD safetyCaller_ = 0, safetyData_ = 0;
};

}  // namespace citara::server
