// The page's view of the model: one source form of any kind, shown as HTML elements by page.js.
//
// The model stays the source of truth. The page builds its elements from Show's description (each
// control with its kind, parent, rectangle, caption, colour and hint), sends the user's input here
// (keys as they go down, the characters they type and the keys as they come up, clicks, focus and
// caret moves, clipboard commands, the calendar's days and month steps) and after every input asks
// Changes() for what the model changed: the controls whose state differs from what it last
// reported, the control holding the focus, the open calendar, the messages the model raised and
// both entries.
//
// Messages: the model asks its platform port and waits for the answer, but a page cannot block
// while its dialog is up. A message with only an OK button is answered OK at once (OK is its only
// answer) and shown afterwards. A message with OK and Cancel is answered Cancel, which by the
// forms' rules changes nothing; the page shows it, and when the user chooses OK the input that
// raised it is run again with OK as the answer. So the model acts exactly as it does for a user
// who answered the dialog while it was up.
//
// Entries and saved data are read from the form's values (ReadValues), never through the form's
// members that tidy its contributor lists, so that asking for them does not move the sub-forms to
// their first entry while the user types.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/csl_json.h"
#include "collection/forms.h"
#include "core/author_form.h"
#include "core/saved_data.h"
#include "core/source_form.h"
#include "core/source_values.h"
#include "widgets/calendar.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/layout.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"
#include "widgets/static_controls.h"
#include "widgets/tool_button.h"
#include "widgets/unicode.h"

namespace citara::browser {
namespace {

using emscripten::val;

// --- The platform port of the page ---

// The headless port with the page's text measure and the page's way of showing messages.
class PagePlatform : public HeadlessPlatform {
 public:
  struct Raised {
    MessageDialog dialog;
    bool replayOnOk = false;  // answered Cancel for now; OK runs the input again
  };

  DialogResult ShowMessage(const MessageDialog& dialog) override {
    if (!answers_.empty()) {
      const DialogResult answer = answers_.front();
      answers_.pop_front();
      return answer;
    }
    const bool question = dialog.buttons == DialogButtons::OkCancel;
    raised_.push_back({dialog, question});
    return question ? DialogResult::Cancel : DialogResult::Ok;
  }

  TSize MeasureText(const TFont& font, std::string_view text) override {
    if (measure_.isUndefined() || measure_.isNull()) return HeadlessPlatform::MeasureText(font, text);
    const val size = measure_(std::string(text), font.height < 0 ? -font.height : font.height, font.weight, font.italic);
    return {size[0].as<int>(), size[1].as<int>()};
  }

  void SetMeasure(val measure) { measure_ = std::move(measure); }
  void Answer(DialogResult answer) { answers_.push_back(answer); }
  void ClearAnswers() { answers_.clear(); }
  std::vector<Raised> TakeRaised() { return std::exchange(raised_, {}); }

 private:
  val measure_ = val::undefined();
  std::deque<DialogResult> answers_;
  std::vector<Raised> raised_;
};

// --- Describing controls ---

std::string CssColor(TColor color) {
  if (color == clBtnFace) return "ButtonFace";
  if (color == clWindow) return "Field";
  if (color & 0x80000000u) return "ButtonFace";  // another system colour: the form's face
  char css[8];
  std::snprintf(css, sizeof css, "#%02x%02x%02x", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  return css;
}

std::string KindName(const Control& c) {
  if (dynamic_cast<const TDtCalPop97*>(&c)) return "popup";
  if (dynamic_cast<const TAuthorForm*>(&c)) return "subform";
  if (dynamic_cast<const TForm*>(&c)) return "form";
  if (dynamic_cast<const TDateLinkEdit97*>(&c)) return "date";
  if (dynamic_cast<const TFlatSpinEdit*>(&c)) return "spin";
  if (dynamic_cast<const TFlatEdit*>(&c)) return "edit";
  if (dynamic_cast<const TRadioButton*>(&c)) return "radio";
  if (dynamic_cast<const TToolButton*>(&c)) return "toolbutton";
  if (dynamic_cast<const TLabel*>(&c)) return "label";
  if (dynamic_cast<const TBevel*>(&c)) return "bevel";
  if (dynamic_cast<const TCalendar97*>(&c)) return "calendar";
  return "panel";
}

std::string AcceleratorText(std::string_view caption) {
  const char32_t accelerator = AcceleratorOf(caption);
  std::string text;
  if (accelerator != 0) AppendUtf8(text, accelerator);
  return text;
}

// What the page's tests and screen readers call a field: its label's caption as shown, without
// the colon after it; in a contributor sub-form, the field's design hint ("Last name").
std::string AccessibleName(const Control& field, const Control* label) {
  for (const Control* p = field.Parent(); p != nullptr; p = p->Parent()) {
    if (dynamic_cast<const TAuthorForm*>(p)) {
      for (const ControlDescription& d : TAuthorForm::Description()) {
        if (d.name == field.Name()) return std::string(d.hint);
      }
    }
  }
  std::string name = ShownCaption(label ? label->Caption() : field.Caption());
  while (!name.empty() && (name.back() == ':' || name.back() == ' ')) name.pop_back();
  return name;
}

// The JSON of what changes after every input, written straight into one text: the general JSON
// values' nodes and their clean-ups cost more than the model's whole response to a keystroke.
class JsonText {
 public:
  JsonText& Open(char bracket) {
    Separate();
    out_ += bracket;
    first_ = true;
    return *this;
  }
  JsonText& Close(char bracket) {
    out_ += bracket;
    first_ = false;
    return *this;
  }
  JsonText& Key(std::string_view key) {
    Separate();
    String(key);
    out_ += ':';
    first_ = true;
    return *this;
  }
  JsonText& Value(std::string_view text) {
    Separate();
    String(text);
    return *this;
  }
  JsonText& Value(const char* text) { return Value(std::string_view(text)); }
  JsonText& Value(const std::string& text) { return Value(std::string_view(text)); }
  JsonText& Value(long long number) {
    Separate();
    out_ += std::to_string(number);
    return *this;
  }
  JsonText& Value(int number) { return Value(static_cast<long long>(number)); }
  JsonText& Value(unsigned number) { return Value(static_cast<long long>(number)); }
  JsonText& Value(std::size_t number) { return Value(static_cast<long long>(number)); }
  JsonText& Value(bool value) {
    Separate();
    out_ += value ? "true" : "false";
    return *this;
  }
  JsonText& Null() {
    Separate();
    out_ += "null";
    return *this;
  }
  // A JSON text written elsewhere, as one value.
  JsonText& Raw(std::string_view json) {
    Separate();
    out_ += json;
    return *this;
  }
  template <class T>
  JsonText& Field(std::string_view key, const T& value) {
    Key(key);
    return Value(value);
  }
  std::string& Text() { return out_; }

  // Continues a JSON object written elsewhere: more fields go in before its closing brace.
  static JsonText Extending(std::string object) {
    JsonText t;
    object.pop_back();
    t.out_ = std::move(object);
    t.first_ = false;
    return t;
  }

 private:
  void Separate() {
    if (!first_) out_ += ',';
    first_ = false;
  }
  void String(std::string_view text) {
    out_ += '"';
    for (const char c : text) {
      const auto u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        out_ += '\\';
        out_ += c;
      } else if (u < 0x20) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", u);
        out_ += escape;
      } else {
        out_ += c;
      }
    }
    out_ += '"';
  }

  std::string out_;
  bool first_ = true;
};

void WriteEntry(JsonText& out, std::string_view key, const Citation& c) {
  const std::string_view text = c.text;
  out.Key(key).Open('{');
  out.Field("before", text.substr(0, c.italicBegin));
  out.Field("italic", text.substr(c.italicBegin, c.italicEnd - c.italicBegin));
  out.Field("after", text.substr(c.italicEnd));
  out.Close('}');
}


// The style names the page and citara take, and their rules.
EntryRule FormDescription::*RuleOf(std::string_view style) {
  if (EqualsIgnoringAsciiCase(style, "mla")) return &FormDescription::mla;
  if (EqualsIgnoringAsciiCase(style, "apa")) return &FormDescription::apa;
  if (EqualsIgnoringAsciiCase(style, "mla9")) return &FormDescription::mla9;
  if (EqualsIgnoringAsciiCase(style, "apa7")) return &FormDescription::apa7;
  throw std::invalid_argument("unknown style \"" + std::string(style) + "\" (mla, apa, mla9 or apa7)");
}

bool LooksLikeJson(std::string_view text) {
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '[' || c == '{';
  }
  return false;
}

// What the page was last told of a control: Changes() compares the control with it field by
// field, so an input that changes one control costs the JSON of that control only.
struct ReportedState {
  bool known = false;
  std::string text, caption, hint, image;
  TColor color = 0;
  TBounds bounds;
  bool enabled = false, visible = false, usable = false, checked = false, showHint = false;
  int selStart = 0, selLength = 0;

  // The control as its kinds, found once.
  const TRadioButton* radio = nullptr;
  const TFlatEdit* edit = nullptr;
  const TToolButton* button = nullptr;

  explicit ReportedState(const Control& c)
      : radio(dynamic_cast<const TRadioButton*>(&c)),
        edit(dynamic_cast<const TFlatEdit*>(&c)),
        button(dynamic_cast<const TToolButton*>(&c)) {}

  bool Matches(const Control& c) const {
    if (!known || c.Bounds() != bounds || c.Enabled() != enabled || c.Visible() != visible || c.IsUsable() != usable ||
        c.Color() != color || c.ShowHint() != showHint || c.Text() != text || c.Caption() != caption || c.Hint() != hint) {
      return false;
    }
    if (radio && radio->Checked() != checked) return false;
    if (edit && (edit->SelStart() != selStart || edit->SelLength() != selLength)) return false;
    return !button || button->CurrentImage() == image;
  }
  void Take(const Control& c) {
    known = true;
    bounds = c.Bounds();
    enabled = c.Enabled();
    visible = c.Visible();
    usable = c.IsUsable();
    color = c.Color();
    showHint = c.ShowHint();
    text = c.Text();
    caption = c.Caption();
    hint = c.Hint();
    if (radio) checked = radio->Checked();
    if (edit) {
      selStart = edit->SelStart();
      selLength = edit->SelLength();
    }
    if (button) image = button->CurrentImage();
  }
};

// What the entries read beyond the controls' states, as last reported: the stored contributors
// and the date fields' dates.
struct ReportedValues {
  bool known = false;
  ContributorList authors, editors;
  std::vector<OleDate> dates;

  static const ContributorList& Of(const TAuthorForm* sub) {
    static const ContributorList none;
    return sub ? sub->Contributors() : none;
  }
  bool Matches(const TSourceForm& form) const {
    if (!known || Of(form.AuthorForm()) != authors || Of(form.EditorForm()) != editors) return false;
    std::size_t i = 0;
    for (const FieldDescription& f : form.Description().fields) {
      if (f.kind == FieldKind::DateEdit && (i >= dates.size() || form.DateField(f.name).Date() != dates[i++])) return false;
    }
    return i == dates.size();
  }
  void Take(const TSourceForm& form) {
    known = true;
    authors = Of(form.AuthorForm());
    editors = Of(form.EditorForm());
    dates.clear();
    for (const FieldDescription& f : form.Description().fields) {
      if (f.kind == FieldKind::DateEdit) dates.push_back(form.DateField(f.name).Date());
    }
  }
};

// --- The page's form ---

class Page {
 public:
  explicit Page(val measure) {
    port_.SetMeasure(std::move(measure));
    SetDefaultPlatform(&port_);
  }
  ~Page() { SetDefaultPlatform(nullptr); }

  std::string Forms() const {
    JsonText names;
    names.Open('[');
    for (const FormDescription* f : AllForms()) names.Value(f->className);
    return std::move(names.Close(']').Text());
  }

  // Builds a fresh form of `kind`, lays it out and describes every control (JSON).
  std::string Show(const std::string& kind) {
    const FormDescription* description = FindForm(kind);
    if (!description) throw std::invalid_argument("unknown form \"" + kind + "\" (" + FormNames() + ")");
    controls_.clear();
    popups_.clear();
    reported_.clear();
    reportedValues_ = {};
    entriesShown_ = false;
    port_.TakeRaised();
    port_.ClearAnswers();
    replay_ = nullptr;
    form_.reset();
    form_ = std::make_unique<TSourceForm>(*description);
    size_ = LayOutForm(*form_, {description->width, description->height});
    Collect(*form_);
    for (const Control* c : controls_) reported_.emplace_back(*c);
    JsonText out;
    out.Open('{').Field("kind", description->className).Field("caption", form_->Caption());
    out.Field("width", size_.width).Field("height", size_.height).Key("controls").Open('[');
    for (std::size_t i = 0; i < controls_.size(); ++i) out.Raw(Describe(i));
    return std::move(out.Close(']').Close('}').Text());
  }

  // What changed since the last call (JSON): {controls: [state...], focus, popup, dialogs, mla, apa};
  // the entries only when a control changed or a message came up (null otherwise: as before).
  std::string Changes() {
    JsonText out;
    out.Open('{').Key("controls").Open('[');
    bool any = false;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      if (reported_[i].Matches(*controls_[i])) continue;
      reported_[i].Take(*controls_[i]);
      out.Raw(State(i));
      any = true;
    }
    out.Close(']');
    out.Field("focus", IdOf(FocusedMain()));
    out.Key("popup").Raw(PopupState());
    out.Key("dialogs").Open('[');
    for (const PagePlatform::Raised& r : port_.TakeRaised()) {
      out.Open('{');
      out.Field("caption", r.dialog.caption).Field("text", r.dialog.text);
      out.Field("icon", r.dialog.icon == DialogIcon::Error ? "error" : "confirmation");
      out.Key("buttons").Open('[').Value("OK");
      if (r.dialog.buttons == DialogButtons::OkCancel) out.Value("Cancel");
      out.Close(']').Close('}');
      if (r.replayOnOk) pendingReplay_ = replay_;
      any = true;
    }
    out.Close(']');
    // The entries read more than the controls show: the stored contributors and the dates.
    if (!reportedValues_.Matches(*form_)) {
      reportedValues_.Take(*form_);
      any = true;
    }
    if (any || !entriesShown_) {
      const SourceValues values = ReadValues(*form_);
      WriteEntry(out, "mla", values.Form().mla(values));
      WriteEntry(out, "apa", values.Form().apa(values));
      entriesShown_ = true;
    } else {
      out.Key("mla").Null().Key("apa").Null();
    }
    out.Close('}');
    return std::move(out.Text());
  }

  // --- Input ---
  void KeyDown(int key, int shift) {
    Run([=, this] {
      const auto s = static_cast<ShiftState>(shift);
      const bool alt = Has(s, ShiftState::Alt), ctrl = Has(s, ShiftState::Ctrl);
      if (alt && !ctrl) {
        // Alt + a letter or digit: the control whose caption has that accelerator.
        if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) form_->Keystroke(static_cast<Key>(key), s, 0);
        return;
      }
      Control* target = KeyTarget();
      if (!target) return;
      Key down = static_cast<Key>(key);
      target->KeyDown(down, s);
      if (down == VK_TAB && !ctrl && !alt) {
        if (TForm* root = target->RootForm()) root->SelectNext(!Has(s, ShiftState::Shift));
      }
    });
  }

  void KeyChar(int code) {
    Run([=, this] {
      char32_t ch = static_cast<char32_t>(code);
      // Tab moved the focus as its key went down; Ctrl + a letter types nothing.
      if (ch == U'\t' || (ch < 0x20 && ch != U'\b' && ch != U'\r' && ch != 0x1B)) return;
      Control* target = KeyTarget();
      if (!target) target = form_.get();
      target->KeyPress(ch);
    });
  }

  void KeyUp(int key, int shift) {
    Run([=, this] {
      Control* target = KeyTarget();
      if (!target) return;
      Key up = static_cast<Key>(key);
      target->KeyUp(up, static_cast<ShiftState>(shift));
    });
  }

  // A click on a radio button, a glyph button, a date field's button or a spin edit's buttons
  // (part "button", "up", "down"; "" for the control itself).
  void Click(int id, const std::string& part) {
    Run([=, this] {
      Control* c = At(id);
      if (!c) return;
      if (part == "button") {
        if (auto* date = dynamic_cast<TDateLinkEdit97*>(c)) date->ClickButton();
      } else if (part == "up" || part == "down") {
        if (auto* spin = dynamic_cast<TFlatSpinEdit*>(c); spin && spin->IsUsable()) {
          part == "up" ? spin->StepUp() : spin->StepDown();
        }
      } else {
        c->Click();
      }
    });
  }

  // The user put the focus on a control (by the mouse, or the page's own tab stop).
  void Focus(int id) {
    Run([=, this] {
      if (Control* c = At(id); c && !c->Focused()) c->SetFocus();
    });
  }

  // The caret or selection of an edit, moved by the mouse (in code points).
  void Select(int id, int start, int length) {
    Run([=, this] {
      if (auto* edit = dynamic_cast<TFlatEdit*>(At(id)); edit && edit->Focused()) edit->Select(start, length);
    });
  }

  // Cut, copy, paste and delete of the page's edit menu and keys: the model's clipboard commands
  // on the port's clipboard, which the page fills from (and copies to) the browser's. Returns the
  // port's clipboard text afterwards.
  std::string Edit(int id, const std::string& command, const std::string& clipboard) {
    Run([=, this] {
      auto* edit = dynamic_cast<TFlatEdit*>(At(id));
      if (!edit || !edit->IsUsable()) return;
      if (!edit->Focused()) edit->SetFocus();
      if (command == "cut") edit->CutToClipboard();
      else if (command == "copy") edit->CopyToClipboard();
      else if (command == "paste") {
        port_.SetClipboardText(clipboard);
        edit->PasteFromClipboard();
      }
      // A change made by a command counts as a key release, so that what stores typed text (the
      // contributor sub-form's fields) stores it too.
      Key none = 0;
      edit->KeyUp(none, ShiftState::None);
    });
    return port_.ClipboardText();
  }

  // --- The open calendar ---
  void CalendarDay(int day) {
    Run([=, this] {
      if (TCalendar97* c = OpenCalendar()) c->ClickDay(static_cast<unsigned>(day));
    });
  }
  void CalendarStep(int step) {
    Run([=, this] {
      if (TCalendar97* c = OpenCalendar()) {
        const OleDate next = StepMonth(c->Date(), step < 0 ? -1 : 1);
        if (next != c->Date()) c->SetDate(next);
      }
    });
  }
  // The calendar lost the focus to something outside it.
  void CalendarKillFocus() {
    Run([this] {
      if (TCalendar97* c = OpenCalendar()) c->KillFocus();
    });
  }

  // The user's answer to the last message (0 OK, 1 Cancel).
  void Answer(int answer) {
    std::function<void()> replay = std::exchange(pendingReplay_, nullptr);
    if (answer != 0 || !replay) return;
    port_.Answer(DialogResult::Ok);
    replay();
    port_.ClearAnswers();
  }

  // --- Data ---
  std::string SavedData() const { return SavedDataText(ReadValues(*form_)); }

  // Loads a saved-data text; "" on success, otherwise the message (the form is left as it was).
  std::string SetSavedData(const std::string& text) {
    try {
      form_->SetSavedData(text);
      return {};
    } catch (const SavedDataError& e) {
      return e.what();
    }
  }

  // Loads a saved-data text or a CSL-JSON document (its first item, shown in the form of its
  // kind). JSON: {ok, message, kind} where kind is the form now shown.
  std::string Load(const std::string& text) {
    const auto result = [](bool ok, std::string_view message, std::string_view kind, std::string_view form = {}) {
      JsonText out;
      out.Open('{').Field("ok", ok).Field("message", message).Field("kind", kind);
      if (!form.empty()) out.Key("form").Raw(form);
      return std::move(out.Close('}').Text());
    };
    const std::string kind(form_->Description().className);
    if (!LooksLikeJson(text)) {
      const std::string message = SetSavedData(text);
      return result(message.empty(), message, kind);
    }
    std::optional<SourceValues> first;
    std::string bad;
    try {
      ReadCslJson(
          text, CurrentPlatform().Now(),
          [&](CslImportedItem& item) {
            if (!first) first = std::move(item.values);
          },
          [&](std::size_t, const std::string& message) {
            if (bad.empty()) bad = message;
          });
    } catch (const CslJsonError& e) {
      bad = e.what();
      first.reset();  // read before the fault: nothing of a broken document is loaded
    }
    if (!first) return result(false, bad.empty() ? std::string("the CSL-JSON holds no items") : bad, kind);
    std::string form;
    if (&first->Form() != &form_->Description()) {
      // A source of another kind: that kind's form, fresh, which the page builds anew.
      form = Show(std::string(first->Form().className));
    }
    ApplyValues(*form_, *first);
    form_->FocusFirstField();
    return result(true, "", form_->Description().className, form);
  }

  std::string CslJson() const {
    CslArrayWriter writer;
    std::string out;
    writer.Add(out, ReadValues(*form_), "citara-1");
    writer.Finish(out);
    return out;
  }

  // The entry `citara entry --style STYLE --format FORMAT` prints for the form's saved data.
  std::string Entry(const std::string& style, const std::string& format) const {
    const SourceValues values = ReadValues(*form_);
    const Citation c = (values.Form().*RuleOf(style))(values);
    if (EqualsIgnoringAsciiCase(format, "text")) return c.text;
    if (EqualsIgnoringAsciiCase(format, "marked")) return CitationToMarked(c);
    if (EqualsIgnoringAsciiCase(format, "rtf")) return CitationToRtf(c);
    throw std::invalid_argument("unknown format \"" + format + "\" (rtf, text or marked)");
  }

  // The required-field check without its message (JSON {ok, message, field}).
  std::string Validate() const {
    const TFlatEdit* blank = FirstBlankRequiredField(*form_);
    JsonText out;
    out.Open('{').Field("ok", !blank).Field("message", blank ? kRequiredFieldsMessage : std::string_view());
    if (blank) out.Field("field", IdOf(blank));
    return std::move(out.Close('}').Text());
  }

  // The form's own check: its message and the focus on the first blank field.
  bool CheckRequiredFields() {
    // The input may be run again later (see Answer), so its result goes into the page, not into
    // a local of this call.
    Run([this] { checkPassed_ = citara::CheckRequiredFields(*form_); });
    return checkPassed_;
  }

  // An error message of the last failed call that threw (embind passes exceptions as numbers).
  static std::string ErrorMessage(std::intptr_t pointer) { return reinterpret_cast<std::exception*>(pointer)->what(); }

 private:
  void Run(std::function<void()> input) {
    if (!form_) return;
    replay_ = input;
    input();
  }

  void Collect(Control& c) {
    controls_.push_back(&c);
    for (Control* child : c.Children()) Collect(*child);
    if (auto* date = dynamic_cast<TDateLinkEdit97*>(&c)) {
      popups_.push_back(&date->Popup());
      Collect(date->Popup());
    }
  }

  Control* At(int id) const {
    return id >= 0 && static_cast<std::size_t>(id) < controls_.size() ? controls_[static_cast<std::size_t>(id)] : nullptr;
  }
  int IdOf(const Control* c) const {
    const auto it = std::find(controls_.begin(), controls_.end(), c);
    return c && it != controls_.end() ? static_cast<int>(it - controls_.begin()) : -1;
  }

  TDtCalPop97* OpenPopup() const {
    for (TDtCalPop97* popup : popups_) {
      if (popup->Visible()) return popup;
    }
    return nullptr;
  }
  TCalendar97* OpenCalendar() const {
    TDtCalPop97* popup = OpenPopup();
    return popup ? &popup->Calendar() : nullptr;
  }
  Control* KeyTarget() const {
    if (TDtCalPop97* popup = OpenPopup()) return popup->FocusedControl();
    return form_->FocusedControl();
  }
  Control* FocusedMain() const {
    if (TDtCalPop97* popup = OpenPopup()) return popup->FocusedControl();
    return form_->FocusedControl();
  }

  // A control: its state and what never changes (JSON).
  std::string Describe(std::size_t i) const {
    const Control& c = *controls_[i];
    JsonText d = JsonText::Extending(State(i));
    d.Field("name", c.Name());
    d.Field("kind", KindName(c));
    d.Field("parent", IdOf(c.Parent()));
    d.Field("tabOrder", c.TabOrder());
    d.Field("tabStop", c.TabStop());
    d.Field("accelerator", AcceleratorText(c.Caption()));
    d.Field("fontSize", c.Font().height < 0 ? -c.Font().height : c.Font().height);
    d.Field("bold", c.Font().weight >= 700);
    if (const auto* label = dynamic_cast<const TLabel*>(&c)) {
      d.Field("for", IdOf(label->FocusControl()));
      d.Field("align", label->Alignment() == TTextAlignment::Right ? "right"
                   : label->Alignment() == TTextAlignment::Center ? "center" : "left");
    }
    if (const auto* edit = dynamic_cast<const TFlatEdit*>(&c)) {
      d.Field("maxLength", edit->MaxLength());
      const TLabel* label = nullptr;
      for (Control* other : controls_) {
        if (auto* l = dynamic_cast<TLabel*>(other); l && l->FocusControl() == &c) label = l;
      }
      d.Field("label", IdOf(label));
      d.Field("accessibleName", AccessibleName(c, label));
    }
    if (const auto* button = dynamic_cast<const TToolButton*>(&c)) d.Field("default", button->Default());
    if (const auto* sub = dynamic_cast<const TAuthorForm*>(&c)) d.Field("role", sub->RoleName());
    if (const auto* date = dynamic_cast<const TDateLinkEdit97*>(&c)) d.Field("popup", IdOf(&date->Popup()));
    if (const auto* popup = dynamic_cast<const TDtCalPop97*>(&c)) {
      const CalendarSettings& s = popup->Calendar().Settings();
      d.Key("dayNames").Open('[');
      // Monday-first names, turned to start at the week's first day.
      const int first = (static_cast<int>(s.weekStart) + 6) % 7;
      for (int k = 0; k < 7; ++k) d.Value(s.dayNames[static_cast<std::size_t>((first + k) % 7)]);
      d.Close(']');
    }
    return std::move(d.Close('}').Text());
  }

  // A control's changing state as a JSON object.
  std::string State(std::size_t i) const {
    const Control& c = *controls_[i];
    const TBounds b = c.Bounds();
    JsonText s;
    s.Open('{').Field("id", i);
    s.Key("bounds").Open('[').Value(b.left).Value(b.top).Value(b.width).Value(b.height).Close(']');
    s.Field("text", c.Text()).Field("caption", ShownCaption(c.Caption()));
    s.Field("hint", c.ShowHint() ? std::string_view(c.Hint()) : std::string_view());
    s.Field("color", CssColor(c.Color())).Field("enabled", c.Enabled()).Field("visible", c.Visible());
    s.Field("usable", c.IsUsable());
    if (const auto* radio = dynamic_cast<const TRadioButton*>(&c)) s.Field("checked", radio->Checked());
    if (const auto* edit = dynamic_cast<const TFlatEdit*>(&c)) {
      s.Key("selection").Open('[').Value(edit->SelStart()).Value(edit->SelLength()).Close(']');
    }
    if (const auto* button = dynamic_cast<const TToolButton*>(&c)) s.Field("image", button->CurrentImage());
    s.Close('}');
    return std::move(s.Text());
  }

  // The open calendar (JSON), or null.
  std::string PopupState() const {
    TDtCalPop97* popup = OpenPopup();
    if (!popup) return "null";
    const TCalendar97& calendar = popup->Calendar();
    const CivilDate day = CivilFromOle(calendar.Date());
    const MonthGrid grid = GridOf(calendar.Date(), calendar.Settings().weekStart);
    const TRect at = popup->ScreenRect();
    JsonText s;
    s.Open('{').Field("id", IdOf(popup));
    s.Key("bounds").Open('[').Value(at.left).Value(at.top).Value(at.Width()).Value(at.Height()).Close(']');
    s.Field("year", day.year).Field("month", day.month).Field("monthName", calendar.Settings().monthNames[day.month - 1]);
    s.Field("day", day.day).Field("firstCell", grid.firstCell).Field("days", grid.days);
    s.Close('}');
    return std::move(s.Text());
  }

  PagePlatform port_;
  std::unique_ptr<TSourceForm> form_;
  TSize size_;
  std::vector<Control*> controls_;  // every control by id: the form's tree, each date field's pop-up after it
  std::vector<TDtCalPop97*> popups_;
  std::vector<ReportedState> reported_;  // by id
  ReportedValues reportedValues_;
  bool entriesShown_ = false;  // the entries went out with the state now reported
  std::function<void()> replay_, pendingReplay_;
  bool checkPassed_ = true;
};

}  // namespace
}  // namespace citara::browser

EMSCRIPTEN_BINDINGS(citara_page) {
  using citara::browser::Page;
  emscripten::class_<Page>("Page")
      .constructor<emscripten::val>()
      .function("forms", &Page::Forms)
      .function("show", &Page::Show)
      .function("changes", &Page::Changes)
      .function("keyDown", &Page::KeyDown)
      .function("keyChar", &Page::KeyChar)
      .function("keyUp", &Page::KeyUp)
      .function("click", &Page::Click)
      .function("focus", &Page::Focus)
      .function("select", &Page::Select)
      .function("edit", &Page::Edit)
      .function("calendarDay", &Page::CalendarDay)
      .function("calendarStep", &Page::CalendarStep)
      .function("calendarKillFocus", &Page::CalendarKillFocus)
      .function("answer", &Page::Answer)
      .function("savedData", &Page::SavedData)
      .function("setSavedData", &Page::SetSavedData)
      .function("load", &Page::Load)
      .function("cslJson", &Page::CslJson)
      .function("entry", &Page::Entry)
      .function("validate", &Page::Validate)
      .function("checkRequiredFields", &Page::CheckRequiredFields)
      .class_function("errorMessage", &Page::ErrorMessage);
}
