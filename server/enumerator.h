// A COM enumerator over a snapshot of items (IEnumConnections, IEnumConnectionPoints,
// IEnumFORMATETC). The snapshot holds its own references, so it stays valid whatever happens to the
// connections afterwards.
#pragma once

#include <vector>

#include "server/com.h"
#include "server/com_error.h"

namespace citara::server {

// How an item is copied out (with a reference for the receiver) and released.
inline CONNECTDATA CopyItem(const CONNECTDATA& d) {
  if (d.pUnk) d.pUnk->AddRef();
  return d;
}
inline void ReleaseItem(CONNECTDATA& d) {
  if (d.pUnk) d.pUnk->Release();
}
// The formats a control offers carry no target device.
inline FORMATETC CopyItem(const FORMATETC& f) { return f; }
inline void ReleaseItem(FORMATETC&) {}
template <class I>
I* CopyItem(I* p) {
  if (p) p->AddRef();
  return p;
}
template <class I>
void ReleaseItem(I*& p) {
  if (p) p->Release();
}

template <class Enum, class Item>
class Enumerator final : public Implements<Enumerator<Enum, Item>, Enum> {
 public:
  explicit Enumerator(const std::vector<Item>& items, std::size_t position = 0) : position_(position) {
    items_.reserve(items.size());
    for (const Item& item : items) items_.push_back(CopyItem(item));
  }
  ~Enumerator() {
    for (Item& item : items_) ReleaseItem(item);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) noexcept override {
    if (out == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && position_ < items_.size(); ++n) out[n] = CopyItem(items_[position_++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override {
    const std::size_t left = items_.size() - position_;
    position_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() noexcept override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Enum** out) noexcept override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return Guarded([&] { *out = Make<Enumerator>(items_, position_).Detach(); });
  }

 private:
  std::vector<Item> items_;
  std::size_t position_;
};

}  // namespace citara::server
