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
// Firing holds a reference to the sink for the duration of the call. (Activation, double clicks and
// painting come from the control's window, which the headless forms do not have yet.)
//
// Messages: the required-field message of ValidateData goes to the current platform port; inside
// the server that is a port whose dialogs answer OK at once without showing anything, so a script
// host never blocks on a dialog that no one can see.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/source_form.h"
#include "server/class_table.h"
#include "server/com.h"
#include "server/com_error.h"
#include "server/connection_point.h"
#include "server/dispatch.h"
#include "server/ole_font.h"

namespace citara::server {

class ControlObject final : public Implements<ControlObject, ISupportErrorInfo, IConnectionPointContainer> {
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
  static constexpr DISPID kOnClick = 2, kOnDestroy = 5, kOnKeyPress = 10;

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
};

}  // namespace citara::server
