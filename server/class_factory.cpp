// Citara's headers come before the Windows headers (see windows_headers.h).
#include "core/source_form.h"

#include "server/class_factory.h"

#include <deque>
#include <mutex>

#include "server/com_error.h"
#include "server/control_object.h"

namespace citara::server {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
  AddRef();
  *out = static_cast<IClassFactory*>(this);
  return S_OK;
}

ULONG ClassFactory::AddRef() noexcept {
  ObjectCreated();
  return ++references_;
}

ULONG ClassFactory::Release() noexcept {
  const ULONG left = --references_;
  ObjectDestroyed();
  return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  const ErrorSource source{class_.progId, &class_.dispatchIid};
  ComPtr<ControlObject> object;
  const HRESULT made = Guarded(source, [&] { object = ControlObject::Create(class_); });
  if (FAILED(made)) return made;
  return object->QueryInterface(iid, out);  // on failure the object goes with `object`
}

HRESULT ClassFactory::LockServer(BOOL lock) noexcept {
  server::LockServer(lock != FALSE);
  return S_OK;
}

HRESULT GetClassObject(const ServerLibrary& library, REFCLSID clsid, REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  // One factory per class, made on the first request and kept for the module's lifetime.
  static std::mutex lock;
  static std::deque<ClassFactory> factories;
  const ControlClass* cls = FindClass(library, clsid);
  if (cls == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
  return Guarded([&] {
    std::lock_guard<std::mutex> hold(lock);
    if (factories.empty()) {
      for (const ControlClass& c : library.classes) factories.emplace_back(c);
    }
    return factories[static_cast<std::size_t>(cls - library.classes.data())].QueryInterface(iid, out);
  });
}

}  // namespace citara::server
