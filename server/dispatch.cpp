#include "server/dispatch.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

namespace citara::server {
namespace {

// The interface that a parameter of type `type` takes (a pointer, or a pointer's pointer, to an
// interface or dispatch interface, through any aliases: stdole2's IFontDisp is one), or GUID_NULL.
IID InterfaceOf(ITypeInfo* info, const TYPEDESC& type) {
  const TYPEDESC* t = &type;
  for (int depth = 0; depth < 2 && t->vt == VT_PTR && t->lptdesc != nullptr; ++depth) t = t->lptdesc;
  if (t == &type || t->vt != VT_USERDEFINED) return GUID_NULL;
  ComPtr<ITypeInfo> from = ComPtr<ITypeInfo>::Share(info);
  HREFTYPE reference = t->hreftype;
  for (int aliases = 0; aliases < 4; ++aliases) {
    ComPtr<ITypeInfo> referred;
    TYPEATTR* attributes = nullptr;
    if (FAILED(from->GetRefTypeInfo(reference, referred.Put())) || FAILED(referred->GetTypeAttr(&attributes))) {
      return GUID_NULL;
    }
    const TYPEKIND kind = attributes->typekind;
    const IID iid = attributes->guid;
    const TYPEDESC alias = attributes->tdescAlias;
    referred->ReleaseTypeAttr(attributes);
    if (kind == TKIND_DISPATCH || kind == TKIND_INTERFACE) return iid;
    if (kind != TKIND_ALIAS || alias.vt != VT_USERDEFINED) return GUID_NULL;
    from = referred;
    reference = alias.hreftype;
  }
  return GUID_NULL;
}

// The arities and names of `info`'s members. Throws nothing but std::bad_alloc: a member whose
// description cannot be read is left out (and then left to OLE Automation's own checks and search).
TypeInfoDispatch::Members ReadMembersOf(ITypeInfo* info) {
  TypeInfoDispatch::Members members;
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) return members;
  const UINT count = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    TypeInfoDispatch::Arity arity{f->memid, f->invkind, 0, 0};
    for (SHORT p = 0; p < f->cParams; ++p) {
      const USHORT flags = f->lprgelemdescParam[p].paramdesc.wParamFlags;
      if (flags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) continue;  // not passed by the caller
      if (const IID iid = InterfaceOf(info, f->lprgelemdescParam[p].tdesc);
          arity.objectParameter == TypeInfoDispatch::kNoObject && !IsEqualIID(iid, GUID_NULL)) {
        arity.objectParameter = arity.accepted;
        arity.objectIid = iid;
      }
      ++arity.accepted;
      if ((flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) == 0) arity.required = arity.accepted;
    }
    // A variable argument list (cParamsOpt -1): its last parameter takes any number of arguments.
    if (f->cParamsOpt == -1 && arity.accepted > 0) {
      arity.required = std::min(arity.required, arity.accepted - 1);
      arity.accepted = ~0u;
    }
    members.arities.push_back(arity);
    BSTR name = nullptr;
    UINT names = 0;
    if (SUCCEEDED(info->GetNames(f->memid, &name, 1, &names)) && names == 1) {
      members.names.emplace_back(std::wstring(name, SysStringLen(name)), f->memid);
    }
    SysFreeString(name);
    info->ReleaseFuncDesc(f);
  }
  return members;
}

// Names compared as OLE Automation compares them, for the ASCII names Citara's members have:
// without regard to case.
bool SameAsciiName(const std::wstring& member, const wchar_t* name) {
  std::size_t i = 0;
  for (; i < member.size(); ++i) {
    const wchar_t c = name[i];
    if (c == L'\0') return false;
    const wchar_t folded = (c >= L'a' && c <= L'z') ? c - (L'a' - L'A') : c;
    const wchar_t m = member[i];
    if (folded != ((m >= L'a' && m <= L'z') ? m - (L'a' - L'A') : m)) return false;
  }
  return name[i] == L'\0';
}

bool IsNullObject(const VARIANT& v) {
  return (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) && v.punkVal == nullptr;
}

// The argument itself: a VARIANT passed by reference stands for the one it points to.
const VARIANT& Dereferenced(const VARIANT& v) {
  return v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal != nullptr ? *v.pvarVal : v;
}

// A DECIMAL argument that is no DECIMAL at all.
bool IsInvalidDecimal(const VARIANT& argument) {
  const VARIANT& v = Dereferenced(argument);
  const DECIMAL* d = v.vt == VT_DECIMAL                                            ? &v.decVal
                     : v.vt == (VT_DECIMAL | VT_BYREF) && v.pdecVal != nullptr ? v.pdecVal
                                                                                 : nullptr;
  return d != nullptr && (d->scale > 28 || (d->sign & ~DECIMAL_NEG) != 0);
}

// The object an argument passes (by value or by reference), or null.
IUnknown* ObjectOf(const VARIANT& argument) {
  const VARIANT& v = Dereferenced(argument);
  switch (v.vt) {
    case VT_DISPATCH:
    case VT_UNKNOWN: return v.punkVal;
    case VT_DISPATCH | VT_BYREF:
    case VT_UNKNOWN | VT_BYREF: return v.ppunkVal != nullptr ? *v.ppunkVal : nullptr;
    default: return nullptr;
  }
}

// True when `object` answers `iid`; the reference it gives is released at once.
bool Answers(IUnknown* object, REFIID iid) {
  IUnknown* answer = nullptr;
  if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&answer))) || answer == nullptr) return false;
  answer->Release();
  return true;
}

}  // namespace

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
  if (ids == nullptr) return E_POINTER;
  if (names == nullptr || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) {
    if (names[i] == nullptr) return E_INVALIDARG;
  }
  // A member's name alone (as script hosts ask, once per call) is found in the table read once;
  // parameter names, and a name not in the table, are left to OLE Automation.
  if (count == 1) {
    for (const auto& [member, id] : ReadMembers().names) {
      if (SameAsciiName(member, names[0])) {
        ids[0] = id;
        return S_OK;
      }
    }
  }
  return info_->GetIDsOfNames(names, count, ids);
}

const TypeInfoDispatch::Members& TypeInfoDispatch::ReadMembers() const {
  if (members_ == nullptr) {
    // Kept for the process's lifetime: a few kilobytes per interface.
    static std::mutex lock;
    static std::deque<std::pair<IID, Members>> interfaces;
    std::lock_guard<std::mutex> hold(lock);
    for (const auto& [iid, members] : interfaces) {
      if (IsEqualIID(iid, iid_)) members_ = &members;
    }
    if (members_ == nullptr) members_ = &interfaces.emplace_back(iid_, ReadMembersOf(info_.Get())).second;
  }
  return *members_;
}

HRESULT TypeInfoDispatch::CheckArguments(DISPID id, WORD flags, const DISPPARAMS& params, UINT* argumentError) const {
  if ((params.cArgs > 0 && params.rgvarg == nullptr) ||
      (params.cNamedArgs > 0 && params.rgdispidNamedArgs == nullptr) || params.cNamedArgs > params.cArgs) {
    return E_INVALIDARG;
  }
  const Arity* member = nullptr;
  for (const Arity& arity : ReadMembers().arities) {
    if (arity.id == id && (arity.kind & flags) != 0) {
      member = &arity;
      break;
    }
  }
  if (member == nullptr) return S_OK;  // no such member: OLE Automation answers DISP_E_MEMBERNOTFOUND
  const bool put = (member->kind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) != 0;
  // A put's value is named DISPID_PROPERTYPUT; any other parameter by its position.
  for (UINT i = 0; i < params.cNamedArgs; ++i) {
    const DISPID name = params.rgdispidNamedArgs[i];
    const bool names = put ? name == DISPID_PROPERTYPUT : name >= 0 && static_cast<UINT>(name) < member->accepted;
    if (!names) {
      if (argumentError) *argumentError = i;
      return DISP_E_PARAMNOTFOUND;
    }
  }
  if (params.cArgs < member->required || params.cArgs > member->accepted) return DISP_E_BADPARAMCOUNT;
  for (UINT i = 0; i < params.cArgs; ++i) {
    if (!IsInvalidDecimal(params.rgvarg[i])) continue;
    if (argumentError) *argumentError = i;
    return DISP_E_OVERFLOW;
  }
  if (member->objectParameter != kNoObject) {
    // Arguments stand last first; a put's value is its last parameter.
    const UINT position = put ? 0 : params.cArgs - 1 - member->objectParameter;
    if (member->objectParameter < params.cArgs || put) {
      IUnknown* object = ObjectOf(params.rgvarg[position]);
      if (object != nullptr && !Answers(object, member->objectIid)) {
        if (argumentError) *argumentError = position;
        return DISP_E_TYPEMISMATCH;
      }
    }
  }
  return S_OK;
}

HRESULT TypeInfoDispatch::Invoke(IDispatch* instance, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) const {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (params == nullptr) return E_INVALIDARG;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) flags |= DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;
  const HRESULT checked = CheckArguments(id, flags, *params, argumentError);
  if (FAILED(checked)) return checked;
  const HRESULT status = info_->Invoke(instance, id, flags, params, result, exception, argumentError);
  // OLE Automation calls a null object where text or a number is wanted a bad variant type; to the
  // caller it is an argument of the wrong type.
  if (status == DISP_E_BADVARTYPE) {
    for (UINT i = 0; i < params->cArgs; ++i) {
      if (!IsNullObject(params->rgvarg[i])) continue;
      if (argumentError) *argumentError = i;
      return DISP_E_TYPEMISMATCH;
    }
  }
  return status;
}

}  // namespace citara::server
