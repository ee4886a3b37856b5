// TCalendar97: a month calendar that holds one date and moves it by keyboard and mouse.
//
// The shown month is the month of the held date. Keys (while it has the focus):
//   Left / Right       one day back / forward
//   Up / Down          seven days back / forward
//   Page Up / Down     the same day of the previous / next month, or that month's last day
//                      when it is shorter (31 March -> 28 or 29 February)
//   Home / End         the same day of the previous / next year (365 or 366 days; 29 February
//                      goes to 28 February)
//   Space              today (the port's clock)
//   Enter / Esc        fire OnKeyEnter / OnKeyCancel
// Every move keeps the time of day and stops at the ends of the supported range (1 January 100,
// 31 December 9999) instead of failing. Every change of the date fires OnDateChange.
// Drawing is not done here: a window port draws the settings and the held date where the model's
// geometry puts them (CalendarGeometry, MonthGrid), and passes clicks to HitTest.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/control.h"
#include "widgets/dates.h"
#include "widgets/geometry.h"
#include "widgets/layout.h"

namespace citara {

enum class TWeekday { Sunday, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };

// How a calendar looks and repeats: data for the window port that draws it.
struct CalendarSettings {
  std::array<std::string_view, 7> dayNames = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};  // Monday first
  std::array<std::string_view, 12> monthNames = {"January", "February", "March",     "April",
                                                 "May",     "June",     "July",      "August",
                                                 "September", "October", "November", "December"};
  TWeekday weekStart = TWeekday::Sunday;
  bool markWeekends = false;
  TColor validDateColor = clBlue;
  int autoRepeatMs = 150;  // mouse auto-repeat while a month-step area is held
  bool showToday = true;   // the today area (a click on it moves to today)
};

// The date that `key` moves `date` to in a calendar (`today` for Space), or nothing for a key
// that does not move the date. Pure: the rules of the table above.
std::optional<OleDate> CalendarKeyMove(OleDate date, Key key, OleDate today);

// The same date moved by whole days, months or years (a month or year move keeps the day, or
// takes the last day of a shorter month), keeping the time of day and clamped to the range.
OleDate AddDays(OleDate date, long long days);
OleDate AddMonths(OleDate date, int months);

// The days of one month in the calendar's grid of six weeks of seven days, cell 0 being the first
// week's first day (the settings' week start).
struct MonthGrid {
  int firstCell = 0;  // the cell of day 1
  unsigned days = 0;  // the days the month has
  int CellOf(unsigned day) const { return firstCell + static_cast<int>(day) - 1; }
  // The day in `cell`; 0 for a cell outside the month.
  unsigned DayAt(int cell) const;
};
MonthGrid GridOf(int year, unsigned month, TWeekday weekStart);
// The grid of the month that holds `date`.
MonthGrid GridOf(OleDate date, TWeekday weekStart);

// Where a calendar of `size` pixels shows its parts: the title row (the month and year between the
// two month-step areas), the row of weekday names, and six rows of seven day cells over the rest.
struct CalendarGeometry {
  TSize size;
  int titleHeight = 20;
  int weekdayHeight = 16;
  int stepWidth = 20;

  // A calendar of `size` whose title and weekday rows hold a line of `lineHeight` pixels.
  static CalendarGeometry For(TSize size, int lineHeight);
  int GridTop() const { return titleHeight + weekdayHeight; }
  int CellWidth() const { return size.width / 7; }
  int CellHeight() const { return (size.height - GridTop()) / 6; }
  TRect Title() const { return {0, 0, size.width, titleHeight}; }
  TRect WeekdayCell(int column) const;
  TRect DayCell(int cell) const;
};

enum class CalendarPart { None, StepBack, StepForward, Title, Weekdays, Day };
struct CalendarHit {
  CalendarPart part = CalendarPart::None;
  unsigned day = 0;  // for a Day: the day of the month
  friend bool operator==(const CalendarHit&, const CalendarHit&) = default;
};
// What a click at `point` (calendar coordinates) lands on; a cell outside the month is None.
CalendarHit HitTest(const CalendarGeometry& geometry, const MonthGrid& grid, TPoint point);

// The date a month-step area moves `date` to (`step` -1 or +1): the same day of that month, or
// its last day; at the ends of the supported range the date stays.
OleDate StepMonth(OleDate date, int step);

// The smallest calendar that shows its title, weekday names and day numbers in `font` without
// clipping, and never smaller than `design`.
TSize MinimumSize(const CalendarSettings& settings, const TFont& font, const TextMeasure& measure, TSize design);

class TCalendar97 : public Control {
 public:
  explicit TCalendar97(std::string name);

  OleDate Date() const { return date_; }
  // Sets the held date. Throws std::invalid_argument for a value outside the supported range.
  void SetDate(OleDate date);

  const CalendarSettings& Settings() const { return settings_; }
  void SetSettings(const CalendarSettings& settings) { settings_ = settings; }

  NotifyEvent OnDateChange;
  NotifyEvent OnDateClick;
  NotifyEvent OnKeyEnter;
  NotifyEvent OnKeyCancel;
  NotifyEvent OnKillFocus;

  // --- User simulation ---
  // A click on day `day` of the shown month: picks it and fires OnDateClick (a day the month does
  // not have is ignored).
  void ClickDay(unsigned day);
  // A click on the today area, when it is shown.
  void ClickToday();
  // The calendar's window loses the keyboard focus to another window.
  void KillFocus();

  void KeyDown(Key& key, ShiftState shift) override;

 private:
  OleDate date_;
  CalendarSettings settings_;
};

}  // namespace citara
