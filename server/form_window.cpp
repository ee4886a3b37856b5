// Creating the form's windows, subclassing them, and placing them where the model's layout puts
// the controls. Message routing is in form_window_messages.cpp, bringing the windows up to the
// model's state in form_window_sync.cpp, painting in form_window_paint.cpp.
//
// Citara's headers come before the Windows headers (see windows_headers.h).
#include "core/source_form.h"
#include "widgets/calendar.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/layout.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"
#include "widgets/static_controls.h"
#include "widgets/tool_button.h"

#include "server/form_window.h"

#include <commctrl.h>

#include <algorithm>

#include "server/bstr.h"

namespace citara::server {
namespace {

constexpr wchar_t kSurfaceClass[] = L"CitaraSurface";
constexpr wchar_t kPopupClass[] = L"CitaraCalendarPopup";
constexpr wchar_t kCalendarClass[] = L"CitaraCalendar";

// Per thread, since every control lives on the thread that made it (the apartment model): the
// window handling a call or an action right now, and the windows alive. Plain pointers, so that a
// thread's end has no destructor to run in a library that may be gone by then: the list is made
// with the thread's first window and deleted with its last.
thread_local FormWindow* current = nullptr;
thread_local std::vector<FormWindow*>* liveWindows = nullptr;

void AddLiveWindow(FormWindow* window) {
  if (liveWindows == nullptr) liveWindows = new std::vector<FormWindow*>;
  liveWindows->push_back(window);
}

void RemoveLiveWindow(FormWindow* window) {
  liveWindows->erase(std::find(liveWindows->begin(), liveWindows->end(), window));
  if (liveWindows->empty()) {
    delete liveWindows;
    liveWindows = nullptr;
  }
}

// A hint as the tooltip shows it: up to "|", carriage returns as line breaks.
std::wstring TooltipText(std::string_view hint) {
  const std::size_t bar = hint.find('|');
  if (bar != std::string_view::npos) hint = hint.substr(0, bar);
  std::wstring out;
  for (wchar_t c : Wide(hint)) {
    if (c == L'\r') out += L"\r\n";
    else out += c;
  }
  return out;
}

void RegisterClasses() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto add = [&](const wchar_t* name, UINT style) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.style = style;
      wc.lpfnWndProc = DefWindowProcW;  // replaced per window by FormWindow's procedure
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      wc.lpszClassName = name;
      RegisterClassExW(&wc);
    };
    add(kSurfaceClass, CS_DBLCLKS);
    add(kPopupClass, CS_SAVEBITS | CS_DROPSHADOW);
    add(kCalendarClass, CS_DBLCLKS);
    return true;
  }();
  (void)registered;
}

}  // namespace

// --- Current window ---

FormWindow* FormWindow::Current() { return current; }
FormWindow::Scope::Scope(FormWindow* window) : previous_(current) {
  if (window != nullptr) current = window;
}
FormWindow::Scope::~Scope() { current = previous_; }

HWND FormWindow::TopLevel() const {
  HWND top = GetAncestor(hwnd_, GA_ROOT);
  return top != nullptr ? top : hwnd_;
}

void FormWindow::ModelFocusChanged(Control* control) {
  if (control == nullptr || liveWindows == nullptr) return;
  for (FormWindow* w : *liveWindows) {
    Item* item = w->Find(control);
    if (item == nullptr || w->syncing_ || !(w->HasFocus() || w->followFocus_)) continue;
    w->followFocus_ = false;
    if (item->kind == Kind::Calendar || item->kind == Kind::Popup) return;  // the keys stay with the field
    w->syncing_ = true;
    if (GetFocus() != item->hwnd) SetFocus(item->hwnd);
    w->syncing_ = false;
    return;
  }
}

// --- Creation ---

FormWindow::FormWindow(TSourceForm& form, HWND parent, const RECT& rect, Events events)
    : form_(form), events_(std::move(events)) {
  RegisterClasses();
  AddLiveWindow(this);
  hwnd_ = Add(&form_, Kind::Form, kSurfaceClass, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
              WS_EX_CONTROLPARENT, parent, rect);
  if (hwnd_ == nullptr) {
    RemoveLiveWindow(this);
    throw std::runtime_error("the form's window could not be created");
  }
  for (Control* child : form_.Children()) CreateWindows(*child, hwnd_);
  AddHints();
  Place(rect);
  ShowWindow(hwnd_, SW_SHOWNA);
}

FormWindow::~FormWindow() {
  if (current == this) current = nullptr;
  RemoveLiveWindow(this);
  for (auto& item : items_) {
    if (item->kind == Kind::Popup || item->kind == Kind::Calendar) KillTimer(item->hwnd, kRepeatTimer);
  }
  for (TDtCalPop97* popup : popups_) {
    if (popup->Visible()) popup->Hide();
  }
  // Windows go first (they may still send messages), then the map that routes their messages.
  if (tooltip_) DestroyWindow(tooltip_);
  for (auto& item : items_) {
    if (item->kind == Kind::Popup) DestroyWindow(item->hwnd);
  }
  if (hwnd_) DestroyWindow(hwnd_);
  byWindow_.clear();
  for (auto& [name, font] : fonts_) DeleteObject(font);
  for (auto& [color, brush] : brushes_) DeleteObject(brush);
}

HWND FormWindow::Add(Control* control, Kind kind, const wchar_t* windowClass, DWORD style, DWORD exStyle,
                     HWND parent, const RECT& rect) {
  std::wstring text = control ? Wide(control->Caption()) : std::wstring();
  if (kind == Kind::Edit || kind == Kind::Form || kind == Kind::Panel || kind == Kind::ToolButton ||
      kind == Kind::Popup || kind == Kind::Calendar) {
    text.clear();
  }
  HWND hwnd = CreateWindowExW(exStyle, windowClass, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  auto item = std::make_unique<Item>();
  item->control = control;
  item->hwnd = hwnd;
  item->kind = kind;
  item->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormWindow::WindowProc)));
  if (item->original == &FormWindow::WindowProc) item->original = DefWindowProcW;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  byWindow_[hwnd] = item.get();
  if (control != nullptr && kind != Kind::DropButton && kind != Kind::SpinButton) byControl_[control] = item.get();
  if (control != nullptr) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(*control)), FALSE);
  items_.push_back(std::move(item));
  return hwnd;
}

void FormWindow::CreateWindows(Control& control, HWND parent) {
  const DWORD visible = control.Visible() ? WS_VISIBLE : 0;
  const DWORD child = WS_CHILD | visible | WS_CLIPSIBLINGS;
  const RECT none{0, 0, 0, 0};
  if (auto* edit = dynamic_cast<TFlatEdit*>(&control)) {
    Add(edit, Kind::Edit, L"EDIT", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, parent, none);
    if (auto* date = dynamic_cast<TDateLinkEdit97*>(edit)) {
      Add(date, Kind::DropButton, L"BUTTON", child | BS_OWNERDRAW, 0, parent, none);
      CreatePopup(*date);
    } else if (dynamic_cast<TFlatSpinEdit*>(edit) != nullptr) {
      Add(edit, Kind::SpinButton, L"BUTTON", child | BS_OWNERDRAW, 0, parent, none);
    }
    return;
  }
  if (auto* label = dynamic_cast<TLabel*>(&control)) {
    const DWORD align = label->Alignment() == TTextAlignment::Right    ? SS_RIGHT
                        : label->Alignment() == TTextAlignment::Center ? SS_CENTER
                                                                       : SS_LEFT;
    Add(label, Kind::Label, L"STATIC", child | align, 0, parent, none);
    return;
  }
  if (dynamic_cast<TBevel*>(&control) != nullptr) {
    Add(&control, Kind::Bevel, L"STATIC", child | SS_ETCHEDHORZ, 0, parent, none);
    return;
  }
  if (dynamic_cast<TRadioButton*>(&control) != nullptr) {
    Add(&control, Kind::Radio, L"BUTTON", child | BS_RADIOBUTTON | WS_TABSTOP, 0, parent, none);
    return;
  }
  if (dynamic_cast<TToolButton*>(&control) != nullptr) {
    Add(&control, Kind::ToolButton, L"BUTTON", child | BS_OWNERDRAW, 0, parent, none);
    return;
  }
  // Panels and the contributor sub-forms: surfaces that hold windows of their own.
  HWND surface = Add(&control, Kind::Panel, kSurfaceClass, child | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, none);
  for (Control* c : control.Children()) CreateWindows(*c, surface);
}

void FormWindow::CreatePopup(TDateLinkEdit97& edit) {
  TDtCalPop97& popup = edit.Popup();
  popups_.push_back(&popup);
  const TBounds b = popup.Calendar().Bounds();
  HWND window = Add(&popup, Kind::Popup, kPopupClass, WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                    WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, hwnd_, RECT{0, 0, b.width + 2, b.height + 2});
  Add(&popup.Calendar(), Kind::Calendar, kCalendarClass, WS_CHILD | WS_VISIBLE, 0, window,
      RECT{0, 0, b.width, b.height});
}

void FormWindow::AddHints() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tooltip_ == nullptr) return;
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, CurrentPlatform().HintHidePause());
  for (auto& item : items_) {
    if (item->control == nullptr || item->kind == Kind::Popup || item->kind == Kind::Calendar) continue;
    if (item->control->Hint().empty() || !item->control->ShowHint()) continue;
    std::wstring text = TooltipText(item->control->Hint());
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(item->hwnd);
    info.uId = reinterpret_cast<UINT_PTR>(item->hwnd);
    info.lpszText = text.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// --- Layout ---

void FormWindow::Place(const RECT& rect) {
  // The model lays the form out at the offered size, or larger where the texts in the windows'
  // fonts (the port measures with them) need more room.
  const TSize offered{rect.right - rect.left, rect.bottom - rect.top};
  offered_ = rect;
  laidOutFont_ = form_.Font();
  form_.SetBounds({0, 0, offered.width, offered.height});
  size_ = LayOutForm(form_, offered);
  SizeCalendars();
  MoveWindow(hwnd_, rect.left, rect.top, size_.width, size_.height, TRUE);
  // The form stands at its screen position, so drop-downs open at the field on the screen.
  POINT origin{0, 0};
  ClientToScreen(hwnd_, &origin);
  form_.SetBounds({origin.x, origin.y, size_.width, size_.height});
  PlaceChildren();
  Sync();
  if ((size_.width > offered.width || size_.height > offered.height) && events_.needRoom) {
    events_.needRoom(RECT{rect.left, rect.top, rect.left + size_.width, rect.top + size_.height});
  }
}

void FormWindow::SizeCalendars() {
  Platform& port = CurrentPlatform();
  const TextMeasure measure = [&port](const TFont& font, std::string_view text) { return port.MeasureText(font, text); };
  for (TDtCalPop97* popup : popups_) {
    TCalendar97& calendar = popup->Calendar();
    const TBounds b = calendar.Bounds();
    if (calendar.DesignSize() == TSize{}) calendar.SetDesignSize({b.width, b.height});
    const TSize size = MinimumSize(calendar.Settings(), form_.Font(), measure, calendar.DesignSize());
    calendar.SetBounds({b.left, b.top, size.width, size.height});
    if (Item* item = Find(&calendar)) MoveWindow(item->hwnd, 0, 0, size.width, size.height, FALSE);
  }
}

void FormWindow::PlaceChildren() {
  for (auto& item : items_) {
    if (item->kind == Kind::Form || item->kind == Kind::Popup || item->kind == Kind::Calendar) continue;
    const TBounds b = item->control->Bounds();
    switch (item->kind) {
      case Kind::Edit: {
        int width = b.width;
        if (dynamic_cast<TDateLinkEdit97*>(item->control)) width -= kDropButtonWidth;
        if (dynamic_cast<TFlatSpinEdit*>(item->control)) width -= kSpinButtonWidth;
        MoveWindow(item->hwnd, b.left, b.top, width, b.height, FALSE);
        break;
      }
      case Kind::DropButton:
        MoveWindow(item->hwnd, b.left + b.width - kDropButtonWidth, b.top, kDropButtonWidth, b.height, FALSE);
        break;
      case Kind::SpinButton:
        MoveWindow(item->hwnd, b.left + b.width - kSpinButtonWidth, b.top, kSpinButtonWidth, b.height, FALSE);
        break;
      case Kind::Bevel: MoveWindow(item->hwnd, b.left, b.top + 1, b.width, 2, FALSE); break;
      default: MoveWindow(item->hwnd, b.left, b.top, b.width, b.height, FALSE); break;
    }
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

HWND FormWindow::WindowOf(const Control* control) const {
  const auto found = byControl_.find(control);
  return found == byControl_.end() ? nullptr : found->second->hwnd;
}

FormWindow::Item* FormWindow::Find(HWND hwnd) {
  const auto found = byWindow_.find(hwnd);
  return found == byWindow_.end() ? nullptr : found->second;
}

FormWindow::Item* FormWindow::Find(const Control* control) {
  const auto found = byControl_.find(control);
  return found == byControl_.end() ? nullptr : found->second;
}

}  // namespace citara::server
