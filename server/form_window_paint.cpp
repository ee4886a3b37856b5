// Painting: the buttons' glyphs, the month calendar as the model's geometry lays it out, and the
// whole form drawn from the model into a host's device context.
//
// Citara's headers come before the Windows headers (see windows_headers.h).
#include "widgets/calendar.h"
#include "widgets/radio_button.h"
#include "widgets/static_controls.h"
#include "widgets/tool_button.h"

#include "server/form_window.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "server/bstr.h"
#include "server/gdi_font.h"

namespace citara::server {
namespace {

// The glyphs of a date field's drop-down button and a spin edit's up/down button.
constexpr std::string_view kDropDownGlyph = "DropDown", kSpinGlyph = "SpinUpDown";

// The glyphs the buttons show, by the image id of the model's button (a toolbar button's normal
// glyph) or of the field's own button: filled shapes around the button's centre.
struct GlyphShape {
  enum Kind { Bar, LeftTip, RightTip, DownTip, UpTip } kind;
  int a = 0, b = 0, c = 0, d = 0;  // a bar's edges; a triangle's tip (x for left/right, y for up/down)
};
struct GlyphDrawing {
  std::string_view id;
  std::initializer_list<GlyphShape> shapes;
};
using enum GlyphShape::Kind;
const GlyphDrawing kGlyphs[] = {
    {"FirstArrow", {{Bar, -5, -4, -3, 5}, {LeftTip, -2}, {LeftTip, 4}}},
    {"BackArrow", {{LeftTip, -2}}},
    {"NextArrow", {{RightTip, 2}}},
    {"LastArrow", {{RightTip, -4}, {RightTip, 2}, {Bar, 3, -4, 5, 5}}},
    {"Plus", {{Bar, -5, -1, 6, 2}, {Bar, -1, -5, 2, 6}}},
    {"Minus", {{Bar, -5, -1, 6, 2}}},
    {kDropDownGlyph, {{DownTip, -1}}},
    {kSpinGlyph, {{UpTip, -2}, {DownTip, 2}}},
};

// Fills the shapes of glyph `id` around (cx, cy), moved by `dx` (the shadow of a disabled glyph).
void DrawGlyph(HDC dc, std::string_view id, int cx, int cy, int dx, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  cx += dx;
  cy += dx;
  for (const GlyphDrawing& glyph : kGlyphs) {
    if (glyph.id != id) continue;
    for (const GlyphShape& s : glyph.shapes) {
      switch (s.kind) {
        case Bar: {
          RECT r{cx + s.a, cy + s.b, cx + s.c, cy + s.d};
          FillRect(dc, &r, brush);
          break;
        }
        case LeftTip:
        case RightTip: {
          const int dir = s.kind == LeftTip ? -1 : 1, tip = cx + s.a;
          POINT t[3] = {{tip, cy}, {tip - 4 * dir, cy - 4}, {tip - 4 * dir, cy + 4}};
          Polygon(dc, t, 3);
          break;
        }
        case DownTip: {
          POINT t[3] = {{cx - 3, cy + s.a}, {cx + 3, cy + s.a}, {cx, cy + s.a + 3}};
          Polygon(dc, t, 3);
          break;
        }
        case UpTip: {
          POINT t[3] = {{cx - 3, cy + s.a}, {cx + 3, cy + s.a}, {cx, cy + s.a - 3}};
          Polygon(dc, t, 3);
          break;
        }
      }
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

}  // namespace

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
  std::string_view glyph = item->kind == Kind::DropButton ? kDropDownGlyph : kSpinGlyph;
  if (item->kind == Kind::ToolButton) glyph = static_cast<TToolButton*>(item->control)->Glyph().normal;
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  // Glyphs are filled shapes in the text colour; disabled ones embossed in grey with a white shadow.
  if (enabled) {
    DrawGlyph(dc, glyph, cx, cy, 0, RGB(0, 0, 0));
  } else {
    DrawGlyph(dc, glyph, cx, cy, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawGlyph(dc, glyph, cx, cy, 0, GetSysColor(COLOR_GRAYTEXT));
  }
}

void FormWindow::PaintCalendar(Item& item, HDC dc) {
  auto* calendar = static_cast<TCalendar97*>(item.control);
  const CalendarSettings& settings = calendar->Settings();
  item.shownDate = calendar->Date();
  const CalendarGeometry g = GeometryOf(item);
  const auto rectOf = [](const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; };
  RECT client{0, 0, g.size.width, g.size.height};
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ oldFont = SelectObject(dc, FontOf(form_));
  SetBkMode(dc, TRANSPARENT);

  const CivilDate shown = CivilFromOle(calendar->Date());
  RECT title = rectOf(g.Title());
  FillRect(dc, &title, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &title, BDR_RAISEDINNER, BF_RECT);
  std::wstring heading = Wide(settings.monthNames[shown.month - 1]) + L" " + std::to_wstring(shown.year);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, heading.c_str(), -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  // The month-step areas at both ends of the title.
  HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNTEXT));
  const int middle = g.titleHeight / 2;
  POINT left[3] = {{6, middle}, {12, middle - 5}, {12, middle + 5}};
  POINT right[3] = {{g.size.width - 6, middle}, {g.size.width - 12, middle - 5}, {g.size.width - 12, middle + 5}};
  Polygon(dc, left, 3);
  Polygon(dc, right, 3);
  SelectObject(dc, oldBrush);

  const int start = static_cast<int>(settings.weekStart);  // 0 = Sunday
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  for (int column = 0; column < 7; ++column) {
    const int weekday = (start + column) % 7;  // 0 = Sunday; the names start on Monday
    const std::wstring text = Wide(settings.dayNames[static_cast<std::size_t>((weekday + 6) % 7)]);
    RECT cell = rectOf(g.WeekdayCell(column));
    DrawTextW(dc, text.c_str(), -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  MoveToEx(dc, 2, g.GridTop() - 1, nullptr);
  LineTo(dc, g.size.width - 2, g.GridTop() - 1);

  const MonthGrid grid = GridOf(calendar->Date(), settings.weekStart);
  for (unsigned day = 1; day <= grid.days; ++day) {
    RECT cell = rectOf(g.DayCell(grid.CellOf(day)));
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

HFONT FormWindow::FontOf(const Control& control) {
  const TFont& font = control.Font();
  for (const auto& [made, handle] : fonts_) {
    if (made == font) return handle;
  }
  HFONT created = CreateGdiFont(font);
  fonts_.emplace_back(font, created);
  return created;
}

HBRUSH FormWindow::BrushOf(unsigned long color) {
  if (auto found = brushes_.find(color); found != brushes_.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(ColorRefOf(color));
  brushes_[color] = brush;
  return brush;
}

}  // namespace citara::server
