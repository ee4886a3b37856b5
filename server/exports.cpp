// The four functions that make a server library of Citara.dll and CitaraWeb.dll (exported by name
// through server.def); the library's controls come from its class table.
#include "widgets/platform.h"

#include "server/class_factory.h"
#include "server/registration.h"
#include "server/server_module.h"

namespace {

// The platform port inside a server: the headless port, except that a message dialog answers OK at
// once and is not kept. The required-field message of ValidateData then never blocks a script host
// that has no one to click it, and no control grows a list of dialogs that no one reads.
class ServerPlatform final : public citara::HeadlessPlatform {
 public:
  citara::DialogResult ShowMessage(const citara::MessageDialog&) override { return citara::DialogResult::Ok; }
};

ServerPlatform serverPlatform;
const bool serverPlatformInstalled = (citara::SetCurrentPlatform(&serverPlatform), true);

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return citara::server::GetClassObject(citara::server::ThisLibrary(), clsid, iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  if (!citara::server::CanUnload()) return S_FALSE;
  citara::server::ReleaseTypeLibrary();
  return S_OK;
}

HRESULT STDAPICALLTYPE DllRegisterServer() { return citara::server::RegisterServer(citara::server::ThisLibrary()); }

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return citara::server::UnregisterServer(citara::server::ThisLibrary());
}

}  // extern "C"
