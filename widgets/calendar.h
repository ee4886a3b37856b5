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
// Drawing is not done here; a window port draws the settings and the held date.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/control.h"
#include "widgets/dates.h"

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
