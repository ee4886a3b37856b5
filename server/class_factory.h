// The class factory of one control class. The factories are made once, one per row of the library's
// class table, and live as long as the module; a reference that a host holds to one counts as a live
// object, so the library is not unloaded under it.
#pragma once

#include "server/class_table.h"
#include "server/com.h"

namespace citara::server {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const ControlClass& cls) : class_(cls) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

 private:
  const ControlClass& class_;
  std::atomic<ULONG> references_{0};
};

// The factory of `clsid` asked for `iid` (DllGetClassObject).
HRESULT GetClassObject(const ServerLibrary& library, REFCLSID clsid, REFIID iid, void** out) noexcept;

}  // namespace citara::server
