// Citara's headers come before the Windows headers (see windows_headers.h).
#include "server/win32_platform.h"

#include "server/form_window.h"

#include <cstring>

#include "server/utf16.h"

namespace citara::server {
namespace {

std::wstring Wide(std::string_view text) {
  const std::u16string u = Utf16FromUtf8(text);
  return std::wstring(u.begin(), u.end());
}

// The clipboard's owner: a message-only window of the library's own (a clipboard opened without an
// owner cannot be written).
HWND ClipboardOwner() {
  static const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            GetModuleHandleW(nullptr), nullptr);
  return owner;
}

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
HHOOK centringHook = nullptr;

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
  if (messageUp_) return okCancel ? DialogResult::Cancel : DialogResult::Ok;
  UINT style = okCancel ? MB_OKCANCEL : MB_OK;
  style |= dialog.icon == DialogIcon::Error ? MB_ICONERROR : MB_ICONQUESTION;
  messageUp_ = true;
  const std::wstring caption = Wide(dialog.caption), text = Wide(dialog.text);
  // The focus goes back where it was when the box closes (the box gives it to its owner).
  const HWND focused = GetFocus();
  centringHook = SetWindowsHookExW(WH_CBT, CentreMessageBox, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(window->TopLevel(), text.c_str(), caption.c_str(), style | MB_APPLMODAL);
  if (centringHook != nullptr) UnhookWindowsHookEx(centringHook);
  centringHook = nullptr;
  if (focused != nullptr && IsWindow(focused)) SetFocus(focused);
  window->MessageClosed();
  messageUp_ = false;
  return answer == IDOK ? DialogResult::Ok : DialogResult::Cancel;
}

std::string Win32Platform::ClipboardText() {
  OpenedClipboard clipboard(ClipboardOwner());
  if (!clipboard) return HeadlessPlatform::ClipboardText();
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return {};
  const auto* text = static_cast<const char16_t*>(GlobalLock(data));
  if (text == nullptr) return {};
  std::u16string copy(text);
  GlobalUnlock(data);
  return Utf8FromUtf16(copy);
}

void Win32Platform::SetClipboardText(std::string_view text) {
  HeadlessPlatform::SetClipboardText(text);
  const std::u16string wide = Utf16FromUtf8(text);
  OpenedClipboard clipboard(ClipboardOwner());
  if (!clipboard) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(char16_t));
  if (memory == nullptr) return;
  auto* target = static_cast<char16_t*>(GlobalLock(memory));
  std::memcpy(target, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
  GlobalUnlock(memory);
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
}

int Win32Platform::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void Win32Platform::FocusChanged(Control* control) { FormWindow::ModelFocusChanged(control); }

Win32Platform& ServerPlatform() {
  static Win32Platform port;
  return port;
}

}  // namespace citara::server
