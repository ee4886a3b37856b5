// Routing the windows' messages into the model: keys to the control that holds the model's focus,
// clicks to the controls they land on, focus changes, edit commands and the calendar's mouse.
//
// Citara's headers come before the Windows headers (see windows_headers.h).
#include "widgets/calendar.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"

#include "server/form_window.h"

#include "server/gdi_font.h"
#include "server/window_text.h"

namespace citara::server {
namespace {

ShiftState CurrentShift() {
  ShiftState s = ShiftState::None;
  if (GetKeyState(VK_SHIFT) < 0) s = s | ShiftState::Shift;
  if (GetKeyState(VK_MENU) < 0) s = s | ShiftState::Alt;
  if (GetKeyState(VK_CONTROL) < 0) s = s | ShiftState::Ctrl;
  return s;
}

}  // namespace

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  Item* item = self != nullptr ? self->Find(hwnd) : nullptr;
  if (item == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  Scope scope(self);
  try {
    return self->Handle(*item, message, wParam, lParam);
  } catch (...) {
    // Nothing may leave a window procedure; the model stays as the failed action left it.
    return 0;
  }
}

LRESULT FormWindow::Default(const Item& item, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(item.original, item.hwnd, message, wParam, lParam);
}

Control* FormWindow::KeyTarget() const {
  for (TDtCalPop97* popup : popups_) {
    if (popup->Visible()) return popup->FocusedControl();
  }
  return form_.FocusedControl();
}

void FormWindow::KeyDown(UINT message, WPARAM key) {
  const ShiftState shift = CurrentShift();
  const bool alt = Has(shift, ShiftState::Alt), ctrl = Has(shift, ShiftState::Ctrl);
  if (message == WM_SYSKEYDOWN && alt && !ctrl) {
    // Alt + a letter or digit: the control whose caption has that accelerator.
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) form_.Keystroke(static_cast<Key>(key), shift, 0);
    return;
  }
  Control* target = KeyTarget();
  if (target == nullptr) return;
  Key down = static_cast<Key>(key);
  target->KeyDown(down, shift);
  if (down == VK_TAB && !ctrl && !alt) {
    if (TForm* root = target->RootForm()) root->SelectNext(!Has(shift, ShiftState::Shift));
  }
}

void FormWindow::KeyChar(WPARAM unit) {
  const auto u = static_cast<char16_t>(unit);
  if (u >= 0xD800 && u <= 0xDBFF) {
    pendingHighSurrogate_ = u;
    return;
  }
  char32_t ch = u;
  if (u >= 0xDC00 && u <= 0xDFFF && pendingHighSurrogate_ != 0) {
    ch = 0x10000 + ((static_cast<char32_t>(pendingHighSurrogate_) - 0xD800) << 10) + (u - 0xDC00);
  }
  pendingHighSurrogate_ = 0;
  // Ctrl + a letter types no character; Tab was handled as its key went down.
  if (ch == U'\t' || (ch < 0x20 && ch != U'\b' && ch != U'\r' && ch != 0x1B)) return;
  Control* target = KeyTarget();
  if (target == nullptr) target = &form_;
  target->KeyPress(ch);
}

void FormWindow::KeyUp(WPARAM key) {
  Control* target = KeyTarget();
  if (target == nullptr) return;
  Key up = static_cast<Key>(key);
  target->KeyUp(up, CurrentShift());
}

void FormWindow::FocusGained(Item& item, HWND previous) {
  const bool entering = !Inside(previous);
  if (entering) {
    focusInside_ = true;
    if (events_.activate) events_.activate();
  }
  if (syncing_ || item.control == nullptr) return;
  if (item.kind == Kind::Edit || item.kind == Kind::Radio) {
    if (!item.control->Focused() && KeyTarget() != item.control) item.control->SetFocus();
  }
}

void FormWindow::FocusLost(Item& item, HWND next) {
  (void)item;
  if (Inside(next) || syncing_) return;
  // The focus went to another window: an open calendar closes as for Enter, and the form is
  // deactivated.
  for (TDtCalPop97* popup : popups_) {
    if (popup->Visible()) popup->Calendar().KillFocus();
  }
  if (focusInside_ && next != nullptr) {
    focusInside_ = false;
    if (events_.deactivate) events_.deactivate();
  }
}

void FormWindow::ReadSelection(Item& item) {
  auto* edit = static_cast<TFlatEdit*>(item.control);
  DWORD from = 0, to = 0;
  SendMessageW(item.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  const std::wstring text = WindowText(item.hwnd);
  const int start = CodePointsOfUnits(text, static_cast<int>(from));
  edit->Select(start, CodePointsOfUnits(text, static_cast<int>(to)) - start);
}

void FormWindow::EditCommand(Item& item, UINT message) {
  auto* edit = static_cast<TFlatEdit*>(item.control);
  if (!edit->IsUsable()) return;
  if (!edit->Focused()) edit->SetFocus();
  switch (message) {
    case WM_CUT: edit->CutToClipboard(); break;
    case WM_COPY: edit->CopyToClipboard(); return;
    case WM_PASTE: edit->PasteFromClipboard(); break;
    case WM_CLEAR: {
      Key del = VK_DELETE;
      edit->KeyDown(del, ShiftState::None);
      break;
    }
    default: return;
  }
  // A change made with the mouse counts as a key release, so whatever stores typed text (the
  // contributor sub-form's fields) stores it too.
  Key none = 0;
  edit->KeyUp(none, ShiftState::None);
}

LRESULT FormWindow::Handle(Item& item, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      if (TakesKeys(item.kind)) {
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (TakesKeys(item.kind)) {
        if (message == WM_SYSKEYDOWN && wParam == VK_F4) break;
        KeyDown(message, wParam);
        AfterInput();
        return 0;
      }
      break;
    case WM_CHAR:
      if (TakesKeys(item.kind)) {
        KeyChar(wParam);
        AfterInput();
        return 0;
      }
      break;
    case WM_SYSCHAR:
      if (TakesKeys(item.kind)) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (TakesKeys(item.kind)) {
        KeyUp(wParam);
        AfterInput();
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = Default(item, message, wParam, lParam);
      FocusGained(item, reinterpret_cast<HWND>(wParam));
      AfterInput();
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = Default(item, message, wParam, lParam);
      const auto next = reinterpret_cast<HWND>(wParam);
      FocusLost(item, next);
      // The focus moving to another of the form's windows is brought into the model by that
      // window's WM_SETFOCUS, which comes next: a sync now would find the model's focus still
      // here and put the real focus back, so the window clicked never got it.
      if (!Inside(next)) AfterInput();
      return result;
    }
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
      if (item.kind == Kind::Edit) {
        EditCommand(item, message);
        AfterInput();
        return 0;
      }
      break;
    case WM_UNDO:
    case EM_UNDO:
      if (item.kind == Kind::Edit) return 0;  // the model keeps no undo
      break;
    case EM_SETSEL:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      if (item.kind == Kind::Edit) {
        const LRESULT result = Default(item, message, wParam, lParam);
        if (!syncing_ && (message != WM_MOUSEMOVE || (wParam & MK_LBUTTON)) && item.control->Focused()) {
          ReadSelection(item);
        }
        return result;
      }
      if (item.kind == Kind::Calendar && message == WM_LBUTTONDOWN) {
        CalendarMouseDown(item, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        AfterInput();
        return 0;
      }
      if (item.kind == Kind::Calendar && message == WM_LBUTTONUP) {
        repeatStep_ = 0;
        KillTimer(item.hwnd, kRepeatTimer);
        if (GetCapture() == item.hwnd) ReleaseCapture();
        return 0;
      }
      if (item.kind == Kind::ToolButton || item.kind == Kind::DropButton || item.kind == Kind::SpinButton ||
          item.kind == Kind::Radio) {
        if (message == WM_LBUTTONUP) {
          const int y = static_cast<short>(HIWORD(lParam));
          RECT r;
          GetClientRect(item.hwnd, &r);
          switch (item.kind) {
            case Kind::ToolButton:
            case Kind::Radio: item.control->Click(); break;
            case Kind::DropButton: static_cast<TDateLinkEdit97*>(item.control)->ClickButton(); break;
            case Kind::SpinButton: {
              auto* spin = static_cast<TFlatSpinEdit*>(item.control);
              if (spin->IsUsable()) (y < r.bottom / 2) ? spin->StepUp() : spin->StepDown();
              break;
            }
            default: break;
          }
          AfterInput();
        }
        if (message == WM_MOUSEMOVE) return Default(item, message, wParam, lParam);
        return 0;  // these buttons never take the focus from the field being edited
      }
      if ((item.kind == Kind::Form || item.kind == Kind::Panel) && message == WM_LBUTTONUP) {
        if (events_.click) events_.click();
        return 0;
      }
      if ((item.kind == Kind::Form || item.kind == Kind::Panel) && message == WM_LBUTTONDBLCLK) {
        if (events_.dblClick) events_.dblClick();
        return 0;
      }
      break;
    case WM_MOUSEACTIVATE:
      if (item.kind == Kind::Popup || item.kind == Kind::Calendar) return MA_NOACTIVATE;
      break;
    case WM_TIMER:
      if (item.kind == Kind::Calendar && wParam == kRepeatTimer) {
        if (repeatStep_ == 0 || !(GetKeyState(VK_LBUTTON) < 0) || GetCapture() != item.hwnd) {
          repeatStep_ = 0;
          KillTimer(item.hwnd, kRepeatTimer);
        } else {
          RepeatStep(item);
          AfterInput();
        }
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (item.kind == Kind::Calendar) {
        repeatStep_ = 0;
        KillTimer(item.hwnd, kRepeatTimer);
      }
      break;
    case WM_SHOWWINDOW:
      if (item.kind == Kind::Popup && wParam == FALSE) {
        repeatStep_ = 0;
        for (auto& other : items_) {
          if (other->kind == Kind::Calendar && GetParent(other->hwnd) == item.hwnd) KillTimer(other->hwnd, kRepeatTimer);
        }
      }
      break;
    case WM_DESTROY:
      if (item.kind == Kind::Calendar) KillTimer(item.hwnd, kRepeatTimer);
      break;
    case WM_ERASEBKGND:
      if (item.kind == Kind::Form || item.kind == Kind::Panel || item.kind == Kind::Popup) {
        RECT r;
        GetClientRect(item.hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, BrushOf(item.control ? item.control->Color() : clBtnFace));
        return 1;
      }
      if (item.kind == Kind::Calendar) return 1;
      break;
    case WM_PAINT:
      if (item.kind == Kind::Form || item.kind == Kind::Panel || item.kind == Kind::Popup ||
          item.kind == Kind::Calendar) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(item.hwnd, &ps);
        if (item.kind == Kind::Calendar) PaintCalendar(item, dc);
        EndPaint(item.hwnd, &ps);
        if (item.kind == Kind::Form && events_.paint) events_.paint();
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (item.kind == Kind::Calendar) {
        PaintCalendar(item, reinterpret_cast<HDC>(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      Item* child = Find(reinterpret_cast<HWND>(lParam));
      if (child == nullptr || child->control == nullptr) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      unsigned long color = child->control->Color();
      if (child->kind != Kind::Edit) color = item.control ? item.control->Color() : clBtnFace;
      if (child->kind == Kind::Edit && !child->control->Enabled()) color = clBtnFace;
      SetBkColor(dc, ColorRefOf(color));
      SetTextColor(dc, GetSysColor(child->control->IsUsable() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
      return reinterpret_cast<LRESULT>(BrushOf(color));
    }
    case WM_DRAWITEM:
      DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    default: break;
  }
  return Default(item, message, wParam, lParam);
}

CalendarGeometry FormWindow::GeometryOf(const Item& item) const {
  RECT client;
  GetClientRect(item.hwnd, &client);
  const int line = CurrentPlatform().MeasureText(form_.Font(), "Ag").height;
  return CalendarGeometry::For({static_cast<int>(client.right), static_cast<int>(client.bottom)}, line);
}

void FormWindow::CalendarMouseDown(Item& item, int x, int y) {
  auto* calendar = static_cast<TCalendar97*>(item.control);
  const CalendarHit hit = HitTest(GeometryOf(item), GridOf(calendar->Date(), calendar->Settings().weekStart), {x, y});
  switch (hit.part) {
    case CalendarPart::Day: calendar->ClickDay(hit.day); return;
    case CalendarPart::StepBack: repeatStep_ = -1; break;
    case CalendarPart::StepForward: repeatStep_ = 1; break;
    default: return;
  }
  RepeatStep(item);
  SetCapture(item.hwnd);
  SetTimer(item.hwnd, kRepeatTimer, static_cast<UINT>(calendar->Settings().autoRepeatMs), nullptr);
}

void FormWindow::RepeatStep(Item& item) {
  auto* calendar = static_cast<TCalendar97*>(item.control);
  if (repeatStep_ == 0) return;
  const OleDate next = StepMonth(calendar->Date(), repeatStep_);
  if (next != calendar->Date()) calendar->SetDate(next);
}

}  // namespace citara::server
