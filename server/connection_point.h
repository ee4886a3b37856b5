// The control's one connection point, for its events interface. It lives inside the control object
// and shares its reference count, so it is valid exactly as long as its container. It admits one
// sink at a time: the sink is asked for the events interface and kept until it is disconnected or
// the control goes.
#pragma once

#include "server/com.h"

namespace citara::server {

class EventConnectionPoint final : public IConnectionPoint {
 public:
  EventConnectionPoint(IConnectionPointContainer& container, const GUID& eventsIid)
      : container_(container), eventsIid_(eventsIid) {}

  // The connected sink (with a reference for the caller), or null.
  ComPtr<IDispatch> Sink() const { return sink_; }
  // Disconnects the sink, if any.
  void Clear() { sink_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return container_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return container_.Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) noexcept override;

 private:
  IConnectionPointContainer& container_;
  GUID eventsIid_;
  ComPtr<IDispatch> sink_;
  DWORD cookie_ = 0;      // the current connection's cookie (0: none)
  DWORD lastCookie_ = 0;  // so that a stale cookie never disconnects a later sink
};

}  // namespace citara::server
