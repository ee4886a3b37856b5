// The date edit field and its drop-down calendar, driven as a user drives them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "widgets/calendar.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/form.h"
#include "widgets/platform.h"

namespace citara {
namespace {

OleDate Day(int year, unsigned month, unsigned day) { return OleFromCivil({year, month, day}); }

const MessageDialog kInvalid1345{"Error", "13/45/1999 is not a valid date.  Make sure the format is MM/DD/YYYY",
                                 DialogIcon::Error, DialogButtons::Ok};

class DateEditTest : public ::testing::Test {
 protected:
  static HeadlessPlatform PortAt(OleDate now) {
    HeadlessPlatform port;
    port.SetNow(now);
    return port;
  }

  DateEditTest() {
    field.SetParent(&form);
    field.SetBounds({10, 20, 120, 21});
    next.SetParent(&form);
    form.SetBounds({100, 200, 300, 100});
    form.Show();
  }

  // Focuses the field on 1 January 2000 ("01/01/2000"), puts the caret at `caret` and presses
  // `keys`.
  void TypeAt(int caret, const std::vector<Key>& keys) {
    field.SetDate(Day(2000, 1, 1));
    field.SetFocus();
    field.SetSelStart(caret);
    for (Key k : keys) field.PressKey(k);
  }

  HeadlessPlatform port = PortAt(Day(2000, 1, 1) + 0.75);  // 1 January 2000, 18:00
  ScopedPlatform use{port};
  TForm form{"Form"};
  TDateLinkEdit97& field = form.Create<TDateLinkEdit97>("DateEdit");
  TFlatEdit& next = form.Create<TFlatEdit>("NextEdit");
  TCalendar97& calendar = field.Popup().Calendar();
};

TEST_F(DateEditTest, ANewFieldShowsNothingAndHoldsTheMomentOfItsCreation) {
  EXPECT_EQ(field.Text(), "");
  EXPECT_EQ(field.Date(), Day(2000, 1, 1) + 0.75);
  EXPECT_EQ(field.DateFormat(), "mmmm d, yyyy");
  field.ShowDate();
  EXPECT_EQ(field.Text(), "January 1, 2000");
  field.Clear();
  EXPECT_EQ(field.Text(), "");
  EXPECT_EQ(field.Date(), Day(2000, 1, 1) + 0.75) << "clear keeps the date";
}

TEST_F(DateEditTest, FocusShowsTheDateForTypingWhateverTheDisplayFormat) {
  field.SetDateFormat("mmmm yyyy");
  field.SetFocus();
  EXPECT_EQ(field.Text(), "01/01/2000");
}

TEST_F(DateEditTest, DigitsOverwriteAndTheCaretStepsOverTheSeparators) {
  static const struct {
    const char* name;
    int caret;
    std::vector<Key> keys;
    const char* expected;
  } cases[] = {
      {"main keyboard digits", 0, {'1', '2', '2', '5', '1', '9', '9', '9'}, "12/25/1999"},
      {"keypad digits type alike", 0,
       {VK_NUMPAD0 + 1, VK_NUMPAD0 + 2, VK_NUMPAD0 + 2, VK_NUMPAD0 + 5, VK_NUMPAD0 + 1, VK_NUMPAD0 + 9,
        VK_NUMPAD0 + 9, VK_NUMPAD0 + 9},
       "12/25/1999"},
      {"a digit at the separator goes after it", 2, {'3'}, "01/31/2000"},
      {"Backspace moves left and deletes nothing", 4, {VK_BACK, VK_BACK, '7'}, "01/71/2000"},
      {"nothing is taken at the end", 10, {'5'}, "01/01/2000"},
      {"arrows, Delete, Home and End do nothing", 3, {VK_RIGHT, VK_DELETE, VK_HOME, VK_END, '2'}, "01/21/2000"},
      {"letters and Space are discarded", 0, {'A', VK_SPACE, '1'}, "11/01/2000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TypeAt(c.caret, c.keys);
    EXPECT_EQ(field.Text(), c.expected);
    field.Clear();  // leave without reading what was typed
    next.SetFocus();
  }
}

TEST_F(DateEditTest, LeavingReadsMonthDayYearAndShowsTheDisplayFormat) {
  static const struct {
    const char* typed;
    const char* format;
    const char* shown;
    OleDate date;
  } cases[] = {
      {"12/25/1999", "mmmm d, yyyy", "December 25, 1999", Day(1999, 12, 25)},
      {"1/12/1999", "mmmm yyyy", "January 1999", Day(1999, 1, 12)},  // the date keeps the day
      {"01/12/99", "mm/dd/yyyy", "01/12/1999", Day(1999, 1, 12)},    // month first in every locale
      {"2/29/00", "d mmmm yyyy", "29 February 2000", Day(2000, 2, 29)},
      {"", "mmmm d, yyyy", "January 1, 2000", Day(2000, 1, 1) + 0.75},  // empty: the date stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    next.SetFocus();
    field.SetDate(Day(2000, 1, 1) + 0.75);
    field.SetDateFormat(c.format);
    field.SetFocus();
    field.SetText(c.typed);
    EXPECT_TRUE(next.SetFocus());
    EXPECT_EQ(field.Text(), c.shown);
    EXPECT_EQ(field.Date(), c.date);
  }
  EXPECT_TRUE(port.Dialogs().empty());
}

TEST_F(DateEditTest, AnUnreadableDateIsReportedAndKeptWithTheFocus) {
  field.SetFocus();
  field.SetText("13/45/1999");
  EXPECT_FALSE(next.SetFocus());
  EXPECT_EQ(port.Dialogs(), std::vector<MessageDialog>{kInvalid1345});
  EXPECT_EQ(field.Text(), "13/45/1999");
  EXPECT_EQ(field.Date(), Day(2000, 1, 1) + 0.75);
  EXPECT_TRUE(field.Focused());
}

// A port whose dialog takes the focus away while it is up, as a real modal window does.
class FocusStealingPlatform : public HeadlessPlatform {
 public:
  Control* thief = nullptr;
  DialogResult ShowMessage(const MessageDialog& dialog) override {
    const DialogResult answer = HeadlessPlatform::ShowMessage(dialog);
    if (thief != nullptr) thief->SetFocus();
    return answer;
  }
};

TEST_F(DateEditTest, OnlyOneInvalidDateMessageIsUpAtATime) {
  FocusStealingPlatform stealing;
  ScopedPlatform useStealing(stealing);
  stealing.thief = &next;
  field.SetFocus();
  field.SetText("13/45/1999");
  EXPECT_FALSE(next.SetFocus());
  EXPECT_EQ(stealing.Dialogs().size(), 1U);
  EXPECT_TRUE(field.Focused());
}

TEST(PlacePopup, BelowTheFieldUnlessItWouldLeaveTheScreen) {
  const TRect field{10, 100, 130, 121};  // the pop-up is 142 high; below, it would span 122..264
  static const struct {
    const char* name;
    int screenHeight;
    TPoint expected;
  } cases[] = {
      {"room below", 768, {10, 122}},
      {"its bottom on the screen's bottom edge", 264, {10, 122}},
      {"one pixel too low: above, bottom one pixel over the field", 263, {10, 100 - 1 - 142}},
  };
  for (const auto& c : cases) EXPECT_EQ(PlacePopup(field, 142, c.screenHeight), c.expected) << c.name;
}

TEST_F(DateEditTest, TheButtonDropsTheCalendarDownWithTheTypedDate) {
  field.SetFocus();
  field.SetText("3/15/1999");
  field.ClickButton();
  EXPECT_TRUE(field.Popup().Visible());
  EXPECT_TRUE(calendar.Focused());
  EXPECT_EQ(field.Date(), Day(1999, 3, 15));
  EXPECT_EQ(field.Popup().RememberedDate(), Day(1999, 3, 15));
  EXPECT_EQ(field.Popup().Bounds(), (TBounds{110, 242, 180, 142})) << "one pixel below the field";
  EXPECT_FALSE(field.Popup().Calendar().Settings().showToday);
}

TEST_F(DateEditTest, TheButtonReplacesUnreadableTextWithoutAMessage) {
  field.SetFocus();
  field.SetText("13/45/1999");
  field.ClickButton();
  EXPECT_TRUE(port.Dialogs().empty());
  EXPECT_EQ(field.Text(), "01/01/2000");
  EXPECT_EQ(field.Date(), Day(2000, 1, 1) + 0.75);
}

TEST_F(DateEditTest, NearTheBottomOfTheScreenTheCalendarOpensAbove) {
  port.SetScreenHeight(300);
  field.ClickButton();
  EXPECT_EQ(field.Popup().Bounds().top, 220 - 1 - 142);
}

TEST_F(DateEditTest, EveryWayOfClosingReturnsTheFocusToTheField) {
  enum class Close { DayClick, Enter, Esc, FocusLoss };
  static const struct {
    const char* name;
    Close how;
    OleDate expected;
  } cases[] = {
      {"a day click picks that day", Close::DayClick, Day(2000, 2, 20)},
      {"Enter keeps the chosen date", Close::Enter, Day(2000, 2, 1)},
      {"Esc puts the opening date back", Close::Esc, Day(2000, 1, 1)},
      {"losing the focus keeps the chosen date", Close::FocusLoss, Day(2000, 2, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    next.SetFocus();
    field.SetDate(Day(2000, 1, 1));
    field.ClickButton();
    calendar.PressKey(VK_NEXT);
    calendar.PressKey(VK_NEXT);
    calendar.PressKey(VK_PRIOR);
    switch (c.how) {
      case Close::DayClick: calendar.ClickDay(20); break;
      case Close::Enter: calendar.PressKey(VK_RETURN); break;
      case Close::Esc: calendar.PressKey(VK_ESCAPE); break;
      case Close::FocusLoss: calendar.KillFocus(); break;
    }
    EXPECT_FALSE(field.Popup().Visible());
    EXPECT_TRUE(field.Focused());
    EXPECT_EQ(field.Date(), c.expected);
    EXPECT_EQ(field.Text(), FormatDate(c.expected, "mm/dd/yyyy"));
  }
}

TEST_F(DateEditTest, ClosingWhileTheFieldAlreadyHasTheFocusShowsTheNewDate) {
  field.SetDate(Day(2000, 1, 1));
  field.SetFocus();
  field.ClickButton();
  calendar.PressKey(VK_RIGHT);
  calendar.PressKey(VK_RETURN);
  EXPECT_EQ(field.Text(), "01/02/2000");
  next.SetFocus();
  EXPECT_EQ(field.Text(), "January 2, 2000");
}

TEST_F(DateEditTest, AHiddenCalendarTakesNoKeys) {
  calendar.PressKey(VK_RIGHT);
  EXPECT_EQ(field.Date(), Day(2000, 1, 1) + 0.75);
}

TEST(CalendarKeyMove, EveryKeyOfTheTable) {
  const OleDate today = OleFromCivil({2001, 7, 4}) + 0.5;
  static const struct {
    const char* name;
    CivilDate from;
    Key key;
    CivilDate to;
  } cases[] = {
      {"Left", {2000, 1, 1}, VK_LEFT, {1999, 12, 31}},
      {"Right", {1999, 12, 31}, VK_RIGHT, {2000, 1, 1}},
      {"Up", {2000, 3, 3}, VK_UP, {2000, 2, 25}},
      {"Down", {2000, 2, 25}, VK_DOWN, {2000, 3, 3}},
      {"Page Up keeps the day", {1999, 3, 15}, VK_PRIOR, {1999, 2, 15}},
      {"Page Up from 31 March", {1999, 3, 31}, VK_PRIOR, {1999, 2, 28}},
      {"Page Up from 31 March, leap year", {2000, 3, 31}, VK_PRIOR, {2000, 2, 29}},
      {"Page Up across the year", {2000, 1, 31}, VK_PRIOR, {1999, 12, 31}},
      {"Page Down keeps the day", {1999, 1, 15}, VK_NEXT, {1999, 2, 15}},
      {"Page Down from 31 January", {1999, 1, 31}, VK_NEXT, {1999, 2, 28}},
      {"Page Down from 31 May", {1999, 5, 31}, VK_NEXT, {1999, 6, 30}},
      {"Home over a 29 February", {2000, 3, 1}, VK_HOME, {1999, 3, 1}},
      {"End over a 29 February", {2000, 2, 28}, VK_END, {2001, 2, 28}},
      {"End without one", {2001, 6, 1}, VK_END, {2002, 6, 1}},
      {"Home from 29 February", {2000, 2, 29}, VK_HOME, {1999, 2, 28}},
      {"End from 29 February", {2000, 2, 29}, VK_END, {2001, 2, 28}},
      {"Space goes to today", {1999, 1, 1}, VK_SPACE, {2001, 7, 4}},
      {"stops at the first day", {100, 1, 1}, VK_LEFT, {100, 1, 1}},
      {"stops at the last day", {9999, 12, 31}, VK_RIGHT, {9999, 12, 31}},
      {"Page Down stops at the end", {9999, 12, 15}, VK_NEXT, {9999, 12, 31}},
      {"Home stops at the start", {100, 6, 1}, VK_HOME, {100, 1, 1}},
      {"Down stops at the end", {9999, 12, 28}, VK_DOWN, {9999, 12, 31}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto moved = CalendarKeyMove(OleFromCivil(c.from), c.key, today);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(CivilFromOle(*moved), c.to);
  }
  EXPECT_FALSE(CalendarKeyMove(OleFromCivil({2000, 1, 1}), VK_DELETE, today).has_value());
}

TEST(CalendarKeyMove, KeepsTheTimeOfDayOnBothSidesOf1900) {
  // Before 30 December 1899 the fraction still counts forward from midnight: -1.25 is 29
  // December 1899, 06:00.
  static const struct {
    OleDate from;
    Key key;
    OleDate to;
  } cases[] = {
      {0.25, VK_LEFT, -1.25},
      {-1.25, VK_RIGHT, 0.25},
      {-1.25, VK_LEFT, -2.25},
      {35000.75, VK_DOWN, 35007.75},
  };
  for (const auto& c : cases) EXPECT_EQ(*CalendarKeyMove(c.from, c.key, 0), c.to) << c.from;
}

TEST(TCalendar97, SettingsAndEventsOfTheCalendar) {
  HeadlessPlatform port;
  ScopedPlatform use(port);
  port.SetNow(OleFromCivil({2000, 1, 31}));
  TCalendar97 calendar("Calendar97");
  const CalendarSettings& s = calendar.Settings();
  EXPECT_EQ(s.dayNames[0], "Mo");
  EXPECT_EQ(s.dayNames[6], "Su");
  EXPECT_EQ(s.monthNames[11], "December");
  EXPECT_EQ(s.weekStart, TWeekday::Sunday);
  EXPECT_EQ(s.autoRepeatMs, 150);
  EXPECT_FALSE(s.markWeekends);
  EXPECT_EQ(s.validDateColor, clBlue);

  int changes = 0, clicks = 0;
  calendar.OnDateChange = [&](Control&) { ++changes; };
  calendar.OnDateClick = [&](Control&) { ++clicks; };
  calendar.ClickDay(30);  // 31 January -> 30 January
  calendar.ClickDay(31);
  calendar.ClickDay(32);  // January has no 32nd: ignored
  EXPECT_EQ(CivilFromOle(calendar.Date()), (CivilDate{2000, 1, 31}));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(clicks, 2);
  EXPECT_THROW(calendar.SetDate(kMaxOleDate + 1), std::invalid_argument);
}

}  // namespace
}  // namespace citara

namespace citara {
namespace {

TEST_F(DateEditTest, AskedToShowItsDateWhileFocusedItShowsTheTextItTakes) {
  field.SetFocus();
  field.SetDate(Day(2059, 6, 7) + 0.25);
  field.ShowDate();
  EXPECT_EQ(field.Text(), "06/07/2059");
  EXPECT_TRUE(field.CanExit());
  EXPECT_TRUE(next.SetFocus());
  EXPECT_EQ(field.Text(), "June 7, 2059");
  EXPECT_EQ(field.Date(), Day(2059, 6, 7) + 0.25) << "the day stands, so does its time";
  EXPECT_TRUE(port.Dialogs().empty());
}

TEST_F(DateEditTest, CanExitTellsWhetherLeavingShowsAMessage) {
  field.SetFocus();
  for (const auto& [text, quiet] : {std::pair{"", true}, {"12/25/1999", true}, {"13/45/1999", false}, {"1_/", false}}) {
    field.SetText(text);
    EXPECT_EQ(field.CanExit(), quiet) << text;
  }
  EXPECT_TRUE(port.Dialogs().empty()) << "asking shows nothing";
}

// The drop-down closes, but the focused control keeps the focus: the field shows the date it now
// holds in its display format, not the text for typing of the date it held before.
TEST_F(DateEditTest, ClosingWithoutGettingTheFocusShowsTheHeldDate) {
  TDateLinkEdit97& other = form.Create<TDateLinkEdit97>("OtherEdit");
  other.SetParent(&form);
  field.SetDate(Day(1956, 1, 6));
  field.SetDateFormat("yyyy");
  field.ShowDate();
  other.SetFocus();
  other.SetText("13/45/1999");  // half typed: the focus stays here
  port.QueueAnswer(DialogResult::Ok);
  port.QueueAnswer(DialogResult::Ok);
  field.ClickButton();
  Key down = VK_DOWN;
  calendar.KeyDown(down, ShiftState::None);
  calendar.KillFocus();
  EXPECT_FALSE(field.Popup().Visible());
  EXPECT_TRUE(other.Focused());
  EXPECT_EQ(field.Date(), Day(1956, 1, 13));
  EXPECT_EQ(field.Text(), "1956");
}

}  // namespace
}  // namespace citara
