// A host that shows one control in Wine's ATL container window for a screenshot (scripts/screenshots).
//
// Usage: citara_screenshot_host PROGID WIDTH HEIGHT [SAVED-DATA-FILE [open-calendar]]
//
// The container fills a borderless window at the screen's top-left corner, WIDTH x HEIGHT pixels
// (with room below for an open calendar). The control is loaded with the saved data of the file
// (UTF-8) when one is given; "open-calendar" clicks the drop-down button of the first date field.
// The host prints "ready" once the control is drawn and stays up for 20 seconds.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

void Pump(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
}

std::wstring WideOf(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

void PutSavedData(IDispatch* control, const std::wstring& text) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"SavedData")};
  if (FAILED(control->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) return;
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
  VariantClear(&value);
}

BOOL CALLBACK FindDropButton(HWND hwnd, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  RECT r;
  GetClientRect(hwnd, &r);
  // The date fields' drop-down buttons: owner-drawn buttons 16 pixels wide, 21 high.
  if (lstrcmpiW(name, L"Button") == 0 && (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW &&
      r.right == 16 && r.bottom == 21) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: citara_screenshot_host PROGID WIDTH HEIGHT [SAVED-DATA-FILE [open-calendar]]\n");
    return 2;
  }
  const int width = _wtoi(argv[2]), height = _wtoi(argv[3]);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HMODULE atl = LoadLibraryW(L"atl.dll");
  if (atl == nullptr) return 1;
  auto init = reinterpret_cast<AtlAxWinInitFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto getControl =
      reinterpret_cast<AtlAxGetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  if (init == nullptr || getControl == nullptr || !init()) return 1;

  HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height + 160, nullptr,
                               nullptr, nullptr, nullptr);
  HWND container = CreateWindowExW(0, L"AtlAxWin", argv[1], WS_CHILD | WS_VISIBLE, 0, 0, width, height, frame,
                                   nullptr, nullptr, nullptr);
  IUnknown* unknown = nullptr;
  IDispatch* control = nullptr;
  if (container == nullptr || FAILED(getControl(container, &unknown)) ||
      FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&control)))) {
    std::fprintf(stderr, "the control could not be hosted\n");
    return 1;
  }
  if (argc >= 5) {
    std::ifstream file(argv[4], std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    PutSavedData(control, WideOf(text.str()));
  }
  SetFocus(frame);  // no field shows a caret in the picture
  if (argc >= 6 && std::wstring(argv[5]) == L"open-calendar") {
    HWND drop = nullptr;
    EnumChildWindows(container, FindDropButton, reinterpret_cast<LPARAM>(&drop));
    if (drop != nullptr) {
      SendMessageW(drop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
      SendMessageW(drop, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    }
  }
  InvalidateRect(frame, nullptr, TRUE);
  Pump(1500);
  std::printf("ready\n");
  std::fflush(stdout);
  Pump(20000);
  control->Release();
  unknown->Release();
  DestroyWindow(frame);
  CoUninitialize();
  return 0;
}
