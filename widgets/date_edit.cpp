#include "widgets/date_edit.h"

#include "widgets/platform.h"

namespace citara {
namespace {

constexpr std::string_view kInvalidDateText = " is not a valid date.  Make sure the format is MM/DD/YYYY";
constexpr int kEndOfEditingText = 10;  // just after "mm/dd/yyyy"

bool IsSeparatorPosition(int caret) { return caret == 2 || caret == 5; }

}  // namespace

// --- TDateLinkEdit97 ---

TDateLinkEdit97::TDateLinkEdit97(std::string name)
    : TFlatLinkEdit(std::move(name)), popup_(&Create<TDtCalPop97>("DtCalPop97", *this)) {
  SetButtonGlyph("CalendarDropDown");
}

OleDate TDateLinkEdit97::Date() const { return popup_->Calendar().Date(); }

void TDateLinkEdit97::SetDate(OleDate date) { popup_->Calendar().SetDate(date); }

void TDateLinkEdit97::ShowDate() {
  if (Focused()) ShowEditingText();
  else ShowDisplayText();
}

void TDateLinkEdit97::ShowDisplayText() { SetText(FormatDate(Date(), dateFormat_)); }

void TDateLinkEdit97::ShowEditingText() { SetText(FormatDate(Date(), kEditingDateFormat)); }

void TDateLinkEdit97::DoEnter() {
  ShowEditingText();
  TFlatLinkEdit::DoEnter();
}

bool TDateLinkEdit97::DoExit() {
  if (!Text().empty()) {
    const std::optional<OleDate> typed = ParseMonthDayYear(Text());
    if (!typed) {
      ReportInvalidDate();
      return false;
    }
    // The text names only a day: the held date keeps its time of day while that day stands.
    if (!(CivilFromOle(*typed) == CivilFromOle(Date()))) SetDate(*typed);
  }
  ShowDisplayText();
  return TFlatLinkEdit::DoExit();
}

bool TDateLinkEdit97::CanExit() const { return Text().empty() || ParseMonthDayYear(Text()).has_value(); }

void TDateLinkEdit97::ReportInvalidDate() {
  if (messageUp_) return;
  messageUp_ = true;
  struct Lower {
    bool& flag;
    ~Lower() { flag = false; }
  } lower{messageUp_};
  CurrentPlatform().ShowMessage(
      {"Error", Text() + std::string(kInvalidDateText), DialogIcon::Error, DialogButtons::Ok});
}

void TDateLinkEdit97::FilterKeyDown(Key& key, ShiftState shift) {
  if (DigitOfKey(key) >= 0) {
    // Overwrite: the digit the key types replaces the character after the caret.
    int caret = SelStart();
    if (IsSeparatorPosition(caret)) ++caret;
    Select(caret, 1);
  } else if (key == VK_BACK) {
    key = VK_LEFT;
  } else if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && !Has(shift, ShiftState::Alt)) {
    key = 0;
  }
}

void TDateLinkEdit97::FilterChar(char32_t& ch) {
  const bool accepted = (ch >= U'0' && ch <= U'9') || ch == U':';
  if (!accepted || SelStart() >= kEndOfEditingText) ch = 0;
}

void TDateLinkEdit97::ButtonClick() {
  if (!Text().empty()) {
    if (const std::optional<OleDate> typed = ParseMonthDayYear(Text())) SetDate(*typed);
    else ShowEditingText();
  }
  const int popupHeight = popup_->Calendar().Bounds().height;
  popup_->Popup(PlacePopup(ScreenRect(), popupHeight, CurrentPlatform().ScreenHeight()));
  TFlatLinkEdit::ButtonClick();
}

void TDateLinkEdit97::PopupClosed() {
  // Taking the focus shows the editing text; when the focused control keeps the focus, the field
  // shows its (new) date as an unfocused field does.
  if (Focused()) ShowEditingText();
  else if (!SetFocus()) ShowDisplayText();
}

TPoint PlacePopup(const TRect& field, int popupHeight, int screenHeight) {
  const int below = field.bottom + 1;
  if (below + popupHeight <= screenHeight) return {field.left, below};
  return {field.left, field.top - 1 - popupHeight};
}

// --- TDtCalPop97 ---

TDtCalPop97::TDtCalPop97(std::string name, TDateLinkEdit97& field)
    : TForm(std::move(name)), field_(field), calendar_(&Create<TCalendar97>("Calendar97")) {
  SetBorderStyle(TBorderStyle::None);
  SetStayOnTop(true);
  SetBounds({0, 0, 191, 148});
  calendar_->SetParent(this);
  calendar_->SetBounds({0, 0, 180, 142});
  CalendarSettings settings;
  settings.showToday = false;
  calendar_->SetSettings(settings);
  calendar_->OnDateClick = [this](Control&) { Calendar97DateClick(); };
  calendar_->OnKeyEnter = [this](Control&) { Calendar97KeyEnter(); };
  calendar_->OnKeyCancel = [this](Control&) { Calendar97KeyCancel(); };
  calendar_->OnKillFocus = [this](Control&) { Calendar97KillFocus(); };
}

void TDtCalPop97::Popup(TPoint topLeft) {
  const TBounds calendar = calendar_->Bounds();
  SetBounds({topLeft.x, topLeft.y, calendar.width, calendar.height});
  remembered_ = calendar_->Date();
  Show();
  FocusControl(calendar_);
}

void TDtCalPop97::Calendar97KeyCancel() {
  calendar_->SetDate(remembered_);
  CloseUp();
}

void TDtCalPop97::Calendar97KillFocus() {
  if (Visible()) CloseUp();
}

void TDtCalPop97::CloseUp() {
  Hide();
  field_.PopupClosed();
}

}  // namespace citara
