// Control: a component that the user sees, with a parent, children, text, colour, hint, state,
// keyboard focus and events.
//
// Children are listed in the order the forms rely on: the non-windowed children (labels, bevels,
// toolbar-style buttons) first, then the windowed ones, each group in the order they were given
// this parent. Focus is tracked by the form at the top of the parent chain (TForm); a control can
// take the focus when it is windowed and it and every parent up to that form are visible and
// enabled. Moving the focus is best effort: SetFocus returns false and changes nothing when the
// control cannot take it.
//
// Event handlers are plain std::function members; a key handler may set the key (or character)
// to 0 to swallow it, so the control's own handling of it does not run.
//
// User simulation (what tests and forms use): TypeText, PressKey and Click act as a user who
// first puts the focus on the control (when it is windowed and not focused yet) and then types or
// clicks; when the control cannot take the focus, nothing happens, as for a real user.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/colors.h"
#include "widgets/component.h"
#include "widgets/geometry.h"
#include "widgets/keys.h"

namespace citara {

class Control;
class TForm;

enum class TAlign { None, Top, Bottom, Left, Right, Client };

// A control's font, with every attribute a host's font object carries.
struct TFont {
  std::string name = "MS Sans Serif";
  int height = -11;  // negative: character height in pixels
  int weight = 400;  // 100 (thin) to 900 (black): 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 1;  // the Windows character set: 0 ANSI, 1 the default, 204 Cyrillic, ...
  friend bool operator==(const TFont&, const TFont&) = default;
};

using NotifyEvent = std::function<void(Control& sender)>;
using KeyEvent = std::function<void(Control& sender, Key& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Control& sender, char32_t& ch)>;

class Control : public Component {
 public:
  explicit Control(std::string name) : Component(std::move(name)) {}
  ~Control() override;

  // --- Parent and children ---
  Control* Parent() const { return parent_; }
  // Moves the control under `parent` (nullptr: no parent). The focus, when inside this control,
  // is dropped from the old form. Precondition: `parent` is not this control or one inside it.
  void SetParent(Control* parent);
  // The children in the forms' child order (non-windowed first, then windowed).
  std::vector<Control*> Children() const;
  // True for controls that are windows of their own and so can hold the focus.
  virtual bool IsWindowed() const { return true; }
  // The form at the top of the parent chain (this control when it is a form without parent), or
  // nullptr when that top is not a form.
  TForm* RootForm() const;
  // True when `other` is this control or lies inside it.
  bool Contains(const Control& other) const;

  // --- Text (the caption of labels, buttons, panels and forms) ---
  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  const std::string& Caption() const { return text_; }
  void SetCaption(std::string caption) { SetText(std::move(caption)); }

  // --- Appearance ---
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }
  // Whether hints pop up over this control: set on it or on any parent.
  bool ShowHint() const { return showHint_ || (parent_ != nullptr && parent_->ShowHint()); }
  void SetShowHint(bool show) { showHint_ = show; }
  TBounds Bounds() const { return bounds_; }
  void SetBounds(TBounds bounds) { bounds_ = bounds; }
  // The size the control was designed at: the layout starts from it, whatever size an earlier
  // layout gave the control.
  TSize DesignSize() const { return designSize_; }
  void SetDesignSize(TSize size) { designSize_ = size; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align) { align_ = align; }
  // The control's own font, or its parent's when it has none of its own.
  const TFont& Font() const;
  void SetFont(TFont font) { font_ = std::move(font); }
  // The control's rectangle on the screen: its bounds moved by every parent's position (a form
  // without parent stands at its screen position).
  TRect ScreenRect() const;

  // --- State ---
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible and enabled, and so is every parent.
  bool IsUsable() const;
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool stop) { tabStop_ = stop; }

  // --- Focus ---
  bool CanFocus() const;
  bool Focused() const;
  // Gives this control the focus; false (and nothing changed) when it cannot take it or the
  // focused control refuses to let it go.
  bool SetFocus();

  // --- Events ---
  KeyEvent OnKeyDown;
  KeyPressEvent OnKeyPress;
  KeyEvent OnKeyUp;
  NotifyEvent OnClick;
  NotifyEvent OnEnter;  // focus gained
  NotifyEvent OnExit;   // focus lost

  // --- User simulation ---
  // Types each code point of UTF-8 `text`: key down, the character, key up.
  void TypeText(std::string_view text);
  // One stroke of `key`: key down, the character it types (Backspace, Enter, Esc, Space, digits,
  // letters; none with Ctrl or Alt), key up.
  void PressKey(Key key, ShiftState shift = ShiftState::None);
  // A mouse click: does nothing unless the control is usable; a windowed control takes the focus
  // first (and is not clicked when it cannot).
  void Click();

  // --- Input entry points (the form delivers keystrokes here; a window port may too) ---
  virtual void KeyDown(Key& key, ShiftState shift);
  virtual void KeyPress(char32_t& ch);
  virtual void KeyUp(Key& key, ShiftState shift);
  // Focus gained; fires OnEnter.
  virtual void DoEnter();
  // Focus about to be lost; fires OnExit. Returning false keeps the focus on this control.
  virtual bool DoExit();
  // Whether DoExit would let the focus go without a word (asks only: changes and shows nothing).
  virtual bool CanExit() const { return true; }
  // Alt + the accelerator of the caption was pressed; returns true when the control acted on it.
  virtual bool AcceleratorPressed() { return false; }

 protected:
  // This control as a form: nullptr here, the form itself in TForm. RootForm asks it on every
  // focus and enabled-state change, where a dynamic_cast would cost more than the change itself.
  virtual TForm* AsForm() { return nullptr; }
  // What a click does once it reaches a usable control; fires OnClick.
  virtual void DoClick();
  // Called after every change of the text.
  virtual void TextChanged() {}

 private:
  void Keystroke(Key key, ShiftState shift, char32_t ch);
  void ForgetFocusInside(bool leavingForm);

  Control* parent_ = nullptr;
  std::vector<Control*> children_;  // in the order they were given this parent
  std::string text_;
  TColor color_ = clBtnFace;
  std::string hint_;
  TBounds bounds_;
  TSize designSize_;
  TAlign align_ = TAlign::None;
  std::optional<TFont> font_;
  bool enabled_ = true;
  bool visible_ = true;
  int tabOrder_ = 0;
  bool tabStop_ = false;
  bool showHint_ = false;
};

// The accelerator of a caption: the character after its first single "&", upper-cased ("Fi&rst"
// -> 'R'); 0 when there is none ("&&" stands for a plain "&").
char32_t AcceleratorOf(std::string_view caption);

// The key a character is typed with (letters and digits their own keys, Space, Tab, Backspace,
// Enter, Esc; VK_PACKET for any other character) and whether Shift is held for it (A..Z).
Key KeyOfChar(char32_t ch);
ShiftState ShiftOfChar(char32_t ch);

// The character a key stroke types, or 0 (see PressKey).
char32_t CharOfKey(Key key, ShiftState shift);

}  // namespace citara
