// IDispatch served by the type information of a dual interface: names are looked up and calls are
// made by OLE Automation itself (ITypeInfo::GetIDsOfNames and ITypeInfo::Invoke) on the object's
// vtable, so what a script reaches is exactly what the type library describes.
//
// What a caller passes is checked first, because OLE Automation trusts it: a null or inconsistent
// DISPPARAMS is E_INVALIDARG, a named argument that names no parameter DISP_E_PARAMNOTFOUND, too
// many or too few arguments DISP_E_BADPARAMCOUNT (OLE Automation would drop the extra ones and call
// the member anyway), and null names E_INVALIDARG. A DECIMAL that is none (a scale over 28, a sign
// byte other than 0 or 0x80) is DISP_E_OVERFLOW before any conversion sees it (OLE Automation's
// conversion to text overruns its buffer on one). An object passed where the member takes an
// interface (the Font puts take IFontDisp) must answer that interface, else DISP_E_TYPEMISMATCH:
// OLE Automation itself would keep a reference to the object it asked and answer E_NOINTERFACE.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "server/com.h"

namespace citara::server {

class TypeInfoDispatch {
 public:
  // `info` is the type information of the dispatch interface `iid`.
  TypeInfoDispatch(ComPtr<ITypeInfo> info, REFIID iid) : info_(std::move(info)), iid_(iid) {}

  ITypeInfo* Info() const { return info_.Get(); }

  HRESULT GetTypeInfoCount(UINT* count) const;
  HRESULT GetTypeInfo(UINT index, ITypeInfo** info) const;
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) const;
  // Calls member `id` of `instance` (a pointer to the dual interface). A property put of either
  // kind is asked for as both kinds, so a member that declares only one of them is still reached.
  HRESULT Invoke(IDispatch* instance, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) const;

  // How many arguments a member takes (those it may go without first).
  struct Arity {
    MEMBERID id;
    INVOKEKIND kind;
    UINT required;
    UINT accepted;
    // The interface that the member's parameter `objectParameter` takes (objectParameter is
    // kNoObject when no parameter takes one).
    UINT objectParameter = kNoObject;
    IID objectIid = GUID_NULL;
  };
  static constexpr UINT kNoObject = ~0u;
  // What is read of the interface's members once per interface and shared by every object: their
  // arities, and their names for looking one up without OLE Automation's own (slow) search.
  struct Members {
    std::vector<Arity> arities;
    std::vector<std::pair<std::wstring, MEMBERID>> names;
  };

 private:
  const Members& ReadMembers() const;
  HRESULT CheckArguments(DISPID id, WORD flags, const DISPPARAMS& params, UINT* argumentError) const;

  ComPtr<ITypeInfo> info_;
  IID iid_;
  mutable const Members* members_ = nullptr;
};

}  // namespace citara::server
