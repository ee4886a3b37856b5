#include "server/com_error.h"

#include "server/bstr.h"
#include "server/com.h"

namespace citara::server {

void Check(HRESULT status, const char* what) {
  if (FAILED(status)) throw ComError(status, std::string(what) + " failed");
}

void SetErrorInformation(const ErrorSource& source, const std::string& message) noexcept {
  if (source.progId == nullptr) return;
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Put()))) return;
  try {
    Bstr description(message);
    create->SetDescription(description.Get());
  } catch (const std::bad_alloc&) {
    // The error information is then without its description; the status still tells the failure.
  }
  create->SetSource(const_cast<LPOLESTR>(source.progId));
  create->SetGUID(*source.iid);
  create->SetHelpFile(nullptr);
  create->SetHelpContext(0);
  ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Put())))) {
    SetErrorInfo(0, info.Get());
  }
}

}  // namespace citara::server
