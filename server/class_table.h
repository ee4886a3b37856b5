// The controls of a server library as data. One table per library drives its class factories, its
// registration and each control's dual dispatch interface, so the ten controls share one
// implementation.
#pragma once

#include <memory>
#include <span>

#include "core/form_description.h"
#include "server/windows_headers.h"

namespace citara::server {

class ControlObject;
class DualDispatch;

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
  // Makes the control's dual interface, laid out from the library's own declaration of it:
  // &MakeDualInterface<IBook> (dual_interface.h).
  std::unique_ptr<DualDispatch> (*dualInterface)(ControlObject& owner);
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
