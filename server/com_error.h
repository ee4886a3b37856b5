// The boundary between the forms' exceptions and COM's status codes. Every member that a host can
// call runs its work inside Guarded: nothing crosses the boundary as an exception, and every failure
// leaves error information for the calling thread.
//
//   return Guarded(errorSource_, [&] {
//     RequireOut(value);                 // a null out pointer: E_POINTER, nothing done
//     form_->SetSavedData(TextOf(text)); // SavedDataError: E_UNEXPECTED with its message
//   });
#pragma once

#include <stdexcept>
#include <string>

#include "server/windows_headers.h"

namespace citara::server {

// A failure that carries its own status code (a failed COM call, a null pointer).
class ComError : public std::runtime_error {
 public:
  ComError(HRESULT status, const std::string& message) : std::runtime_error(message), status_(status) {}
  HRESULT Status() const { return status_; }

 private:
  HRESULT status_;
};

// Throws ComError when `status` is a failure.
void Check(HRESULT status, const char* what);

// Where an error comes from: the control's ProgID and the IID of its dispatch interface.
struct ErrorSource {
  const wchar_t* progId = L"";
  const GUID* iid = &GUID_NULL;
};

// Makes the error information of the calling thread: description `message` (UTF-8), source and
// interface from `source`, no help file, help context 0.
void SetErrorInformation(const ErrorSource& source, const std::string& message);

// Runs `work`; returns S_OK when it returns, and otherwise sets the error information and returns
// the failure: a ComError's own status, E_UNEXPECTED for any other exception.
template <class Work>
HRESULT Guarded(const ErrorSource& source, Work&& work) noexcept {
  try {
    work();
    return S_OK;
  } catch (const ComError& e) {
    SetErrorInformation(source, e.what());
    return e.Status();
  } catch (const std::exception& e) {
    SetErrorInformation(source, e.what());
  } catch (...) {
    SetErrorInformation(source, "");
  }
  return E_UNEXPECTED;
}

// Throws ComError(E_POINTER) for a null out pointer.
template <class T>
void RequireOut(T* out) {
  if (out == nullptr) throw ComError(E_POINTER, "a null pointer was passed for the result");
}

}  // namespace citara::server
