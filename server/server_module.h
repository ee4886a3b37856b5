// What the whole server module shares: its file, its type library (loaded from resource TYPELIB 1
// of its own file on first use, kept until the module may be unloaded) and the type information of
// its interfaces.
#pragma once

#include <string>

#include "server/com.h"

namespace citara::server {

// The module (DLL or program) that holds this code.
HMODULE ThisModule();
// Its full path.
std::wstring ModulePath();

// The module's type library; throws ComError when it cannot be loaded.
ComPtr<ITypeLib> TypeLibrary();
// The type information of `guid` in it; throws ComError when there is none.
ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid);
// Lets go of the cached type library (called when the module may be unloaded).
void ReleaseTypeLibrary();

}  // namespace citara::server
