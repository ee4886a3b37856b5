// What the C++ host tests share: an interface pointer that releases itself, BSTR and VARIANT
// holders, GUIDs from text, late-bound calls by name the way script hosts make them, and a server
// DLL loaded by its path.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace host {

// The single-threaded apartment a host test program works in, entered before its first test and
// left after its last. A program registers it once:
//   const auto* const apartment = ::testing::AddGlobalTestEnvironment(new host::ComApartment);
class ComApartment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
  void TearDown() override { CoUninitialize(); }
};

template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(const Ref& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  Ref& operator=(Ref o) {
    std::swap(p_, o.p_);
    return *this;
  }
  ~Ref() {
    if (p_) p_->Release();
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() {
    *this = Ref();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() { *this = Ref(); }

 private:
  T* p_ = nullptr;
};

struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  Variant(const Variant&) = delete;
  ~Variant() { VariantClear(this); }
  // The value as text (VariantChangeType's own conversion: booleans as -1 and 0).
  std::wstring Text() const {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<Variant*>(this), 0, VT_BSTR))) return L"<no text>";
    std::wstring result(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return result;
  }
};

inline std::wstring TextOf(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

inline GUID Guid(const wchar_t* text) {
  GUID g{};
  CLSIDFromString(const_cast<LPOLESTR>(text), &g);
  return g;
}

// An argument of a late-bound call.
struct Arg {
  Arg(VARTYPE type, LONG value) : vt(type), number(value) {}
  Arg(std::wstring value) : vt(VT_BSTR), text(std::move(value)) {}
  Arg(const wchar_t* value) : Arg(std::wstring(value)) {}
  Arg(IDispatch* value) : vt(VT_DISPATCH), object(value) {}
  VARTYPE vt;
  LONG number = 0;
  std::wstring text;
  IDispatch* object = nullptr;
};

// Calls `name` on `object` with `flags` and `args` (in reading order). Returns the call's status.
inline HRESULT Call(IDispatch* object, const wchar_t* name, WORD flags, const std::vector<Arg>& args, VARIANT* result,
                    EXCEPINFO* exception = nullptr) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT status = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(status)) return status;
  std::vector<VARIANT> values(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    VARIANT& v = values[args.size() - 1 - i];  // DISPPARAMS lists the arguments last first
    VariantInit(&v);
    v.vt = args[i].vt;
    switch (args[i].vt) {
      case VT_BSTR: v.bstrVal = SysAllocStringLen(args[i].text.data(), static_cast<UINT>(args[i].text.size())); break;
      case VT_BOOL: v.boolVal = static_cast<VARIANT_BOOL>(args[i].number); break;
      case VT_I2: v.iVal = static_cast<SHORT>(args[i].number); break;
      case VT_DISPATCH: v.pdispVal = args[i].object; v.pdispVal->AddRef(); break;
      default: v.lVal = args[i].number; break;
    }
  }
  DISPID named = DISPID_PROPERTYPUT;
  const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  DISPPARAMS params{values.data(), put ? &named : nullptr, static_cast<UINT>(values.size()), put ? 1u : 0u};
  UINT argumentError = 0;
  status = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception, &argumentError);
  for (VARIANT& v : values) VariantClear(&v);
  return status;
}

inline HRESULT Get(IDispatch* object, const wchar_t* name, Variant& result) {
  return Call(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &result);
}

inline HRESULT Put(IDispatch* object, const wchar_t* name, const Arg& value) {
  return Call(object, name, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

inline Ref<IDispatch> Create(const wchar_t* progId) {
  Ref<IDispatch> object;
  CLSID clsid{};
  if (SUCCEEDED(CLSIDFromProgID(progId, &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void());
  }
  return object;
}

#ifdef CITARA_SERVER_DIR
// The Windows path of `dll` in the build's server folder.
inline std::wstring ServerPath(const wchar_t* dll) {
  std::wstring path = CITARA_SERVER_DIR;
  for (wchar_t& ch : path) {
    if (ch == L'/') ch = L'\\';
  }
  return path + L"\\" + dll;
}
#endif

// A server DLL loaded by its path (not through the registry) and its four exported functions.
struct ServerFunctions {
  HMODULE module = nullptr;
  HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
  HRESULT(STDAPICALLTYPE* registerServer)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregisterServer)() = nullptr;

  explicit ServerFunctions(const std::wstring& path) : module(LoadLibraryW(path.c_str())) {
    if (!module) return;
    getClassObject = reinterpret_cast<decltype(getClassObject)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    canUnloadNow =
        reinterpret_cast<decltype(canUnloadNow)>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    registerServer = reinterpret_cast<decltype(registerServer)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    unregisterServer = reinterpret_cast<decltype(unregisterServer)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllUnregisterServer")));
  }
  ServerFunctions(const ServerFunctions&) = delete;
  ServerFunctions& operator=(const ServerFunctions&) = delete;
  ~ServerFunctions() {
    if (module) FreeLibrary(module);
  }
  bool Loaded() const { return getClassObject && canUnloadNow && registerServer && unregisterServer; }
};

// Runs `run` on one new thread for each of `works`, all at the same time, and waits for every one
// (at most `milliseconds`). True when each was started, ended in time and returned 0.
template <class Work, std::size_t N>
bool RunAtOnce(Work (&works)[N], LPTHREAD_START_ROUTINE run, DWORD milliseconds) {
  HANDLE threads[N] = {};
  bool ok = true;
  for (std::size_t i = 0; i < N; ++i) {
    threads[i] = CreateThread(nullptr, 0, run, &works[i], 0, nullptr);
    ok = ok && threads[i] != nullptr;
  }
  if (!ok) return false;  // the threads that did start end on their own
  ok = WaitForMultipleObjects(static_cast<DWORD>(N), threads, TRUE, milliseconds) == WAIT_OBJECT_0;
  for (HANDLE thread : threads) {
    DWORD code = 1;
    ok = ok && GetExitCodeThread(thread, &code) && code == 0;
    CloseHandle(thread);
  }
  return ok;
}

// An events sink for the tests: answers `eventsIid` and IDispatch, records every event's DISPID,
// and on OnKeyPress (DISPID 10) sets the key to `newKey` when that is not -1.
class RecordingSink final : public IDispatch {
 public:
  explicit RecordingSink(const GUID& eventsIid) : eventsIid_(eventsIid) {}
  std::vector<DISPID> events;
  std::vector<SHORT> keysSeen;
  LONG newKey = -1;
  ULONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, eventsIid_)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    events.push_back(id);
    if (id == 10 && flags == DISPATCH_METHOD && params->cArgs == 1 && params->rgvarg[0].vt == (VT_I2 | VT_BYREF)) {
      keysSeen.push_back(*params->rgvarg[0].piVal);
      if (newKey != -1) *params->rgvarg[0].piVal = static_cast<SHORT>(newKey);
    }
    return S_OK;
  }

 private:
  GUID eventsIid_;
};

}  // namespace host
