// The four functions that make a server library of Citara.dll and CitaraWeb.dll (exported by name
// through server.def); the library's controls come from its class table. The SDK declares them
// without noexcept; each only calls functions that are noexcept.
#include "widgets/platform.h"

#include "server/class_factory.h"
#include "server/com_error.h"
#include "server/registration.h"
#include "server/win32_platform.h"
#include "server/server_module.h"

namespace {

// The servers' platform port (win32_platform.h), the default of every thread of the host: real
// message boxes while a control is shown in a container, the headless answer (OK at once, not kept)
// while it is not.
const bool serverPlatformInstalled = (citara::SetDefaultPlatform(&citara::server::ServerPlatform()), true);

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return citara::server::GetClassObject(citara::server::ThisLibrary(), clsid, iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  if (!citara::server::CanUnload()) return S_FALSE;
  return citara::server::Guarded([] { citara::server::ReleaseTypeLibrary(); });
}

HRESULT STDAPICALLTYPE DllRegisterServer() { return citara::server::RegisterServer(citara::server::ThisLibrary()); }

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return citara::server::UnregisterServer(citara::server::ThisLibrary());
}

}  // extern "C"
