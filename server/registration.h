// DllRegisterServer and DllUnregisterServer of a server library: the type library's registration
// and, for every control class in table order, its keys under HKEY_CLASSES_ROOT.
//
// Registration writes, per class (all values REG_SZ): CLSID\{clsid} = description;
// InprocServer32 = the module's path (its short form when the path has a space) with
// ThreadingModel = Apartment; ProgID = description and ProgID\Clsid = {clsid}; CLSID\{clsid}\ProgID;
// Version = 1.0; TypeLib = {libid}; MiscStatus = 0 and MiscStatus\1 = 205201; ToolboxBitmap32 = the
// long path, "," and the bitmap number; Control; Verb and Verb\0 = "Properties,0,2".
//
// Unregistration removes the type library's registration and then those keys, deepest first.
// A key that is already gone is no failure (unregistering twice succeeds); a key that exists but
// cannot be removed makes the result E_FAIL, after every other key has been tried.
#pragma once

#include "server/class_table.h"

namespace citara::server {

HRESULT RegisterServer(const ServerLibrary& library) noexcept;
HRESULT UnregisterServer(const ServerLibrary& library) noexcept;

// The text form of a GUID with braces and upper-case digits: {1AE95045-8A3A-11D2-AD1B-444553540000}.
std::wstring GuidText(REFGUID guid);

// OLEMISC_SIMPLEFRAME | OLEMISC_ACTSLIKELABEL asked for by the controls, plus what every control
// of the framework has: OLEMISC_RECOMPOSEONRESIZE, OLEMISC_CANTLINKINSIDE, OLEMISC_INSIDEOUT,
// OLEMISC_ACTIVATEWHENVISIBLE and OLEMISC_SETCLIENTSITEFIRST.
inline constexpr DWORD kMiscStatus = 0x12000 | 0x20191;

}  // namespace citara::server
