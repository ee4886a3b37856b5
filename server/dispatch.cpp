#include "server/dispatch.h"

namespace citara::server {

HRESULT TypeInfoDispatch::GetTypeInfoCount(UINT* count) const {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TypeInfoDispatch::GetTypeInfo(UINT index, ITypeInfo** info) const {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  info_->AddRef();
  *info = info_.Get();
  return S_OK;
}

HRESULT TypeInfoDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) const {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return info_->GetIDsOfNames(names, count, ids);
}

HRESULT TypeInfoDispatch::Invoke(void* instance, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) const {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) flags |= DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;
  return info_->Invoke(instance, id, flags, params, result, exception, argumentError);
}

}  // namespace citara::server
