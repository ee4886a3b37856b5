// IDispatch served by the type information of a dual interface: names are looked up and calls are
// made by OLE Automation itself (ITypeInfo::GetIDsOfNames and ITypeInfo::Invoke) on the object's
// vtable, so what a script reaches is exactly what the type library describes.
#pragma once

#include "server/com.h"

namespace citara::server {

class TypeInfoDispatch {
 public:
  explicit TypeInfoDispatch(ComPtr<ITypeInfo> info) : info_(std::move(info)) {}

  ITypeInfo* Info() const { return info_.Get(); }

  HRESULT GetTypeInfoCount(UINT* count) const;
  HRESULT GetTypeInfo(UINT index, ITypeInfo** info) const;
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) const;
  // Calls member `id` of `instance` (a pointer to the dual interface). A property put of either
  // kind is asked for as both kinds, so a member that declares only one of them is still reached.
  HRESULT Invoke(void* instance, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) const;

 private:
  ComPtr<ITypeInfo> info_;
};

}  // namespace citara::server
