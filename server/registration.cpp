#include "server/registration.h"

#include <string>
#include <vector>

#include "server/com_error.h"
#include "server/server_module.h"

namespace citara::server {
namespace {

constexpr int kVerbNameResource = 1;  // the string resource "Properties"

std::wstring VerbName() {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(ThisModule(), kVerbNameResource, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring(L"Properties");
}

std::wstring DirectoryOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ShortPathOf(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring shortPath(needed, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return path;
  shortPath.resize(length);
  return shortPath;
}

// Creates `key` under HKEY_CLASSES_ROOT and sets its value `name` (nullptr: the default value).
void WriteKey(const std::wstring& key, const std::wstring& value, const wchar_t* name = nullptr) {
  HKEY handle = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
  if (status != ERROR_SUCCESS) throw ComError(E_FAIL, "Error creating system registry entry");
}

// Deletes `key`; true unless the key exists and could not be deleted.
bool DeleteKey(const std::wstring& key) {
  const LONG status = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);  // braces and upper-case hexadecimal digits
  return text;
}

HRESULT RegisterServer(const ServerLibrary& library) noexcept {
  return Guarded(ErrorSource{library.name}, [&] {
    std::wstring path = ModulePath();
    std::wstring helpDirectory = DirectoryOf(path);
    Check(RegisterTypeLib(TypeLibrary().Get(), path.data(), helpDirectory.data()), "registering the type library");

    const std::wstring inprocPath = path.find(L' ') != std::wstring::npos ? ShortPathOf(path) : path;
    const std::wstring libid = GuidText(library.libid);
    const std::wstring version = std::to_wstring(library.majorVersion) + L"." + std::to_wstring(library.minorVersion);
    const std::wstring verb = VerbName();
    for (const ControlClass& c : library.classes) {
      const std::wstring key = L"CLSID\\" + GuidText(c.clsid);
      WriteKey(key, c.description);
      WriteKey(key + L"\\InprocServer32", inprocPath);
      WriteKey(key + L"\\InprocServer32", L"Apartment", L"ThreadingModel");
      WriteKey(c.progId, c.description);
      WriteKey(std::wstring(c.progId) + L"\\Clsid", GuidText(c.clsid));
      WriteKey(key + L"\\ProgID", c.progId);
      WriteKey(key + L"\\Version", version);
      WriteKey(key + L"\\TypeLib", libid);
      WriteKey(key + L"\\MiscStatus", L"0");
      WriteKey(key + L"\\MiscStatus\\1", std::to_wstring(kMiscStatus));
      WriteKey(key + L"\\ToolboxBitmap32", path + L"," + std::to_wstring(c.toolboxBitmap));
      WriteKey(key + L"\\Control", L"");
      WriteKey(key + L"\\Verb", L"");
      WriteKey(key + L"\\Verb\\0", verb + L",0,2");
    }
  }) == S_OK ? S_OK : E_FAIL;
}

HRESULT UnregisterServer(const ServerLibrary& library) noexcept {
  bool removedAll = true;
  const HRESULT status = Guarded(ErrorSource{library.name}, [&] {
    // The type library's registration, through the function as OLEAUT32 has it now; its own
    // result does not count.
    if (HMODULE oleaut = GetModuleHandleW(L"OLEAUT32.DLL")) {
      using UnRegister = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
      if (auto unregister = reinterpret_cast<UnRegister>(
              reinterpret_cast<void*>(GetProcAddress(oleaut, "UnRegisterTypeLib")))) {
        ComPtr<ITypeLib> typeLibrary = TypeLibrary();
        TLIBATTR* attributes = nullptr;
        if (SUCCEEDED(typeLibrary->GetLibAttr(&attributes))) {
          unregister(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                     attributes->syskind);
          typeLibrary->ReleaseTLibAttr(attributes);
        }
      }
    }
    for (const ControlClass& c : library.classes) {
      const std::wstring key = L"CLSID\\" + GuidText(c.clsid);
      const std::wstring progId = c.progId;
      for (const std::wstring& k :
           {key + L"\\Verb\\0", key + L"\\Verb", key + L"\\Control", key + L"\\ToolboxBitmap32",
            key + L"\\MiscStatus\\1", key + L"\\MiscStatus", key + L"\\TypeLib", key + L"\\Version",
            key + L"\\ProgID", progId + L"\\Clsid", progId, key + L"\\InprocServer32", key}) {
        removedAll = DeleteKey(k) && removedAll;
      }
    }
  });
  return status == S_OK && removedAll ? S_OK : E_FAIL;
}

}  // namespace citara::server
