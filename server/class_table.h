// The controls of a server library as data. One table per library drives its class factories, its
// registration and the layout of each control's dispatch interface, so the ten controls share one
// implementation.
#pragma once

#include <array>
#include <span>

#include "core/form_description.h"
#include "server/windows_headers.h"

namespace citara::server {

// The entries that follow the 36 standard form properties in a dispatch interface. Their order
// differs from control to control; SavedData stands for its get and put entries, in that order.
// Width and Height fill one entry each, whether the type library calls them properties or methods.
enum class TailMember { Width, Height, GetMLACitaraInfo, GetAPACitaraInfo, Reset, SavedData, ValidateData };

struct ControlClass {
  const wchar_t* name;         // L"Book": the control class's name in the type library
  const wchar_t* progId;       // L"Citara.Book"
  const wchar_t* description;  // L"Book Control": the class's help string
  GUID clsid;
  GUID dispatchIid;            // IBook
  GUID eventsIid;              // IBookEvents
  const FormDescription& (*form)();
  long width, height;          // the control's fixed size in pixels
  int toolboxBitmap;
  std::array<TailMember, 7> tail;  // the interface's last entries in order
};

struct ServerLibrary {
  const wchar_t* name;  // L"Citara"
  GUID libid;
  WORD majorVersion, minorVersion;
  // In lookup and registration order.
  std::span<const ControlClass> classes;
};

// The library this module serves (defined once per server DLL).
const ServerLibrary& ThisLibrary();

// The class of `clsid` in `library`, or nullptr.
const ControlClass* FindClass(const ServerLibrary& library, REFCLSID clsid);

}  // namespace citara::server
