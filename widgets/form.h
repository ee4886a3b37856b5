// TForm: the top of a tree of controls. It owns the components built on it, tracks which of its
// controls holds the keyboard focus and routes keystrokes to it.
//
// A form starts hidden, as windows do: Show() makes it visible and runs DoShow (OnShow), after
// which its controls can take the focus. A form may itself be placed in another form's panel (the
// contributor sub-form is); the focus of all its controls is then tracked by the top form.
//
//   TForm form("Book");
//   auto& title = form.Create<TFlatEdit>("TitleEdit");
//   title.SetParent(&form);
//   form.Show();
//   title.TypeText("war and peace");   // focuses the field, then types
//   form.PressKey(VK_TAB);             // the next control in tab order takes the focus
#pragma once

#include <string>

#include <span>

#include "widgets/control.h"
#include "widgets/layout.h"

namespace citara {

enum class TBorderStyle { None, Single, Sizeable };

class TForm : public Control {
 public:
  explicit TForm(std::string name);
  ~TForm() override;

  // --- Showing ---
  // Makes the form visible, runs DoShow, then gives the focus to the active control chosen at
  // design (when nothing has it yet).
  void Show();
  // Hides the form; the focus is dropped without exit events (the window goes away).
  void Hide();
  NotifyEvent OnShow;

  // The form's regions that hold rows of fields, for the layout step (layout.h); none by default.
  virtual std::span<const RegionRows> RowRegions() const { return {}; }

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style) { borderStyle_ = style; }
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool onTop) { stayOnTop_ = onTop; }

  // --- Focus ---
  // The control holding the focus in this form's tree (nullptr when none). For a form placed
  // inside another form, the top form's focused control.
  Control* FocusedControl() const;
  // Moves the focus to `target` (nullptr: to no control). The focused control's DoExit runs first
  // and may refuse; then the target's DoEnter runs. Returns whether `target` holds the focus now.
  bool FocusControl(Control* target);
  // The control that takes the focus when the form is shown; focused at once when possible.
  void SetActiveControl(Control* control);
  // Moves the focus to the next (or previous) control in tab order, wrapping around. Tab order:
  // depth-first over windowed children sorted by TabOrder, usable tab stops only.
  bool SelectNext(bool forward = true);
  // The usable tab stops in tab order.
  std::vector<Control*> TabStops() const;
  // Drops the focus (without exit events) when it lies inside `subtree`; when the subtree leaves
  // the form, also the active control chosen for the next Show.
  void ForgetFocusInside(const Control& subtree, bool leavingForm);

  // --- Keyboard ---
  // Delivers one keystroke to the focused control: key down; then an unswallowed Tab moves the
  // focus, an unswallowed Alt+key presses the control whose caption has that accelerator, and
  // otherwise the character `ch` (when not 0) goes to the focused control; key up goes to
  // whichever control holds the focus then. Nothing happens when no control has the focus.
  void Keystroke(Key key, ShiftState shift, char32_t ch);

 protected:
  virtual void DoShow();
  TForm* AsForm() override { return this; }

 private:
  bool PressAccelerator(Key key);

  Control* focused_ = nullptr;
  Control* activeAtShow_ = nullptr;
  TBorderStyle borderStyle_ = TBorderStyle::Sizeable;
  bool stayOnTop_ = false;
};

}  // namespace citara
