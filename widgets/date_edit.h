// TDateLinkEdit97: the date edit field, with its drop-down month calendar (TDtCalPop97 holding a
// TCalendar97).
//
// The field holds a date (an automation date, the current local date and time when created) and
// shows it as text in its DateFormat ("mmmm d, yyyy" unless a form sets another) when asked to
// (ShowDate) and whenever it loses the focus; asked while it has the focus, it shows the date as
// it does for typing (below), the text it takes on leaving. Clear empties the text and keeps the
// date.
//
// While it has the focus the field shows "mm/dd/yyyy" and takes digits in overwrite mode: a digit
// key (main keyboard or keypad) steps the caret over the "/" at positions 2 and 5, and the typed
// digit replaces the character after the caret; digits and ":" are taken only before position 10;
// Backspace moves the caret left and deletes nothing; every other key that acts inside a field
// (arrows, Delete, Home, End) is discarded, while Tab, Enter, Esc and Alt keys still reach the
// form. On leaving, the text is read as month/day/year whatever the locale (a text naming the day
// the field holds keeps its time of day); text that cannot be
// read keeps the focus in the field and shows
//   «<text> is not a valid date.  Make sure the format is MM/DD/YYYY»
// in an "Error" dialog (error icon, OK), leaving text and date as they were. Only one such
// message is up at a time.
//
// The button reads the text as on leaving (unreadable text is silently replaced by the held date
// as "mm/dd/yyyy") and drops the calendar down below the field, or above it near the bottom of
// the screen. A day click, Enter or the calendar losing the focus keep the chosen date; Esc puts
// back the date the calendar was opened with. Either way the focus returns to the field; when the
// focused control keeps it, the field shows its date in its DateFormat.
#pragma once

#include <optional>
#include <string>

#include "widgets/calendar.h"
#include "widgets/form.h"
#include "widgets/link_edit.h"

namespace citara {

class TDtCalPop97;

// The text a date edit shows while it has the focus.
inline constexpr std::string_view kEditingDateFormat = "mm/dd/yyyy";

class TDateLinkEdit97 : public TFlatLinkEdit {
 public:
  explicit TDateLinkEdit97(std::string name);

  OleDate Date() const;
  // Throws std::invalid_argument for a value outside 1 January 100 to 31 December 9999.
  void SetDate(OleDate date);
  const std::string& DateFormat() const { return dateFormat_; }
  // Stores the display format; the text changes at the next ShowDate or focus loss.
  void SetDateFormat(std::string format) { dateFormat_ = std::move(format); }
  // Text := the date in DateFormat, or as "mm/dd/yyyy" while the field has the focus.
  void ShowDate();

  TDtCalPop97& Popup() const { return *popup_; }

  void DoEnter() override;
  bool DoExit() override;
  // True when the text is empty or a date: leaving then shows no message.
  bool CanExit() const override;

 protected:
  void FilterKeyDown(Key& key, ShiftState shift) override;
  void FilterChar(char32_t& ch) override;
  void ButtonClick() override;

 private:
  friend class TDtCalPop97;
  // The pop-up has closed: the focus comes back here, showing the (new) date for editing.
  void PopupClosed();
  void ShowEditingText();
  void ShowDisplayText();
  void ReportInvalidDate();

  std::string dateFormat_ = "mmmm d, yyyy";
  TDtCalPop97* popup_;
  bool messageUp_ = false;
};

// Where the pop-up's top-left corner goes for a field at `field` (screen coordinates): one pixel
// below the field's bottom-left corner, or, when its bottom would then lie below the screen, with
// its bottom edge one pixel above the field's top.
TPoint PlacePopup(const TRect& field, int popupHeight, int screenHeight);

// The borderless, top-most pop-up that holds the field's calendar. It never becomes the active
// window; it remembers the calendar's date each time it is shown.
class TDtCalPop97 : public TForm {
 public:
  TDtCalPop97(std::string name, TDateLinkEdit97& field);

  TCalendar97& Calendar() const { return *calendar_; }
  OleDate RememberedDate() const { return remembered_; }

  // Moves to `topLeft`, sizes itself to the calendar, remembers its date, shows itself and gives
  // the calendar the focus.
  void Popup(TPoint topLeft);

  // The calendar's event handlers.
  void Calendar97DateClick() { CloseUp(); }
  void Calendar97KeyEnter() { CloseUp(); }
  void Calendar97KeyCancel();
  void Calendar97KillFocus();

 private:
  void CloseUp();

  TDateLinkEdit97& field_;
  TCalendar97* calendar_;
  OleDate remembered_ = 0;
};

}  // namespace citara
