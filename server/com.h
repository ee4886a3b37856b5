// The server's small COM toolkit: an owning interface pointer, the counts that decide whether the
// library may be unloaded, and one base that gives an object its reference count and answers
// QueryInterface from its list of interfaces.
//
//   class Enumerator : public Implements<Enumerator, IEnumConnections> { ... };
//   ComPtr<Enumerator> e = Make<Enumerator>(items);      // reference count 1, owned by `e`
//   e->QueryInterface(IID_IEnumConnections, out);        // answered from the list
//
// Objects are made only by Make (a class with private constructors declares it a friend:
// `template <class T, class... A> friend ComPtr<T> Make(A&&...);`), and every object made this way
// counts as a live object of the library until it is destroyed, so DllCanUnloadNow never lets the
// library go while a host holds anything of it. The IUnknown methods are noexcept, as every method
// a host calls is (com_error.h).
#pragma once

#include <atomic>
#include <utility>

#include "server/windows_headers.h"

namespace citara::server {

// --- Live objects and server locks ---
void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
// True when no object of the library lives and no lock is held.
bool CanUnload();

// --- Owning interface pointer ---
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller owns.
  static ComPtr Adopt(T* p) {
    ComPtr r;
    r.p_ = p;
    return r;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* p) {
    if (p) p->AddRef();
    return Adopt(p);
  }
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() {
    if (p_) p_->Release();
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Releases what is held and returns the slot for a function that writes a new reference.
  T** Put() {
    *this = nullptr;
    return &p_;
  }
  // Gives up ownership: the caller now owns the reference.
  T* Detach() { return std::exchange(p_, nullptr); }

 private:
  T* p_ = nullptr;
};

// --- Objects ---
// The base of every COM object of the server. `Derived` lists its interfaces as `Interfaces`; the
// first one also stands for IUnknown. A derived class adds interfaces that are not base classes
// (a dispatch interface laid out at run time, say) by defining FindInterface and falling back to
// Implements::FindInterface.
template <class Derived, class First, class... Rest>
class Implements : public First, public Rest... {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (out == nullptr) return E_POINTER;
    *out = static_cast<Derived*>(this)->FindInterface(iid);
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

 protected:
  Implements() { ObjectCreated(); }
  ~Implements() { ObjectDestroyed(); }
  Implements(const Implements&) = delete;
  Implements& operator=(const Implements&) = delete;

  // Called by a destructor that may call out (to fire an event): references taken and dropped
  // meanwhile can no longer bring the count to zero a second time.
  void HoldForDestruction() { references_ = 1u << 30; }

  void* FindInterface(REFIID iid) noexcept {
    if (IsEqualIID(iid, IID_IUnknown)) return static_cast<First*>(this);
    if (IsEqualIID(iid, __uuidof(First))) return static_cast<First*>(this);
    void* found = nullptr;
    ((found = found != nullptr || !IsEqualIID(iid, __uuidof(Rest)) ? found : static_cast<Rest*>(this)), ...);
    return found;
  }

 private:
  std::atomic<ULONG> references_{1};
};

// Makes an object with one reference, owned by the result. Throws what the constructor throws, and
// std::bad_alloc.
template <class T, class... Args>
ComPtr<T> Make(Args&&... args) {
  return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

// Answers `iid` from `object` into `out` (which is set to null first). The usual last step of a
// function that hands out an interface.
template <class T>
HRESULT QueryInto(T* object, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (object == nullptr) return E_NOINTERFACE;
  return object->QueryInterface(iid, out);
}

}  // namespace citara::server
