// The platform port: the few services of the operating system that the component model uses.
//
// Each thread has its current port, since every control lives on the thread that made it: the one
// it installed (ScopedPlatform), else the process's default port, which a library may set once
// (the Windows servers set their Win32 port), else a headless port of the thread's own (on Linux,
// in the command-line tool and in tests). Tests install their own HeadlessPlatform for a scope,
// queue the answers to the dialogs they expect and read back every dialog shown:
//
//   HeadlessPlatform port;
//   ScopedPlatform use(port);
//   port.QueueAnswer(DialogResult::Cancel);
//   ... click Delete ...
//   port.Dialogs().back().text == "Are you sure you want to delete this Author from the list?"
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/control.h"
#include "widgets/dates.h"
#include "widgets/geometry.h"

namespace citara {

enum class DialogIcon { Error, Confirmation };
enum class DialogButtons { Ok, OkCancel };
enum class DialogResult { Ok, Cancel };

// A modal message dialog, centred on the screen, without help.
struct MessageDialog {
  std::string caption;
  std::string text;
  DialogIcon icon = DialogIcon::Error;
  DialogButtons buttons = DialogButtons::Ok;
  friend bool operator==(const MessageDialog&, const MessageDialog&) = default;
};

// A fixed text measure for a port without a screen: every code point is `advance` pixels wide and
// a line `lineHeight` pixels high, at a font of character height `fontHeight`; other heights scale
// both in proportion (rounded up). The headless port's default measure is {5, 13, 11}: the form's
// "MS Sans Serif" of height -11 is about 5 pixels a character and 13 a line.
struct TextMetric {
  int advance = 5;
  int lineHeight = 13;
  int fontHeight = 11;
  TSize Measure(const TFont& font, std::string_view text) const;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Shows the dialog modally and returns the button the user chose.
  virtual DialogResult ShowMessage(const MessageDialog& dialog) = 0;

  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(std::string_view text) = 0;

  // The local date and time now, as an automation date.
  virtual OleDate Now() = 0;

  // The height of the screen in pixels (drop-downs open upwards near its bottom).
  virtual int ScreenHeight() = 0;

  // How long a hint stays up, in milliseconds; shared by every control of the process.
  virtual int HintHidePause() = 0;
  virtual void SetHintHidePause(int milliseconds) = 0;

  // The model moved the keyboard focus to `control` (nullptr: to no control of that form). A
  // window port moves the real focus; the headless port has nothing to do.
  virtual void FocusChanged(Control* control) { (void)control; }

  // The size of one line of `text` (UTF-8, shown as it stands: no accelerator marks) drawn in
  // `font`: the layout places every control from these sizes. A window port measures with the
  // very font its windows draw with; this default answers with the headless TextMetric.
  virtual TSize MeasureText(const TFont& font, std::string_view text);

  // One character in upper case (a..z always become A..Z).
  virtual char32_t UpperCase(char32_t ch);

  // The full month name, 1 = "January". Citara writes English month names on every machine.
  virtual std::string_view MonthName(unsigned month);
};

// The calling thread's current port.
Platform& CurrentPlatform();
// Sets the port of every thread that has installed none of its own (nullptr: each thread's own
// headless port). A port set here is used by many threads at once and keeps no state of one.
void SetDefaultPlatform(Platform* port);

// Installs a port as the calling thread's for the lifetime of this object, then puts the previous
// one back.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& port);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

// The port without windows. Dialogs take their answers from a queue (when it is empty, the
// first button: OK) and are all recorded; the clipboard is a text held here; the clock is the
// machine's local clock until a test fixes it.
class HeadlessPlatform : public Platform {
 public:
  DialogResult ShowMessage(const MessageDialog& dialog) override;
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override { clipboard_ = text; }
  OleDate Now() override;
  int ScreenHeight() override { return screenHeight_; }
  int HintHidePause() override { return hintHidePause_; }
  void SetHintHidePause(int milliseconds) override { hintHidePause_ = milliseconds; }
  TSize MeasureText(const TFont& font, std::string_view text) override { return metric_.Measure(font, text); }

  // --- Test controls ---
  void SetTextMetric(TextMetric metric) { metric_ = metric; }
  void QueueAnswer(DialogResult answer) { answers_.push_back(answer); }
  const std::vector<MessageDialog>& Dialogs() const { return dialogs_; }
  void SetNow(OleDate now) { fixedNow_ = now; hasFixedNow_ = true; }
  void SetScreenHeight(int pixels) { screenHeight_ = pixels; }

 private:
  std::deque<DialogResult> answers_;
  std::vector<MessageDialog> dialogs_;
  std::string clipboard_;
  OleDate fixedNow_ = 0;
  bool hasFixedNow_ = false;
  int screenHeight_ = 768;
  int hintHidePause_ = 2500;  // the platform's usual default
  TextMetric metric_;
};

// The local date and time of the machine's clock as an automation date.
OleDate LocalNow();

}  // namespace citara
