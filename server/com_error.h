// The boundary between the forms' exceptions and COM's status codes. Every method that a host can
// call is noexcept and runs its work inside Guarded: nothing crosses the boundary as an exception,
// and every failure of a member leaves error information for the calling thread.
//
//   return Guarded(errorSource_, [&] {
//     RequireOut(value);                 // a null out pointer: E_POINTER, nothing done
//     form_->SetSavedData(TextOf(text)); // SavedDataError: E_UNEXPECTED with its message
//   });
//   return Guarded([&] { *out = Make<Enumerator>(items).Detach(); });  // no error information
#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

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

// Where an error comes from: the control's ProgID and the IID of its dispatch interface. Without a
// ProgID (the default) a failure leaves no error information: the interfaces of enumerators,
// connection points and factories do not report any.
struct ErrorSource {
  const wchar_t* progId = nullptr;
  const GUID* iid = &GUID_NULL;
};

// Makes the error information of the calling thread: description `message` (UTF-8), source and
// interface from `source`, no help file, help context 0. Nothing when `source` has no ProgID.
void SetErrorInformation(const ErrorSource& source, const std::string& message) noexcept;

// The description of the error information when memory ran out.
inline constexpr char kOutOfMemoryMessage[] = "Out of memory";

// Runs `work` and gives its status: S_OK when it returns (or the HRESULT it returns), and for an
// exception the failure, with error information from `source`: a ComError's own status,
// E_OUTOFMEMORY for std::bad_alloc, E_UNEXPECTED for any other exception.
template <class Work>
HRESULT Guarded(const ErrorSource& source, Work&& work) noexcept {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Work&>>) {
      work();
      return S_OK;
    } else {
      return work();
    }
  } catch (const ComError& e) {
    SetErrorInformation(source, e.what());
    return e.Status();
  } catch (const std::bad_alloc&) {
    SetErrorInformation(source, kOutOfMemoryMessage);
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    SetErrorInformation(source, e.what());
  } catch (...) {
    SetErrorInformation(source, "");
  }
  return E_UNEXPECTED;
}

// The guard for the methods that report no error information.
template <class Work>
HRESULT Guarded(Work&& work) noexcept {
  return Guarded(ErrorSource{}, std::forward<Work>(work));
}

// Throws ComError(E_POINTER) for a null out pointer.
template <class T>
void RequireOut(T* out) {
  if (out == nullptr) throw ComError(E_POINTER, "a null pointer was passed for the result");
}

}  // namespace citara::server
