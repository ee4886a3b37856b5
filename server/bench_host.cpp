// A benchmark host: late-bound calls per second on a filled Book control of the registered Citara
// server, as a script host makes them. Run by scripts/server-bench (see server/README.md).
//   GetMLACitaraInfo by name:   GetIDsOfNames + Invoke per call
//   GetMLACitaraInfo by DISPID: Invoke per call
//   Width by DISPID:            Invoke per call of a member that only returns a constant, so the
//                               ratio to GetMLACitaraInfo by DISPID is the cost of Citara's own work
//   GetMLACitaraInfo, Width through the vtable: the members' own work, without Invoke
//   SavedData read, SavedData write: Invoke per call
#include <cstdio>
#include <functional>

#include "server/windows_headers.h"

namespace {

const wchar_t kBook[] =
    L"Title:=a tale of two cities\r\nSeries:=classics of the world\r\nPlace of Printing:=London\r\n"
    L"Publishing Company:=Chapman and Hall\r\nYear:=1859\r\nEdition:=2\r\nPage No(s):=1-400\r\n"
    L"*Author0Last=Dickens\r\n*Author0First=Charles\r\n*Author0MI=J\r\n"
    L"*Author1Last=Collins\r\n*Author1First=Wilkie\r\n*Author1MI=\r\n"
    L"*Editor0Last=Smith\r\n*Editor0First=Ann\r\n*Editor0MI=B\r\n";

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs `call` for about a second, prints the rate and returns it; 0 when a call failed.
double Measure(const char* what, const std::function<HRESULT()>& call) {
  long calls = 0;
  const double start = Seconds();
  double elapsed = 0;
  do {
    for (int i = 0; i < 50; ++i, ++calls) {
      if (FAILED(call())) {
        std::printf("%s: the call failed\n", what);
        return 0;
      }
    }
    elapsed = Seconds() - start;
  } while (elapsed < 1.0);
  std::printf("%-32s %10.0f calls/s (%ld calls in %.2f s)\n", what, calls / elapsed, calls, elapsed);
  return calls / elapsed;
}

HRESULT Invoke(IDispatch* object, DISPID id, WORD flags, VARIANT* argument, VARIANT* result) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{argument, argument ? &named : nullptr, argument ? 1u : 0u, argument ? 1u : 0u};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int status = 1;
  CLSID clsid;
  IDispatch* book = nullptr;
  if (SUCCEEDED(CLSIDFromProgID(L"Citara.Book", &clsid)) &&
      SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&book)))) {
    LPOLESTR mlaName[] = {const_cast<LPOLESTR>(L"GetMLACitaraInfo")};
    LPOLESTR savedName[] = {const_cast<LPOLESTR>(L"SavedData")};
    LPOLESTR widthName[] = {const_cast<LPOLESTR>(L"Width")};
    DISPID mla = 0, saved = 0, width = 0;
    book->GetIDsOfNames(IID_NULL, mlaName, 1, LOCALE_USER_DEFAULT, &mla);
    book->GetIDsOfNames(IID_NULL, savedName, 1, LOCALE_USER_DEFAULT, &saved);
    book->GetIDsOfNames(IID_NULL, widthName, 1, LOCALE_USER_DEFAULT, &width);

    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(kBook);
    Invoke(book, saved, DISPATCH_PROPERTYPUT, &text, nullptr);
    VARIANT full;  // the complete saved data of the filled control, entries included
    VariantInit(&full);
    Invoke(book, saved, DISPATCH_PROPERTYGET, nullptr, &full);

    const auto result = [](const std::function<HRESULT(VARIANT*)>& call) {
      VARIANT r;
      VariantInit(&r);
      const HRESULT status = call(&r);
      VariantClear(&r);
      return status;
    };
    const double byName = Measure("GetMLACitaraInfo by name", [&] {
      return result([&](VARIANT* r) {
        DISPID id = 0;
        const HRESULT found = book->GetIDsOfNames(IID_NULL, mlaName, 1, LOCALE_USER_DEFAULT, &id);
        return FAILED(found) ? found : Invoke(book, id, DISPATCH_METHOD, nullptr, r);
      });
    });
    const double entry = Measure("GetMLACitaraInfo by DISPID", [&] {
      return result([&](VARIANT* r) { return Invoke(book, mla, DISPATCH_METHOD, nullptr, r); });
    });
    const double constant = Measure("Width by DISPID", [&] {
      return result([&](VARIANT* r) { return Invoke(book, width, DISPATCH_PROPERTYGET, nullptr, r); });
    });
    // The same two members early-bound, through IBook's vtable (entry 37 is Width, 39
    // GetMLACitaraInfo, after IDispatch's seven): what is left is the members' own work.
    void** const vtable = *reinterpret_cast<void***>(book);
    using GetLong = HRESULT(STDMETHODCALLTYPE*)(IDispatch*, LONG*);
    using GetText = HRESULT(STDMETHODCALLTYPE*)(IDispatch*, BSTR*);
    const auto getWidth = reinterpret_cast<GetLong>(vtable[7 + 37 - 1]);
    const auto getMla = reinterpret_cast<GetText>(vtable[7 + 39 - 1]);
    Measure("GetMLACitaraInfo through the vtable", [&] {
      BSTR text = nullptr;
      const HRESULT status = getMla(book, &text);
      SysFreeString(text);
      return status;
    });
    Measure("Width through the vtable", [&] {
      LONG value = 0;
      return getWidth(book, &value);
    });
    const double read = Measure("SavedData read", [&] {
      return result([&](VARIANT* r) { return Invoke(book, saved, DISPATCH_PROPERTYGET, nullptr, r); });
    });
    const double write =
        Measure("SavedData write", [&] { return Invoke(book, saved, DISPATCH_PROPERTYPUT, &full, nullptr); });
    const bool ok = byName > 0 && entry > 0 && constant > 0 && read > 0 && write > 0;
    if (ok) std::printf("an entry call costs %.2f Width reads\n", constant / entry);
    std::printf("(saved data of the filled Book: %u characters)\n", SysStringLen(full.bstrVal));
    VariantClear(&text);
    VariantClear(&full);
    book->Release();
    status = ok ? 0 : 1;
  } else {
    std::printf("Citara.Book is not registered: run regsvr32 on Citara.dll first\n");
  }
  CoUninitialize();
  return status;
}
