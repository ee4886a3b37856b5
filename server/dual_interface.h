// A control's dual dispatch interface exactly as its type library declares it. `Interface` is the
// C++ class that widl writes from the library's IDL (IBook in Citara_TLB.h, ...), so the compiler
// lays out the vtable at compile time from the interface's own member list, in the library's order,
// for the build's bitness. Every entry forwards to the control object, whose members are noexcept
// and do their work behind the guard (com_error.h).
//
//   // in citara_classes.cpp, after #include "Citara_TLB.h":
//   {L"Book", ..., &MakeDualInterface<IBook>},   // the class table's row of Book
//
// Include this header after the library's generated header: the entries name its enumerations.
#pragma once

#include <memory>

#include "server/control_object.h"

namespace citara::server {

template <class Interface>
class DualInterface final : public Interface, public DualDispatch {
 public:
  explicit DualInterface(ControlObject& owner) : owner_(owner) {}

  IDispatch* Dispatch() noexcept override { return static_cast<Interface*>(this); }

  // IUnknown: the control object's identity.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    return owner_.QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return owner_.Release(); }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override { return owner_.GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override {
    return owner_.GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) noexcept override {
    return owner_.GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) noexcept override {
    return owner_.Invoke(id, iid, lcid, flags, params, result, exception, argumentError);
  }

  // The 36 form properties, the same in every interface.
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* v) noexcept override { return owner_.GetVisible(v); }
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL v) noexcept override { return owner_.PutVisible(v); }
  HRESULT STDMETHODCALLTYPE get_AutoScroll(VARIANT_BOOL* v) noexcept override { return owner_.GetAutoScroll(v); }
  HRESULT STDMETHODCALLTYPE put_AutoScroll(VARIANT_BOOL v) noexcept override { return owner_.PutAutoScroll(v); }
  HRESULT STDMETHODCALLTYPE get_AutoSize(VARIANT_BOOL* v) noexcept override { return owner_.GetAutoSize(v); }
  HRESULT STDMETHODCALLTYPE put_AutoSize(VARIANT_BOOL v) noexcept override { return owner_.PutAutoSize(v); }
  HRESULT STDMETHODCALLTYPE get_AxBorderStyle(TxActiveFormBorderStyle* v) noexcept override {
    return GetEnumeration(v, &ControlObject::GetAxBorderStyle);
  }
  HRESULT STDMETHODCALLTYPE put_AxBorderStyle(TxActiveFormBorderStyle v) noexcept override {
    return owner_.PutAxBorderStyle(v);
  }
  HRESULT STDMETHODCALLTYPE get_Caption(BSTR* v) noexcept override { return owner_.GetCaption(v); }
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR v) noexcept override { return owner_.PutCaption(v); }
  HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* v) noexcept override { return owner_.GetColor(v); }
  HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR v) noexcept override { return owner_.PutColor(v); }
  HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** v) noexcept override { return owner_.GetFont(v); }
  HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* v) noexcept override { return owner_.PutFont(v); }
  HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp** v) noexcept override { return owner_.PutRefFont(v); }
  HRESULT STDMETHODCALLTYPE get_KeyPreview(VARIANT_BOOL* v) noexcept override { return owner_.GetKeyPreview(v); }
  HRESULT STDMETHODCALLTYPE put_KeyPreview(VARIANT_BOOL v) noexcept override { return owner_.PutKeyPreview(v); }
  HRESULT STDMETHODCALLTYPE get_PixelsPerInch(LONG* v) noexcept override { return owner_.GetPixelsPerInch(v); }
  HRESULT STDMETHODCALLTYPE put_PixelsPerInch(LONG v) noexcept override { return owner_.PutPixelsPerInch(v); }
  HRESULT STDMETHODCALLTYPE get_PrintScale(TxPrintScale* v) noexcept override {
    return GetEnumeration(v, &ControlObject::GetPrintScale);
  }
  HRESULT STDMETHODCALLTYPE put_PrintScale(TxPrintScale v) noexcept override { return owner_.PutPrintScale(v); }
  HRESULT STDMETHODCALLTYPE get_Scaled(VARIANT_BOOL* v) noexcept override { return owner_.GetScaled(v); }
  HRESULT STDMETHODCALLTYPE put_Scaled(VARIANT_BOOL v) noexcept override { return owner_.PutScaled(v); }
  HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* v) noexcept override { return owner_.GetActive(v); }
  HRESULT STDMETHODCALLTYPE get_DropTarget(VARIANT_BOOL* v) noexcept override { return owner_.GetDropTarget(v); }
  HRESULT STDMETHODCALLTYPE put_DropTarget(VARIANT_BOOL v) noexcept override { return owner_.PutDropTarget(v); }
  HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* v) noexcept override { return owner_.GetHelpFile(v); }
  HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR v) noexcept override { return owner_.PutHelpFile(v); }
  HRESULT STDMETHODCALLTYPE get_DoubleBuffered(VARIANT_BOOL* v) noexcept override {
    return owner_.GetDoubleBuffered(v);
  }
  HRESULT STDMETHODCALLTYPE put_DoubleBuffered(VARIANT_BOOL v) noexcept override {
    return owner_.PutDoubleBuffered(v);
  }
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* v) noexcept override { return owner_.GetEnabled(v); }
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL v) noexcept override { return owner_.PutEnabled(v); }
  HRESULT STDMETHODCALLTYPE get_BiDiMode(TxBiDiMode* v) noexcept override {
    return GetEnumeration(v, &ControlObject::GetBiDiMode);
  }
  HRESULT STDMETHODCALLTYPE put_BiDiMode(TxBiDiMode v) noexcept override { return owner_.PutBiDiMode(v); }
  HRESULT STDMETHODCALLTYPE get_Cursor(SHORT* v) noexcept override { return owner_.GetCursor(v); }
  HRESULT STDMETHODCALLTYPE put_Cursor(SHORT v) noexcept override { return owner_.PutCursor(v); }

  // The interface's own last entries. Width and Height are read-only properties in seven
  // interfaces and methods in three: the pair the interface declares overrides its entries, the
  // other pair stays a plain member function, outside the vtable.
  HRESULT STDMETHODCALLTYPE get_Width(LONG* v) noexcept { return owner_.GetWidth(v); }
  HRESULT STDMETHODCALLTYPE get_Height(LONG* v) noexcept { return owner_.GetHeight(v); }
  HRESULT STDMETHODCALLTYPE Width(LONG* v) noexcept { return owner_.GetWidth(v); }
  HRESULT STDMETHODCALLTYPE Height(LONG* v) noexcept { return owner_.GetHeight(v); }
  HRESULT STDMETHODCALLTYPE GetMLACitaraInfo(BSTR* v) noexcept override { return owner_.GetMLACitaraInfo(v); }
  HRESULT STDMETHODCALLTYPE GetAPACitaraInfo(BSTR* v) noexcept override { return owner_.GetAPACitaraInfo(v); }
  HRESULT STDMETHODCALLTYPE Reset() noexcept override { return owner_.Reset(); }
  HRESULT STDMETHODCALLTYPE get_SavedData(BSTR* v) noexcept override { return owner_.GetSavedData(v); }
  HRESULT STDMETHODCALLTYPE put_SavedData(BSTR v) noexcept override { return owner_.PutSavedData(v); }
  HRESULT STDMETHODCALLTYPE ValidateData(VARIANT_BOOL* v) noexcept override { return owner_.ValidateData(v); }

 private:
  // An enumeration travels as the LONG that the control object keeps.
  template <class Enumeration>
  HRESULT GetEnumeration(Enumeration* v, HRESULT (ControlObject::*get)(LONG*) noexcept) noexcept {
    LONG value = 0;
    const HRESULT status = (owner_.*get)(v != nullptr ? &value : nullptr);
    if (v != nullptr) *v = static_cast<Enumeration>(value);
    return status;
  }

  ControlObject& owner_;
};

// Makes the dual interface `Interface` of `owner` (the class table's factory of it).
template <class Interface>
std::unique_ptr<DualDispatch> MakeDualInterface(ControlObject& owner) {
  return std::make_unique<DualInterface<Interface>>(owner);
}

}  // namespace citara::server
