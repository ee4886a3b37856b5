// The drop-down calendar's arithmetic: the month grid (weekday of the first, days in the month),
// where the parts of a calendar lie, what a click hits, the month steps and the smallest size.
#include "widgets/calendar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "widgets/platform.h"

namespace citara {
namespace {

TEST(MonthGrid, FirstCellAndDaysOfMonths) {
  struct Case {
    int year;
    unsigned month;
    TWeekday start;
    int firstCell;
    unsigned days;
  };
  for (const Case& c : std::initializer_list<Case>{
           {2001, 3, TWeekday::Sunday, 4, 31},      // 1 March 2001 was a Thursday
           {2001, 3, TWeekday::Monday, 3, 31},
           {2001, 3, TWeekday::Saturday, 5, 31},
           {2000, 2, TWeekday::Sunday, 2, 29},      // a leap year by the 400-year rule
           {1900, 2, TWeekday::Sunday, 4, 28},      // no leap year: divisible by 100
           {2024, 2, TWeekday::Sunday, 4, 29},
           {2023, 2, TWeekday::Sunday, 3, 28},
           {1899, 12, TWeekday::Sunday, 5, 31},     // around day 0 of the automation dates
           {100, 1, TWeekday::Sunday, 5, 31},       // the first supported month
           {9999, 12, TWeekday::Sunday, 3, 31},     // the last
           {2026, 11, TWeekday::Sunday, 0, 30},     // starts on the week's first day
       }) {
    const MonthGrid grid = GridOf(c.year, c.month, c.start);
    EXPECT_EQ(grid.firstCell, c.firstCell) << c.year << "-" << c.month;
    EXPECT_EQ(grid.days, c.days) << c.year << "-" << c.month;
  }
  EXPECT_EQ(GridOf(OleFromCivil({2001, 3, 20}) + 0.75, TWeekday::Sunday).firstCell, 4);
}

TEST(MonthGrid, CellsAndDays) {
  const MonthGrid march = GridOf(2001, 3, TWeekday::Sunday);
  EXPECT_EQ(march.CellOf(1), 4);
  EXPECT_EQ(march.CellOf(20), 23);  // the fourth week's Tuesday
  EXPECT_EQ(march.DayAt(23), 20u);
  EXPECT_EQ(march.DayAt(3), 0u);    // before the first
  EXPECT_EQ(march.DayAt(35), 0u);   // after the 31st
  EXPECT_EQ(march.DayAt(34), 31u);
}

TEST(CalendarGeometry, PartsOfTheDesignCalendar) {
  const CalendarGeometry g = CalendarGeometry::For({180, 142}, 13);
  EXPECT_EQ(g.GridTop(), 36);
  EXPECT_EQ(g.CellWidth(), 25);
  EXPECT_EQ(g.CellHeight(), 17);
  EXPECT_EQ(g.DayCell(23), (TRect{50, 87, 75, 104}));
  EXPECT_EQ(g.WeekdayCell(6), (TRect{150, 20, 175, 36}));
  // A taller font makes the title and weekday rows taller.
  EXPECT_EQ(CalendarGeometry::For({180, 142}, 22).GridTop(), 29 + 25);
}

TEST(CalendarGeometry, HitTest) {
  const CalendarGeometry g = CalendarGeometry::For({180, 142}, 13);
  const MonthGrid march = GridOf(2001, 3, TWeekday::Sunday);
  struct Case {
    TPoint point;
    CalendarHit hit;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{5, 5}, {CalendarPart::StepBack}},
           {{175, 5}, {CalendarPart::StepForward}},
           {{90, 5}, {CalendarPart::Title}},
           {{90, 25}, {CalendarPart::Weekdays}},
           {{62, 95}, {CalendarPart::Day, 20}},
           {{110, 40}, {CalendarPart::Day, 1}},
           {{10, 40}, {}},                        // a cell before the first
           {{179, 40}, {CalendarPart::Day, 3}},   // the spare pixels right of the grid: the last column
           {{60, 141}, {}},                       // below the sixth row (none here in March 2001)
           {{-1, 50}, {}},
           {{50, 142}, {}},
       }) {
    EXPECT_EQ(HitTest(g, march, c.point), c.hit) << c.point.x << "," << c.point.y;
  }
}

TEST(Calendar, StepMonthKeepsTheDayOrTakesTheLastAndStopsAtTheEnds) {
  struct Case {
    CivilDate from;
    int step;
    CivilDate to;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{2001, 3, 20}, 1, {2001, 4, 20}},
           {{2001, 3, 31}, -1, {2001, 2, 28}},
           {{2000, 3, 31}, -1, {2000, 2, 29}},
           {{2001, 12, 5}, 1, {2002, 1, 5}},
           {{100, 1, 15}, -1, {100, 1, 15}},     // the first supported month: stays
           {{9999, 12, 15}, 1, {9999, 12, 15}},  // the last: stays
       }) {
    const OleDate day = OleFromCivil(c.from);
    const OleDate noon = day >= 0 ? day + 0.5 : day - 0.5;  // before 1899 the fraction counts on from midnight
    const OleDate to = StepMonth(noon, c.step);
    EXPECT_EQ(CivilFromOle(to), c.to) << c.from.year << "-" << c.from.month << "-" << c.from.day;
    EXPECT_DOUBLE_EQ(std::fabs(to - std::trunc(to)), 0.5);  // the time of day is kept
  }
}

TEST(Calendar, MinimumSizeGrowsWithTheFont) {
  const CalendarSettings settings;
  const TextMeasure headless = [](const TFont& font, std::string_view text) { return TextMetric{}.Measure(font, text); };
  EXPECT_EQ(MinimumSize(settings, {"MS Sans Serif", -11}, headless, {180, 142}), (TSize{180, 142}));
  const TSize tall = MinimumSize(settings, {"MS Sans Serif", -24}, headless, {180, 142});
  EXPECT_GT(tall.width, 180);
  EXPECT_GT(tall.height, 142);
  // Every day number and the longest title fit what the geometry gives them.
  const CalendarGeometry g = CalendarGeometry::For(tall, headless({"MS Sans Serif", -24}, "Ag").height);
  EXPECT_GE(g.CellWidth(), headless({"MS Sans Serif", -24}, "30").width);
  EXPECT_GE(g.CellHeight(), headless({"MS Sans Serif", -24}, "30").height);
  EXPECT_GE(g.size.width - 2 * g.stepWidth, headless({"MS Sans Serif", -24}, "September 9999").width);
}

}  // namespace
}  // namespace citara
