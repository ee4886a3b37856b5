// The Windows and OLE headers of the server, in one place. Include it after Citara's own headers:
// windows.h defines the virtual-key codes (VK_TAB, ...) as macros, which would rewrite the component
// model's constants of the same names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <ocidl.h>
