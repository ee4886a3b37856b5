// Citara's headers come before the Windows headers (see windows_headers.h).
#include "server/win32_platform.h"

#include "server/form_window.h"
#include "server/gdi_font.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "server/bstr.h"

namespace citara::server {
namespace {

// Per thread (plain values, so a thread's end runs nothing in a library that may be gone): whether
// a message box of the port is up, the hook that centres the one coming up, and the clipboard's
// owner, a message-only window of the library's own (a clipboard opened without an owner cannot
// be written), which the system destroys with its thread.
thread_local bool messageUp = false;
thread_local HHOOK centringHook = nullptr;
thread_local HWND clipboardOwner = nullptr;

HWND ClipboardOwner() {
  if (clipboardOwner == nullptr || !IsWindow(clipboardOwner)) {
    clipboardOwner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  }
  return clipboardOwner;
}

// The text copied last, for a paste while another program holds the clipboard.
std::mutex copiedLock;
std::string copied;

std::atomic<int> hintHidePause{2500};  // the platform's usual default

// Holds the clipboard open for a scope; false when another program holds it.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(10);
    }
  }
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

// Centres the message box on the screen as it comes up (a message box centres itself on its owner).
LRESULT CALLBACK CentreMessageBox(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wParam);
    RECT r;
    GetWindowRect(box, &r);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UnhookWindowsHookEx(centringHook);
    centringHook = nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

DialogResult Win32Platform::ShowMessage(const MessageDialog& dialog) {
  const bool okCancel = dialog.buttons == DialogButtons::OkCancel;
  FormWindow* window = FormWindow::Current();
  if (window == nullptr) return DialogResult::Ok;  // the headless answer, not kept
  if (messageUp) return okCancel ? DialogResult::Cancel : DialogResult::Ok;
  UINT style = okCancel ? MB_OKCANCEL : MB_OK;
  style |= dialog.icon == DialogIcon::Error ? MB_ICONERROR : MB_ICONQUESTION;
  messageUp = true;
  const std::wstring caption = Wide(dialog.caption), text = Wide(dialog.text);
  // The focus goes back where it was when the box closes (the box gives it to its owner).
  const HWND focused = GetFocus();
  centringHook = SetWindowsHookExW(WH_CBT, CentreMessageBox, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(window->TopLevel(), text.c_str(), caption.c_str(), style | MB_APPLMODAL);
  if (centringHook != nullptr) UnhookWindowsHookEx(centringHook);
  centringHook = nullptr;
  if (focused != nullptr && IsWindow(focused)) SetFocus(focused);
  window->MessageClosed();
  messageUp = false;
  return answer == IDOK ? DialogResult::Ok : DialogResult::Cancel;
}

bool Win32Platform::MessageUp() { return messageUp; }

std::string Win32Platform::ClipboardText() {
  OpenedClipboard clipboard(ClipboardOwner());
  if (!clipboard) {
    std::lock_guard<std::mutex> hold(copiedLock);
    return copied;
  }
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return {};
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (text == nullptr) return {};
  std::string result = Narrow(text);
  GlobalUnlock(data);
  return result;
}

void Win32Platform::SetClipboardText(std::string_view text) {
  {
    std::lock_guard<std::mutex> hold(copiedLock);
    copied = text;
  }
  const std::wstring wide = Wide(text);
  OpenedClipboard clipboard(ClipboardOwner());
  if (!clipboard) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  if (memory == nullptr) return;
  auto* target = static_cast<wchar_t*>(GlobalLock(memory));
  std::memcpy(target, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
}

TSize Win32Platform::MeasureText(const TFont& font, std::string_view text) {
  HDC dc = GetDC(nullptr);
  HFONT gdiFont = CreateGdiFont(font);
  const TSize size = MeasureWithFont(dc, gdiFont, text);
  if (gdiFont != GetStockObject(DEFAULT_GUI_FONT)) DeleteObject(gdiFont);
  ReleaseDC(nullptr, dc);
  return size;
}

int Win32Platform::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

int Win32Platform::HintHidePause() { return hintHidePause.load(); }

void Win32Platform::SetHintHidePause(int milliseconds) { hintHidePause.store(milliseconds); }

void Win32Platform::FocusChanged(Control* control) { FormWindow::ModelFocusChanged(control); }

Win32Platform& ServerPlatform() {
  static Win32Platform port;
  return port;
}

}  // namespace citara::server
