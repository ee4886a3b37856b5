#include "widgets/calendar.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>

#include "widgets/platform.h"

namespace citara {
namespace {

namespace chr = std::chrono;

// An automation date as its day number and its time of day (0 <= time < 1). Before 30 December
// 1899 the day number is negative and the fraction still counts forward from midnight.
struct DayAndTime {
  long long day;
  double time;
};

DayAndTime Split(OleDate date) {
  const double day = std::trunc(date);
  return {static_cast<long long>(day), std::fabs(date - day)};
}

OleDate Join(long long day, double time) {
  day = std::clamp(day, static_cast<long long>(kMinOleDate), static_cast<long long>(kMaxOleDate));
  return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

long long DayNumber(chr::year_month_day ymd) {
  const CivilDate civil{static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                        static_cast<unsigned>(ymd.day())};
  return static_cast<long long>(OleFromCivil(civil));
}

// The same day `months` later, or the last day of that month when it is shorter.
long long DayMonthsLater(long long day, int months) {
  const CivilDate c = CivilFromOle(static_cast<OleDate>(day));
  const chr::year_month ym = chr::year{c.year} / chr::month{c.month} + chr::months{months};
  const chr::day last = chr::year_month_day_last{ym.year(), chr::month_day_last{ym.month()}}.day();
  return DayNumber(ym / std::min(chr::day{c.day}, last));
}

bool InRange(OleDate date) { return IsSupportedDate(date); }

}  // namespace

OleDate AddDays(OleDate date, long long days) {
  const DayAndTime d = Split(date);
  return Join(d.day + days, d.time);
}

OleDate AddMonths(OleDate date, int months) {
  const DayAndTime d = Split(date);
  return Join(DayMonthsLater(d.day, months), d.time);
}

std::optional<OleDate> CalendarKeyMove(OleDate date, Key key, OleDate today) {
  switch (key) {
    case VK_LEFT: return AddDays(date, -1);
    case VK_RIGHT: return AddDays(date, 1);
    case VK_UP: return AddDays(date, -7);
    case VK_DOWN: return AddDays(date, 7);
    case VK_PRIOR: return AddMonths(date, -1);
    case VK_NEXT: return AddMonths(date, 1);
    case VK_HOME: return AddMonths(date, -12);
    case VK_END: return AddMonths(date, 12);
    case VK_SPACE: return Join(Split(today).day, Split(date).time);
    default: return std::nullopt;
  }
}

unsigned MonthGrid::DayAt(int cell) const {
  const int day = cell - firstCell + 1;
  return day >= 1 && day <= static_cast<int>(days) ? static_cast<unsigned>(day) : 0;
}

MonthGrid GridOf(int year, unsigned month, TWeekday weekStart) {
  const chr::year_month ym = chr::year{year} / chr::month{month};
  const chr::weekday first{chr::sys_days{ym / chr::day{1}}};
  const unsigned start = static_cast<unsigned>(weekStart);  // 0 = Sunday, as c_encoding counts
  MonthGrid grid;
  grid.firstCell = static_cast<int>((first.c_encoding() + 7 - start) % 7);
  grid.days = static_cast<unsigned>((ym / chr::last).day());
  return grid;
}

MonthGrid GridOf(OleDate date, TWeekday weekStart) {
  const CivilDate c = CivilFromOle(date);
  return GridOf(c.year, c.month, weekStart);
}

CalendarGeometry CalendarGeometry::For(TSize size, int lineHeight) {
  CalendarGeometry g;
  g.size = size;
  g.titleHeight = std::max(g.titleHeight, lineHeight + 7);
  g.weekdayHeight = std::max(g.weekdayHeight, lineHeight + 3);
  return g;
}

TRect CalendarGeometry::WeekdayCell(int column) const {
  return {column * CellWidth(), titleHeight, (column + 1) * CellWidth(), GridTop()};
}

TRect CalendarGeometry::DayCell(int cell) const {
  const int column = cell % 7, row = cell / 7;
  return {column * CellWidth(), GridTop() + row * CellHeight(), (column + 1) * CellWidth(),
          GridTop() + (row + 1) * CellHeight()};
}

CalendarHit HitTest(const CalendarGeometry& g, const MonthGrid& grid, TPoint p) {
  if (p.x < 0 || p.y < 0 || p.x >= g.size.width || p.y >= g.size.height) return {};
  if (p.y < g.titleHeight) {
    if (p.x < g.stepWidth) return {CalendarPart::StepBack};
    if (p.x >= g.size.width - g.stepWidth) return {CalendarPart::StepForward};
    return {CalendarPart::Title};
  }
  if (p.y < g.GridTop()) return {CalendarPart::Weekdays};
  if (g.CellWidth() <= 0 || g.CellHeight() <= 0) return {};
  const int row = (p.y - g.GridTop()) / g.CellHeight();
  if (row > 5) return {};
  const unsigned day = grid.DayAt(row * 7 + std::min(6, p.x / g.CellWidth()));
  if (day == 0) return {};
  return {CalendarPart::Day, day};
}

OleDate StepMonth(OleDate date, int step) {
  const CivilDate c = CivilFromOle(date);
  const chr::year_month ym = chr::year{c.year} / chr::month{c.month} + chr::months{step};
  if (!IsSupportedDate(OleFromCivil({static_cast<int>(ym.year()), static_cast<unsigned>(ym.month()), 1}))) {
    return date;
  }
  return AddMonths(date, step);
}

TSize MinimumSize(const CalendarSettings& settings, const TFont& font, const TextMeasure& measure, TSize design) {
  int title = 0, cell = measure(font, "30").width;
  for (std::string_view month : settings.monthNames) title = std::max(title, measure(font, std::string(month) + " 9999").width);
  for (std::string_view day : settings.dayNames) cell = std::max(cell, measure(font, day).width);
  const int line = measure(font, "Ag").height;
  const CalendarGeometry g = CalendarGeometry::For(design, line);
  const int width = std::max({design.width, 7 * (cell + 6), title + 2 * g.stepWidth + 8});
  const int height = std::max(design.height, g.GridTop() + 6 * (line + 4));
  return {width, height};
}

TCalendar97::TCalendar97(std::string name) : Control(std::move(name)), date_(CurrentPlatform().Now()) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TCalendar97::SetDate(OleDate date) {
  if (!InRange(date)) throw std::invalid_argument("date outside 1 January 100 to 31 December 9999");
  if (date == date_) return;
  date_ = date;
  if (OnDateChange) OnDateChange(*this);
}

void TCalendar97::ClickDay(unsigned day) {
  if (!IsUsable()) return;
  const CivilDate shown = CivilFromOle(date_);
  if (!IsValidCivil(shown.year, shown.month, day)) return;
  SetDate(AddDays(date_, static_cast<long long>(day) - shown.day));
  if (OnDateClick) OnDateClick(*this);
}

void TCalendar97::ClickToday() {
  if (IsUsable() && settings_.showToday) SetDate(*CalendarKeyMove(date_, VK_SPACE, CurrentPlatform().Now()));
}

void TCalendar97::KillFocus() {
  if (OnKillFocus) OnKillFocus(*this);
}

void TCalendar97::KeyDown(Key& key, ShiftState shift) {
  Control::KeyDown(key, shift);
  if (key == VK_RETURN) {
    if (OnKeyEnter) OnKeyEnter(*this);
  } else if (key == VK_ESCAPE) {
    if (OnKeyCancel) OnKeyCancel(*this);
  } else if (const auto moved = CalendarKeyMove(date_, key, CurrentPlatform().Now())) {
    SetDate(*moved);
  }
}

}  // namespace citara
