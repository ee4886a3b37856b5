#include "server/server_module.h"

#include <mutex>

#include "server/class_table.h"
#include "server/com_error.h"

namespace citara::server {
namespace {

std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};

std::mutex typeLibraryLock;
// Deliberately never destroyed: at process exit OLE may be gone before the module's destructors run.
ITypeLib* cachedTypeLibrary = nullptr;

}  // namespace

void ObjectCreated() { ++liveObjects; }
void ObjectDestroyed() { --liveObjects; }
void LockServer(bool lock) {
  if (lock) ++serverLocks;
  else --serverLocks;
}
bool CanUnload() { return liveObjects == 0 && serverLocks == 0; }

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw ComError(HRESULT_FROM_WIN32(GetLastError()), "GetModuleFileName");
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

ComPtr<ITypeLib> TypeLibrary() {
  std::lock_guard<std::mutex> hold(typeLibraryLock);
  if (cachedTypeLibrary == nullptr) {
    Check(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &cachedTypeLibrary), "loading the type library");
  }
  return ComPtr<ITypeLib>::Share(cachedTypeLibrary);
}

ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid) {
  ComPtr<ITypeInfo> info;
  Check(TypeLibrary()->GetTypeInfoOfGuid(guid, info.Put()), "finding the type information");
  return info;
}

void ReleaseTypeLibrary() {
  std::lock_guard<std::mutex> hold(typeLibraryLock);
  if (cachedTypeLibrary != nullptr) cachedTypeLibrary->Release();
  cachedTypeLibrary = nullptr;
}

const ControlClass* FindClass(const ServerLibrary& library, REFCLSID clsid) {
  for (const ControlClass& c : library.classes) {
    if (IsEqualCLSID(c.clsid, clsid)) return &c;
  }
  return nullptr;
}

}  // namespace citara::server
