#include "server/connection_point.h"

#include <vector>

#include "server/enumerator.h"

namespace citara::server {

HRESULT EventConnectionPoint::QueryInterface(REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
  AddRef();
  *out = static_cast<IConnectionPoint*>(this);
  return S_OK;
}

HRESULT EventConnectionPoint::GetConnectionInterface(IID* iid) noexcept {
  if (iid == nullptr) return E_POINTER;
  *iid = eventsIid_;
  return S_OK;
}

HRESULT EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) noexcept {
  if (out == nullptr) return E_POINTER;
  container_.AddRef();
  *out = &container_;
  return S_OK;
}

HRESULT EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) noexcept {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;
  if (sink_) return CONNECT_E_ADVISELIMIT;
  ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(eventsIid_, reinterpret_cast<void**>(events.Put())))) return CONNECT_E_CANNOTCONNECT;
  sink_ = events;
  cookie_ = ++lastCookie_;
  *cookie = cookie_;
  return S_OK;
}

HRESULT EventConnectionPoint::Unadvise(DWORD cookie) noexcept {
  if (!sink_ || cookie == 0 || cookie != cookie_) return CONNECT_E_NOCONNECTION;
  ComPtr<IDispatch> leaving = sink_;  // released after the state is consistent
  sink_ = nullptr;
  cookie_ = 0;
  return S_OK;
}

HRESULT EventConnectionPoint::EnumConnections(IEnumConnections** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return Guarded([&] {
    std::vector<CONNECTDATA> connections;
    if (sink_) connections.push_back({sink_.Get(), cookie_});
    *out = Make<Enumerator<IEnumConnections, CONNECTDATA>>(connections).Detach();
  });
}

}  // namespace citara::server
