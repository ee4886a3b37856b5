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
#include <objsafe.h>

// mingw's objsafe.h declares IObjectSafety without the __uuidof that the COM toolkit answers by.
__CRT_UUID_DECL(IObjectSafety, 0xcb5bdc81, 0x93c1, 0x11cf, 0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64)
