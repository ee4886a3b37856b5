// Bringing the windows up to the model's state: texts, selections, checks, enabled and visible
// states, fonts, the calendar pop-up and the focus.
//
// Citara's headers come before the Windows headers (see windows_headers.h).
#include "widgets/calendar.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/radio_button.h"

#include "server/form_window.h"

#include "server/bstr.h"
#include "server/window_text.h"

namespace citara::server {

void FormWindow::Sync() {
  if (syncing_) return;
  if (!(form_.Font() == laidOutFont_)) {  // a host's new font: the texts need other room
    Place(offered_);
    return;
  }
  syncing_ = true;
  for (auto& item : items_) {
    Control* c = item->control;
    if (c == nullptr) continue;
    HWND h = item->hwnd;
    if (item->kind == Kind::Form) {
      if ((IsWindowVisible(h) != FALSE) != c->Visible()) ShowWindow(h, c->Visible() ? SW_SHOWNA : SW_HIDE);
      if ((IsWindowEnabled(h) != FALSE) != c->Enabled()) EnableWindow(h, c->Enabled());
      continue;
    }
    if (item->kind == Kind::Popup) {
      auto* popup = static_cast<TDtCalPop97*>(c);
      const bool shown = IsWindowVisible(h) != FALSE;
      if (popup->Visible() && !shown) {
        const TBounds b = popup->Bounds();
        SetWindowPos(h, HWND_TOPMOST, b.left, b.top, b.width + 2, b.height + 2, SWP_NOACTIVATE | SWP_SHOWWINDOW);
      } else if (!popup->Visible() && shown) {
        ShowWindow(h, SW_HIDE);
      }
      continue;
    }
    if (item->kind == Kind::Calendar) {
      auto* calendar = static_cast<TCalendar97*>(c);
      if (calendar->Date() != item->shownDate) InvalidateRect(h, nullptr, TRUE);
      continue;
    }
    if (const HFONT font = FontOf(*c); reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)) != font) {
      SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);  // the model's font changed
    }
    const bool visible = c->Visible();
    if ((IsWindowVisible(h) != FALSE) != visible && IsWindowVisible(GetParent(h))) {
      ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
    }
    const bool enabled = c->Enabled();
    if ((IsWindowEnabled(h) != FALSE) != enabled) {
      EnableWindow(h, enabled);
      InvalidateRect(h, nullptr, TRUE);
    }
    if (item->kind == Kind::Edit || item->kind == Kind::Label || item->kind == Kind::Radio) {
      const std::wstring want = Wide(c->Text());
      if (WindowText(h) != want) SetWindowTextW(h, want.c_str());
    }
    if (item->kind == Kind::Edit) {
      auto* edit = static_cast<TFlatEdit*>(c);
      const std::wstring text = WindowText(h);
      const int start = UnitsOfCodePoints(text, edit->SelStart());
      const int end = UnitsOfCodePoints(text, edit->SelStart() + edit->SelLength());
      DWORD from = 0, to = 0;
      SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
      if (static_cast<int>(from) != start || static_cast<int>(to) != end) SendMessageW(h, EM_SETSEL, start, end);
    }
    if (item->kind == Kind::Radio) {
      const WPARAM check = static_cast<TRadioButton*>(c)->Checked() ? BST_CHECKED : BST_UNCHECKED;
      if (static_cast<WPARAM>(SendMessageW(h, BM_GETCHECK, 0, 0)) != check) SendMessageW(h, BM_SETCHECK, check, 0);
    }
  }
  // The real focus follows the model's, as long as it is inside the form (a member called while
  // the host has the focus elsewhere never takes it away).
  if (HasFocus()) {
    const Control* target = form_.FocusedControl();
    if (Item* item = Find(target); item != nullptr && GetFocus() != item->hwnd && IsWindowVisible(item->hwnd)) {
      SetFocus(item->hwnd);
    }
  }
  syncing_ = false;
  followFocus_ = false;
}

void FormWindow::AfterInput() { Sync(); }

bool FormWindow::Inside(HWND hwnd) const {
  if (hwnd == nullptr) return false;
  if (hwnd == hwnd_ || IsChild(hwnd_, hwnd)) return true;
  for (const auto& item : items_) {
    if (item->kind == Kind::Popup && (hwnd == item->hwnd || IsChild(item->hwnd, hwnd))) return true;
  }
  return false;
}

bool FormWindow::HasFocus() const { return Inside(GetFocus()); }

}  // namespace citara::server
