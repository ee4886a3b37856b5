// Citara's headers come before the Windows headers (see windows_headers.h).
#include "core/source_form.h"
#include "widgets/calendar.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"
#include "widgets/static_controls.h"
#include "widgets/tool_button.h"
#include "widgets/unicode.h"

#include "server/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "server/bstr.h"

namespace citara::server {
namespace {

constexpr wchar_t kSurfaceClass[] = L"CitaraSurface";
constexpr wchar_t kPopupClass[] = L"CitaraCalendarPopup";
constexpr wchar_t kCalendarClass[] = L"CitaraCalendar";
constexpr UINT_PTR kRepeatTimer = 1;
constexpr int kDropButtonWidth = 16;
constexpr int kSpinButtonWidth = 13;

// Calendar geometry: the title row with the two month-step areas, the weekday row, six week rows.
constexpr int kTitleHeight = 20, kWeekdayHeight = 16, kStepWidth = 20;

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


std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

// UTF-16 index of code point `index` of `text`, and back.
int UnitsOfCodePoints(const std::wstring& text, int index) {
  int units = 0;
  for (int cp = 0; cp < index && units < static_cast<int>(text.size()); ++cp) {
    const wchar_t c = text[static_cast<std::size_t>(units)];
    units += (c >= 0xD800 && c <= 0xDBFF && units + 1 < static_cast<int>(text.size())) ? 2 : 1;
  }
  return units;
}
int CodePointsOfUnits(const std::wstring& text, int units) {
  int cp = 0;
  for (int u = 0; u < units && u < static_cast<int>(text.size()); ++cp) {
    const wchar_t c = text[static_cast<std::size_t>(u)];
    u += (c >= 0xD800 && c <= 0xDBFF && u + 1 < static_cast<int>(text.size())) ? 2 : 1;
  }
  return cp;
}

COLORREF ColorRefOf(unsigned long color) {
  if (color & 0x80000000UL) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

ShiftState CurrentShift() {
  ShiftState s = ShiftState::None;
  if (GetKeyState(VK_SHIFT) < 0) s = s | ShiftState::Shift;
  if (GetKeyState(VK_MENU) < 0) s = s | ShiftState::Alt;
  if (GetKeyState(VK_CONTROL) < 0) s = s | ShiftState::Ctrl;
  return s;
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

// Sunday-first weekday (0 = Sunday) of a day number: day 0, 30 December 1899, was a Saturday.
int WeekdayOf(long long day) { return static_cast<int>(((day % 7) + 7 + 6) % 7); }

unsigned DaysInMonth(int year, unsigned month) {
  static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
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

// The order in which the form created its components (depth-first), for the alignment order.
std::map<const Component*, std::size_t> CreationOrder(const Component& root) {
  std::map<const Component*, std::size_t> order;
  std::size_t n = 0;
  root.ForEachOwned([&](const Component& c) { order[&c] = n++; });
  return order;
}

void AlignChildren(Control& parent, const std::map<const Component*, std::size_t>& order) {
  std::vector<Control*> children = parent.Children();
  std::stable_sort(children.begin(), children.end(), [&](Control* a, Control* b) {
    const auto ia = order.find(a), ib = order.find(b);
    return (ia == order.end() ? 0 : ia->second) < (ib == order.end() ? 0 : ib->second);
  });
  TRect client{0, 0, parent.Bounds().width, parent.Bounds().height};
  for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
    for (Control* c : children) {
      if (c->Align() != pass || !c->Visible()) continue;
      const TBounds b = c->Bounds();
      switch (pass) {
        case TAlign::Top:
          c->SetBounds({client.left, client.top, client.Width(), b.height});
          client.top += b.height;
          break;
        case TAlign::Bottom:
          client.bottom -= b.height;
          c->SetBounds({client.left, client.bottom, client.Width(), b.height});
          break;
        case TAlign::Left:
          c->SetBounds({client.left, client.top, b.width, client.Height()});
          client.left += b.width;
          break;
        case TAlign::Right:
          client.right -= b.width;
          c->SetBounds({client.right, client.top, b.width, client.Height()});
          break;
        case TAlign::Client: c->SetBounds({client.left, client.top, client.Width(), client.Height()}); break;
        case TAlign::None: break;
      }
    }
  }
  for (Control* c : children) AlignChildren(*c, order);
}

// The rows of each form's main panel, top to bottom, each from left to right, as the forms are
// drawn: a field stands with its label, a radio button alone.
struct FormRows {
  std::string_view form;
  std::vector<std::vector<std::string_view>> rows;
};

const std::vector<FormRows>& RowsOfForms() {
  static const std::vector<FormRows> rows = {
      {"Book", {{"TitleEdit"}, {"SeriesEdit"}, {"PlaceEdit", "CompanyEdit"},
                {"YearEdit", "VolumeEdit", "EditionEdit", "PagesEdit"}}},
      {"Encyclopedia", {{"TitleEdit"}, {"EncyclopediaEdit"}, {"PlaceEdit", "CompanyEdit"},
                        {"YearEdit", "VolumeEdit", "PagesEdit"}}},
      {"Journal", {{"TitleEdit"}, {"JournalEdit"}, {"YearEdit", "VolumeEdit", "IssueEdit", "PagesEdit"}}},
      {"Magazine", {{"TitleEdit"}, {"MagazineEdit", "VolumeEdit"},
                    {"DateEdit", "MonthAndDayRadioButton", "MonthOnlyRadioButton", "PagesEdit"}}},
      {"Newspaper", {{"TitleEdit"}, {"NewspaperEdit", "PagesEdit"},
                     {"DateEdit", "MonthAndDayRadioButton", "MonthOnlyRadioButton"}}},
      {"Other", {{"TitleEdit"}, {"SeriesEdit"}, {"PlaceEdit", "CompanyEdit"},
                 {"DateEdit", "MonthDayYearRadioButton", "MonthYearRadioButton", "YearOnlyRadioButton"},
                 {"VolumeEdit", "EditionEdit", "PagesEdit"}}},
      {"WebArticle", {{"TitleEdit", "ReferenceEdit"}, {"URLEdit", "DateRetrievedEdit"},
                      {"DateEdit", "MonthDayYearRadioButton", "MonthYearRadioButton", "YearOnlyRadioButton"}}},
      {"PersonalSite", {{"URLEdit", "DateRetrievedEdit"},
                        {"DateEdit", "MonthDayYearRadioButton", "MonthYearRadioButton", "YearOnlyRadioButton"}}},
      {"ProfessionalSite", {{"TitleEdit", "PublisherEdit"}, {"URLEdit", "DateRetrievedEdit"},
                            {"DateEdit", "MonthDayYearRadioButton", "MonthYearRadioButton", "YearOnlyRadioButton"}}},
      {"Newsgroup", {{"SubjectEdit", "GroupNameEdit", "MessageNumberEdit"}, {"URLEdit", "DateRetrievedEdit"},
                     {"DateEdit", "MonthDayYearRadioButton", "MonthYearRadioButton", "YearOnlyRadioButton"}}},
  };
  return rows;
}

// The main panel, row by row. Labels stand right-aligned before their fields, and the rows' first
// labels share one width, so the rows' first fields line up. A row of fields is spread over the
// panel's width (left, middle, right); in a row with radio buttons the buttons follow the date
// field and a field after them stands at the right edge.
void LayOutMainPanel(TSourceForm& form, const std::function<int(const Control&, const std::string&)>& textWidth) {
  struct Entry {
    Control* label = nullptr;
    Control* control = nullptr;
    int labelWidth = 0;
    int width = 0;  // the field's or the radio button's own width
  };
  const FormDescription& d = form.Description();
  std::vector<std::vector<std::string_view>> rows;
  for (const FormRows& r : RowsOfForms()) {
    if (r.form == d.className) rows = r.rows;
  }
  if (rows.empty()) {  // a form without a table: one field a row, in tab order
    for (const FieldDescription& f : d.fields) rows.push_back({f.name});
    for (const RadioDescription& r : d.radios) rows.push_back({r.name});
  }
  const auto entryOf = [&](std::string_view name) {
    Entry e;
    e.control = form.FindComponent<Control>(name);
    for (const FieldDescription& f : d.fields) {
      if (f.name != name) continue;
      e.label = form.FindComponent<Control>(f.labelName);
      e.width = f.width;
      if (e.label) e.labelWidth = textWidth(*e.label, e.label->Caption()) + 4;
    }
    for (const RadioDescription& r : d.radios) {
      if (r.name == name && e.control) e.width = textWidth(*e.control, std::string(r.caption)) + 22;
    }
    return e;
  };
  std::vector<std::vector<Entry>> table;
  int firstColumn = 0;
  for (const auto& row : rows) {
    std::vector<Entry> entries;
    for (std::string_view name : row) {
      Entry e = entryOf(name);
      if (e.control != nullptr) entries.push_back(e);
    }
    if (!entries.empty() && entries.front().label) firstColumn = std::max(firstColumn, entries.front().labelWidth);
    table.push_back(std::move(entries));
  }

  constexpr int kLeft = 6, kTop = 5, kRowPitch = 24, kGap = 10, kLabelGap = 4, kFieldHeight = 21;
  const int right = form.MainPanel().Bounds().width - kLeft;
  int y = kTop;
  for (std::vector<Entry>& row : table) {
    if (!row.empty() && row.front().label) row.front().labelWidth = firstColumn;
    const auto widthOf = [](const Entry& e) { return (e.label ? e.labelWidth + kLabelGap : 0) + e.width; };
    bool radios = false;
    int total = 0;
    for (const Entry& e : row) {
      total += widthOf(e);
      radios = radios || e.label == nullptr;
    }
    total += kGap * static_cast<int>(row.size() > 0 ? row.size() - 1 : 0);
    const int spare = std::max(0, right - kLeft - total);
    int x = kLeft;
    for (std::size_t i = 0; i < row.size(); ++i) {
      Entry& e = row[i];
      if (i > 0) {
        if (!radios) x += spare / static_cast<int>(row.size() - 1);
        else if (e.label != nullptr && i + 1 == row.size()) x = std::max(x, right - widthOf(e));
      }
      if (e.label) {
        e.label->SetBounds({x, y + 4, e.labelWidth, 13});
        e.control->SetBounds({x + e.labelWidth + kLabelGap, y, e.width, kFieldHeight});
      } else {
        e.control->SetBounds({x, y + 2, e.width, 17});
      }
      x += widthOf(e) + kGap;
    }
    y += kRowPitch;
  }
}

}  // namespace

void LayOutForm(TSourceForm& form, const std::function<int(const Control&, const std::string&)>& textWidth) {
  AlignChildren(form, CreationOrder(form));
  LayOutMainPanel(form, textWidth);
  // Labels size themselves to their captions in the screen's font: a left-aligned one grows to the
  // right, a right-aligned one to the left.
  form.ForEachOwned([&](Component& component) {
    auto* label = dynamic_cast<TLabel*>(&component);
    if (label == nullptr || label->Align() != TAlign::None) return;
    TBounds b = label->Bounds();
    const int needed = textWidth(*label, label->Caption()) + 1;
    if (needed <= b.width) return;
    if (label->Alignment() == TTextAlignment::Right) b.left -= needed - b.width;
    b.width = needed;
    label->SetBounds(b);
  });
}

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
  form_.SetBounds({0, 0, rect.right - rect.left, rect.bottom - rect.top});
  HDC dc = GetDC(hwnd_);
  LayOutForm(form_, [&](const Control& control, const std::string& caption) {
    std::wstring text;
    for (wchar_t c : Wide(caption)) {
      if (c != L'&') text += c;
    }
    HGDIOBJ old = SelectObject(dc, FontOf(control));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return static_cast<int>(size.cx);
  });
  ReleaseDC(hwnd_, dc);
  MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  // The form stands at its screen position, so drop-downs open at the field on the screen.
  POINT origin{0, 0};
  ClientToScreen(hwnd_, &origin);
  form_.SetBounds({origin.x, origin.y, rect.right - rect.left, rect.bottom - rect.top});
  PlaceChildren();
  Sync();
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

// --- Model to windows ---

void FormWindow::Sync() {
  if (syncing_) return;
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

HFONT FormWindow::FontOf(const Control& control) {
  const TFont& font = control.Font();
  for (const auto& [made, handle] : fonts_) {
    if (made == font) return handle;
  }
  const std::wstring face = Wide(font.name);
  HFONT created = CreateFontW(font.height, 0, 0, 0, font.weight, font.italic, font.underline, font.strikethrough,
                              static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
  if (created == nullptr) created = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace_back(font, created);
  return created;
}

HBRUSH FormWindow::BrushOf(unsigned long color) {
  if (auto found = brushes_.find(color); found != brushes_.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(ColorRefOf(color));
  brushes_[color] = brush;
  return brush;
}

// --- Windows to model ---

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
      if (item.kind == Kind::Edit || item.kind == Kind::Radio || item.kind == Kind::Form) {
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (item.kind == Kind::Edit || item.kind == Kind::Radio || item.kind == Kind::Form) {
        if (message == WM_SYSKEYDOWN && wParam == VK_F4) break;
        KeyDown(message, wParam);
        AfterInput();
        return 0;
      }
      break;
    case WM_CHAR:
      if (item.kind == Kind::Edit || item.kind == Kind::Radio || item.kind == Kind::Form) {
        KeyChar(wParam);
        AfterInput();
        return 0;
      }
      break;
    case WM_SYSCHAR:
      if (item.kind == Kind::Edit || item.kind == Kind::Radio || item.kind == Kind::Form) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (item.kind == Kind::Edit || item.kind == Kind::Radio || item.kind == Kind::Form) {
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
      FocusLost(item, reinterpret_cast<HWND>(wParam));
      AfterInput();
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
          StepMonth(item);
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

// --- Drawing ---

void FormWindow::DrawButton(const DRAWITEMSTRUCT& draw) {
  Item* item = Find(draw.hwndItem);
  if (item == nullptr || item->control == nullptr) return;
  HDC dc = draw.hDC;
  RECT r = draw.rcItem;
  const bool enabled = item->control->IsUsable();
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (item->kind == Kind::DropButton || item->kind == Kind::SpinButton) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  } else if (enabled) {
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);  // a flat toolbar button: a thin raised edge
  }
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  // Glyphs: filled shapes in the text colour; disabled ones embossed in grey with a white shadow.
  const auto glyph = [&](COLORREF color, int dx) {
    HBRUSH brush = CreateSolidBrush(color);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    const auto triangle = [&](int tipX, int dir) {  // dir -1 points left, +1 right
      POINT p[3] = {{tipX + dx, cy + dx}, {tipX - 4 * dir + dx, cy - 4 + dx}, {tipX - 4 * dir + dx, cy + 4 + dx}};
      Polygon(dc, p, 3);
    };
    const auto bar = [&](int x0, int y0, int x1, int y1) {
      RECT b{x0 + dx, y0 + dx, x1 + dx, y1 + dx};
      FillRect(dc, &b, brush);
    };
    const std::string& name = item->control->Name();
    if (item->kind == Kind::DropButton || item->kind == Kind::SpinButton) {
      const auto down = [&](int y) {
        POINT p[3] = {{cx - 3 + dx, y + dx}, {cx + 3 + dx, y + dx}, {cx + dx, y + 3 + dx}};
        Polygon(dc, p, 3);
      };
      if (item->kind == Kind::DropButton) {
        down(cy - 1);
      } else {
        POINT up[3] = {{cx - 3 + dx, cy - 2 + dx}, {cx + 3 + dx, cy - 2 + dx}, {cx + dx, cy - 5 + dx}};
        Polygon(dc, up, 3);
        down(cy + 2);
      }
    } else if (name == "FirstButton") {
      bar(cx - 5, cy - 4, cx - 3, cy + 5);
      triangle(cx - 2, -1);
      triangle(cx + 4, -1);
    } else if (name == "BackButton") {
      triangle(cx - 2, -1);
    } else if (name == "NextButton") {
      triangle(cx + 2, 1);
    } else if (name == "LastButton") {
      triangle(cx - 4, 1);
      triangle(cx + 2, 1);
      bar(cx + 3, cy - 4, cx + 5, cy + 5);
    } else if (name == "AddButton") {
      bar(cx - 5, cy - 1, cx + 6, cy + 2);
      bar(cx - 1, cy - 5, cx + 2, cy + 6);
    } else if (name == "DeleteButton") {
      bar(cx - 5, cy - 1, cx + 6, cy + 2);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  };
  if (enabled) {
    glyph(RGB(0, 0, 0), 0);
  } else {
    glyph(GetSysColor(COLOR_BTNHIGHLIGHT), 1);
    glyph(GetSysColor(COLOR_GRAYTEXT), 0);
  }
}

void FormWindow::PaintCalendar(Item& item, HDC dc) {
  auto* calendar = static_cast<TCalendar97*>(item.control);
  const CalendarSettings& settings = calendar->Settings();
  item.shownDate = calendar->Date();
  RECT client;
  GetClientRect(item.hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ oldFont = SelectObject(dc, FontOf(form_));
  SetBkMode(dc, TRANSPARENT);

  const CivilDate shown = CivilFromOle(calendar->Date());
  RECT title{0, 0, client.right, kTitleHeight};
  FillRect(dc, &title, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &title, BDR_RAISEDINNER, BF_RECT);
  std::wstring heading = Wide(settings.monthNames[shown.month - 1]) + L" " + std::to_wstring(shown.year);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, heading.c_str(), -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  // The month-step areas at both ends of the title.
  HBRUSH arrow = GetSysColorBrush(COLOR_BTNTEXT);
  HGDIOBJ oldBrush = SelectObject(dc, arrow);
  POINT left[3] = {{6, kTitleHeight / 2}, {12, kTitleHeight / 2 - 5}, {12, kTitleHeight / 2 + 5}};
  POINT right[3] = {{client.right - 6, kTitleHeight / 2},
                    {client.right - 12, kTitleHeight / 2 - 5},
                    {client.right - 12, kTitleHeight / 2 + 5}};
  Polygon(dc, left, 3);
  Polygon(dc, right, 3);
  SelectObject(dc, oldBrush);

  const int cellWidth = client.right / 7;
  const int gridTop = kTitleHeight + kWeekdayHeight;
  const int cellHeight = (client.bottom - gridTop) / 6;
  const int start = static_cast<int>(settings.weekStart);  // 0 = Sunday
  for (int column = 0; column < 7; ++column) {
    const int weekday = (start + column) % 7;                    // 0 = Sunday
    const std::string_view name = settings.dayNames[static_cast<std::size_t>((weekday + 6) % 7)];  // Monday first
    RECT cell{column * cellWidth, kTitleHeight, (column + 1) * cellWidth, gridTop};
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const std::wstring text = Wide(name);
    DrawTextW(dc, text.c_str(), -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  MoveToEx(dc, 2, gridTop - 1, nullptr);
  LineTo(dc, client.right - 2, gridTop - 1);

  const long long first = static_cast<long long>(OleFromCivil({shown.year, shown.month, 1}));
  const int offset = (WeekdayOf(first) - start + 7) % 7;
  const unsigned days = DaysInMonth(shown.year, shown.month);
  for (unsigned day = 1; day <= days; ++day) {
    const int index = offset + static_cast<int>(day) - 1;
    RECT cell{(index % 7) * cellWidth, gridTop + (index / 7) * cellHeight, (index % 7 + 1) * cellWidth,
              gridTop + (index / 7 + 1) * cellHeight};
    const std::wstring text = std::to_wstring(day);
    if (day == shown.day) {
      FillRect(dc, &cell, BrushOf(settings.validDateColor));
      SetTextColor(dc, RGB(255, 255, 255));
    } else {
      SetTextColor(dc, ColorRefOf(settings.validDateColor));
    }
    DrawTextW(dc, text.c_str(), -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
}

void FormWindow::CalendarMouseDown(Item& item, int x, int y) {
  auto* calendar = static_cast<TCalendar97*>(item.control);
  RECT client;
  GetClientRect(item.hwnd, &client);
  if (y < kTitleHeight) {
    if (x < kStepWidth) repeatStep_ = -1;
    else if (x >= client.right - kStepWidth) repeatStep_ = 1;
    else return;
    StepMonth(item);
    SetCapture(item.hwnd);
    SetTimer(item.hwnd, kRepeatTimer, static_cast<UINT>(calendar->Settings().autoRepeatMs), nullptr);
    return;
  }
  const int gridTop = kTitleHeight + kWeekdayHeight;
  if (y < gridTop) return;
  const int cellWidth = client.right / 7, cellHeight = (client.bottom - gridTop) / 6;
  const CivilDate shown = CivilFromOle(calendar->Date());
  const long long first = static_cast<long long>(OleFromCivil({shown.year, shown.month, 1}));
  const int start = static_cast<int>(calendar->Settings().weekStart);
  const int offset = (WeekdayOf(first) - start + 7) % 7;
  const int index = ((y - gridTop) / cellHeight) * 7 + std::min(6, x / cellWidth);
  const int day = index - offset + 1;
  if (day >= 1 && day <= static_cast<int>(DaysInMonth(shown.year, shown.month))) {
    calendar->ClickDay(static_cast<unsigned>(day));
  }
}

void FormWindow::StepMonth(Item& item) {
  auto* calendar = static_cast<TCalendar97*>(item.control);
  if (repeatStep_ == 0) return;
  const OleDate next = AddMonths(calendar->Date(), repeatStep_);
  if (IsSupportedDate(next)) calendar->SetDate(next);
}

// Draws the form from the model into `dc` (each window's part at its place in the form), then
// stretches it to `bounds`. Drawing from the model needs nothing of the windows' own painting, so
// it works on any device context a host hands over.
void FormWindow::Draw(HDC dc, const RECT& bounds) {
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT formRect;
  GetWindowRect(hwnd_, &formRect);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1L, client.right), std::max(1L, client.bottom));
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  SetBkMode(memory, TRANSPARENT);
  for (const auto& item : items_) {
    if (item->kind == Kind::Popup || item->kind == Kind::Calendar || item->control == nullptr) continue;
    if (!IsWindowVisible(item->hwnd)) continue;
    RECT r;
    GetWindowRect(item->hwnd, &r);
    OffsetRect(&r, -formRect.left, -formRect.top);
    Control& c = *item->control;
    HGDIOBJ oldFont = SelectObject(memory, FontOf(c));
    SetTextColor(memory, GetSysColor(c.IsUsable() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    const std::wstring text = Wide(c.Text());
    switch (item->kind) {
      case Kind::Form:
      case Kind::Panel: FillRect(memory, &r, BrushOf(c.Color())); break;
      case Kind::Bevel: DrawEdge(memory, &r, EDGE_ETCHED, BF_TOP); break;
      case Kind::Label: {
        auto* label = static_cast<TLabel*>(&c);
        const UINT align = label->Alignment() == TTextAlignment::Right    ? DT_RIGHT
                           : label->Alignment() == TTextAlignment::Center ? DT_CENTER
                                                                          : DT_LEFT;
        DrawTextW(memory, text.c_str(), -1, &r, align | DT_SINGLELINE);
        break;
      }
      case Kind::Edit: {
        FillRect(memory, &r, BrushOf(c.Enabled() ? c.Color() : clBtnFace));
        FrameRect(memory, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT inside = r;
        InflateRect(&inside, -3, -1);
        DrawTextW(memory, text.c_str(), -1, &inside, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        break;
      }
      case Kind::Radio: {
        RECT circle{r.left, r.top + (r.bottom - r.top - 13) / 2, r.left + 13, r.top + (r.bottom - r.top - 13) / 2 + 13};
        const bool checked = static_cast<TRadioButton&>(c).Checked();
        DrawFrameControl(memory, &circle, DFC_BUTTON, DFCS_BUTTONRADIO | (checked ? DFCS_CHECKED : 0));
        RECT caption = r;
        caption.left += 17;
        DrawTextW(memory, text.c_str(), -1, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        break;
      }
      case Kind::ToolButton:
      case Kind::DropButton:
      case Kind::SpinButton: {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_BUTTON;
        draw.hwndItem = item->hwnd;
        draw.hDC = memory;
        draw.rcItem = r;
        DrawButton(draw);
        break;
      }
      default: break;
    }
    SelectObject(memory, oldFont);
  }
  StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, memory, 0, 0,
             client.right, client.bottom, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

}  // namespace citara::server
