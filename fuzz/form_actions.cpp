#include "form_actions.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <vector>

#include "core/author_form.h"
#include "core/saved_data.h"
#include "core/source_form.h"
#include "print/print_forms.h"
#include "web/web_forms.h"
#include "widgets/calendar.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"

namespace citara::fuzz {
namespace {

const FormDescription& FormAt(std::size_t i) {
  const auto print = PrintForms();
  return i < print.size() ? *print[i] : *WebForms()[i - print.size()];
}

void Collect(Control& parent, std::vector<Control*>& out) {
  for (Control* c : parent.Children()) {
    out.push_back(c);
    Collect(*c, out);
  }
}

// Lines a host may store that reach the edges of the fields' ranges.
constexpr std::string_view kHostLines[] = {
    "Year:=9223372036854775807", "Year:=0",           "Msg #:=9223372036854775807", "Msg #:=-5",
    "*Date=35796.99999999999",   "*Date=-657434.9999999999", "*Date=-0.9999999999999999",
    "*DateRetrieved=2958465.99999999", "*DateFormat=Year Only", "*DateFormat=Month and Day",
    "*Author0Last=Smith\r\n*Author1Last=Doe", "",
};
constexpr Key kEditingKeys[] = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END,
                                VK_UP,   VK_DOWN,   VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT};
constexpr std::string_view kTyped = "0123456789/:- aZ.";
constexpr std::string_view kClipboard[] = {"", "12/25/1999", "99999999999999999999", "x\r\ny", "Smith"};

class Driver {
 public:
  explicit Driver(const FormDescription& description) : description_(description), form_(description) {
    Collect(form_, controls_);
    for (Control* c : controls_) {
      if (auto* date = dynamic_cast<TDateLinkEdit97*>(c)) dates_.push_back(date);
    }
  }

  // One action; false when a rule broke (in finding_).
  bool Act(std::uint8_t action, std::uint8_t arg) {
    log_ += std::to_string(action % kActions) + ":" + std::to_string(arg) + " ";
    switch (action % kActions) {
      case 0: Keystroke(VK_TAB, ShiftState::None, 0); break;
      case 1: Keystroke(VK_TAB, ShiftState::Shift, 0); break;
      case 2: controls_[arg % controls_.size()]->Click(); break;
      case 3: Keystroke(static_cast<Key>('A' + arg % 26), ShiftState::Alt, 0); break;
      case 4: {
        const char ch = kTyped[arg % kTyped.size()];
        Keystroke(KeyOfChar(static_cast<char32_t>(ch)), ShiftOfChar(static_cast<char32_t>(ch)), static_cast<char32_t>(ch));
        break;
      }
      case 5: Keystroke(kEditingKeys[arg % std::size(kEditingKeys)], ShiftState::None, 0); break;
      case 6: {
        static constexpr Key kClip[] = {'X', 'C', 'V'};
        Keystroke(kClip[arg % 3], ShiftState::Ctrl, 0);
        break;
      }
      case 7:
        if (!dates_.empty()) dates_[arg % dates_.size()]->ClickButton();
        break;
      case 8:
        if (TDtCalPop97* popup = OpenPopup()) {
          TCalendar97& calendar = popup->Calendar();
          if (arg % 4 == 0) calendar.KillFocus();
          else if (arg % 4 == 1) calendar.ClickDay(static_cast<unsigned>(arg % 31) + 1);
          else Keystroke(kEditingKeys[arg % std::size(kEditingKeys)], ShiftState::None, 0);
        }
        break;
      case 9: port_.QueueAnswer(arg % 2 ? DialogResult::Ok : DialogResult::Cancel); break;
      case 10: port_.SetClipboardText(kClipboard[arg % std::size(kClipboard)]); break;
      case 11: form_.Reset(); break;
      case 12: {
        std::string saved;
        if (!Read([&] { saved = form_.SavedData(); })) return false;
        return Put(saved) && Check();
      }
      case 13: return Put(std::string(kHostLines[arg % std::size(kHostLines)])) && Check();
      case 14: return Read([&] { form_.GetMLACitaraInfo(); }) && Read([&] { form_.GetAPACitaraInfo(); });
    }
    return ++sinceCheck_ < kCheckEvery || Check();
  }

  const std::optional<std::string>& Finding() const { return finding_; }

 private:
  static constexpr int kActions = 15;
  static constexpr int kCheckEvery = 16;

  TDtCalPop97* OpenPopup() const {
    for (TDateLinkEdit97* date : dates_) {
      if (date->Popup().Visible()) return &date->Popup();
    }
    return nullptr;
  }

  void Keystroke(Key key, ShiftState shift, char32_t ch) {
    if (TDtCalPop97* popup = OpenPopup()) popup->Keystroke(key, shift, ch);
    else form_.Keystroke(key, shift, ch);
  }

  bool Fail(const std::string& what) {
    finding_ = std::string(description_.className) + ": " + what + "\nactions: " + log_;
    return false;
  }

  // A host's read: no message, and each sub-form shows its first entry under a header naming it.
  template <class F>
  bool Read(F read) {
    const std::size_t before = port_.Dialogs().size();
    read();
    if (port_.Dialogs().size() != before) return Fail("a read showed \"" + port_.Dialogs().back().text + "\"");
    for (TAuthorForm* sub : {form_.AuthorForm(), form_.EditorForm()}) {
      if (!sub) continue;
      const auto count = sub->Contributors().size();
      const std::string header = sub->RoleName() + " 1 of " + std::to_string(std::max<std::size_t>(count, 1));
      if (sub->HeaderLabel().Caption() != header) return Fail("after a read the header is " + sub->HeaderLabel().Caption());
      if (sub->CurrentIndex() != 0) return Fail("after a read the sub-form is not on its first entry");
      if (count > 0 && sub->LastNameEdit().Text() != sub->Contributors()[0].last) return Fail("the first entry is not shown");
    }
    return true;
  }

  bool Put(const std::string& text) {
    try {
      form_.SetSavedData(text);
    } catch (const SavedDataError&) {
      // A host's text may be refused; the form's own must not be.
    }
    return true;
  }

  // The text's lines, but for those that `keep` refuses.
  template <class Keep>
  static std::string Lines(const std::string& text, Keep keep) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find("\r\n", start);
      end = end == std::string::npos ? text.size() : end + 2;
      const std::string_view line(text.data() + start, end - start);
      if (keep(line)) out += line;
      start = end;
    }
    return out;
  }

  // The text without the date edits' lines: a date's display format is not saved (a fresh
  // Newspaper shows "mmmm dd, yyyy" under the same "*DateFormat" that a clicked radio button
  // shows as "mmmm d, yyyy"), so only the day number ("*Date") must read back.
  std::string WithoutDateTexts(const std::string& text) const {
    return Lines(text, [&](std::string_view line) {
      return std::none_of(description_.fields.begin(), description_.fields.end(), [&](const FieldDescription& f) {
        return f.kind == FieldKind::DateEdit && line.starts_with(std::string(f.caption) + "=");
      });
    });
  }

  // Whether `saved` has no line for a field that a fresh form fills with a default text.
  bool BlankDefaultField(const std::string& saved) const {
    return std::any_of(description_.fields.begin(), description_.fields.end(), [&](const FieldDescription& f) {
      const std::string key = std::string(f.caption) + "=";
      return !f.defaultText.empty() && !saved.starts_with(key) && saved.find("\r\n" + key) == std::string::npos;
    });
  }

  bool Check() {
    sinceCheck_ = 0;
    const Control* focused = form_.FocusedControl();
    if (focused == nullptr) return Fail("no control has the focus");
    if (!focused->IsUsable() || !form_.Contains(*focused)) return Fail("the focus is on " + focused->Name() + ", not usable");
    std::string saved, mla, apa;
    if (!Read([&] { saved = form_.SavedData(); })) return false;
    if (!Read([&] { mla = form_.GetMLACitaraInfo(); apa = form_.GetAPACitaraInfo(); })) return false;
    TSourceForm fresh(description_);
    try {
      fresh.SetSavedData(saved);
    } catch (const SavedDataError& e) {
      return Fail(std::string("a fresh form refuses the saved data: ") + e.what() + "\n" + saved);
    }
    // The first round trip reads back the same text, unless a field with a default text was left
    // blank: it writes no line, and a load leaves a field whose line is missing as it was, so the
    // fresh form has its default there ("1" in Msg #, "1998" in Year), and with it the lines and
    // entries made of it. From then on the text reads back to itself.
    const std::string once = fresh.SavedData();
    if (!BlankDefaultField(saved) && WithoutDateTexts(once) != WithoutDateTexts(saved)) {
      return Fail("the saved data reads back as other text:\n" + saved + "\nread back:\n" + once);
    }
    TSourceForm second(description_);
    second.SetSavedData(once);
    const std::string twice = second.SavedData();
    if (WithoutDateTexts(twice) != WithoutDateTexts(once)) {
      return Fail("the saved data reads back as other text:\n" + once + "\nagain:\n" + twice);
    }
    if (second.GetMLACitaraInfo() != fresh.GetMLACitaraInfo() || second.GetAPACitaraInfo() != fresh.GetAPACitaraInfo()) {
      return Fail("a fresh form of the same saved data gives other entries");
    }
    return true;
  }

  HeadlessPlatform port_ = [] {
    HeadlessPlatform port;
    port.SetNow(OleFromCivil({2026, 12, 10}) + 0.6875);  // a clock with a time of day
    return port;
  }();
  ScopedPlatform use_{port_};
  const FormDescription& description_;
  TSourceForm form_;
  std::vector<Control*> controls_;
  std::vector<TDateLinkEdit97*> dates_;
  int sinceCheck_ = 0;
  std::string log_;
  std::optional<std::string> finding_;
};

}  // namespace

FormActionsResult RunFormActions(const std::uint8_t* data, std::size_t size) {
  FormActionsResult result;
  if (size == 0) return result;
  try {
    Driver driver(FormAt(data[0] % 10));
    for (std::size_t i = 1; i + 1 < size; i += 2) {
      ++result.actions;
      if (!driver.Act(data[i], data[i + 1])) {
        result.finding = driver.Finding();
        return result;
      }
    }
  } catch (const std::exception& e) {
    result.finding = std::string("an exception: ") + e.what();
  }
  return result;
}

}  // namespace citara::fuzz
