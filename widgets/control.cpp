#include "widgets/control.h"

#include <algorithm>
#include <stdexcept>

#include "widgets/form.h"
#include "widgets/unicode.h"

namespace citara {

Control::~Control() {
  DestroyComponents();
  SetParent(nullptr);
  for (Control* child : children_) child->parent_ = nullptr;
}

void Control::SetParent(Control* parent) {
  if (parent == parent_) return;
  if (parent != nullptr && Contains(*parent)) throw std::logic_error("a control cannot be placed inside itself");
  if (parent_ != nullptr) {
    ForgetFocusInside(/*leavingForm=*/true);
    std::erase(parent_->children_, this);
  }
  parent_ = parent;
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

std::vector<Control*> Control::Children() const {
  std::vector<Control*> ordered;
  ordered.reserve(children_.size());
  for (Control* c : children_) {
    if (!c->IsWindowed()) ordered.push_back(c);
  }
  for (Control* c : children_) {
    if (c->IsWindowed()) ordered.push_back(c);
  }
  return ordered;
}

TForm* Control::RootForm() const {
  const Control* top = this;
  while (top->parent_ != nullptr) top = top->parent_;
  return const_cast<Control*>(top)->AsForm();
}

bool Control::Contains(const Control& other) const {
  for (const Control* c = &other; c != nullptr; c = c->parent_) {
    if (c == this) return true;
  }
  return false;
}

void Control::SetText(std::string text) {
  text_ = std::move(text);
  TextChanged();
}

const TFont& Control::Font() const {
  static const TFont kDefault;
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (c->font_) return *c->font_;
  }
  return kDefault;
}

TRect Control::ScreenRect() const {
  int left = bounds_.left, top = bounds_.top;
  for (const Control* p = parent_; p != nullptr; p = p->parent_) {
    left += p->bounds_.left;
    top += p->bounds_.top;
  }
  return {left, top, left + bounds_.width, top + bounds_.height};
}

void Control::SetEnabled(bool enabled) {
  // Nothing inside a disabled control can hold the focus, so only a change to disabled drops it.
  const bool disabling = enabled_ && !enabled;
  enabled_ = enabled;
  if (disabling) ForgetFocusInside(/*leavingForm=*/false);
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (!visible) ForgetFocusInside(/*leavingForm=*/false);
}

bool Control::IsUsable() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

bool Control::CanFocus() const { return IsWindowed() && RootForm() != nullptr && IsUsable(); }

bool Control::Focused() const {
  const TForm* form = RootForm();
  return form != nullptr && form->FocusedControl() == this;
}

bool Control::SetFocus() {
  TForm* form = RootForm();
  return form != nullptr && form->FocusControl(this);
}

void Control::ForgetFocusInside(bool leavingForm) {
  if (TForm* form = RootForm()) form->ForgetFocusInside(*this, leavingForm);
}

void Control::TypeText(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t ch = DecodeUtf8(text, pos);
    Keystroke(KeyOfChar(ch), ShiftOfChar(ch), ch);
  }
}

void Control::PressKey(Key key, ShiftState shift) { Keystroke(key, shift, CharOfKey(key, shift)); }

void Control::Keystroke(Key key, ShiftState shift, char32_t ch) {
  if (TForm* form = RootForm()) {
    if (!Focused() && !SetFocus()) return;
    form->Keystroke(key, shift, ch);
    return;
  }
  // A control outside any form receives the keystroke directly.
  Key down = key;
  KeyDown(down, shift);
  if (ch != 0) KeyPress(ch);
  Key up = key;
  KeyUp(up, shift);
}

void Control::Click() {
  if (!IsUsable()) return;
  if (IsWindowed() && RootForm() != nullptr && !SetFocus()) return;
  DoClick();
}

void Control::KeyDown(Key& key, ShiftState shift) {
  if (OnKeyDown) OnKeyDown(*this, key, shift);
}

void Control::KeyPress(char32_t& ch) {
  if (OnKeyPress) OnKeyPress(*this, ch);
}

void Control::KeyUp(Key& key, ShiftState shift) {
  if (OnKeyUp) OnKeyUp(*this, key, shift);
}

void Control::DoEnter() {
  if (OnEnter) OnEnter(*this);
}

bool Control::DoExit() {
  if (OnExit) OnExit(*this);
  return true;
}

void Control::DoClick() {
  if (OnClick) OnClick(*this);
}

char32_t AcceleratorOf(std::string_view caption) {
  for (std::size_t pos = 0; pos < caption.size();) {
    const char32_t ch = DecodeUtf8(caption, pos);
    if (ch != U'&' || pos >= caption.size()) continue;
    const char32_t next = DecodeUtf8(caption, pos);
    if (next != U'&') return ToUpper(next);
  }
  return 0;
}

Key KeyOfChar(char32_t ch) {
  if (ch >= U'a' && ch <= U'z') return static_cast<Key>(ch - U'a' + U'A');
  if ((ch >= U'A' && ch <= U'Z') || (ch >= U'0' && ch <= U'9')) return static_cast<Key>(ch);
  switch (ch) {
    case U' ': return VK_SPACE;
    case U'\t': return VK_TAB;
    case U'\b': return VK_BACK;
    case U'\r': return VK_RETURN;
    case 0x1B: return VK_ESCAPE;
    default: return VK_PACKET;
  }
}

ShiftState ShiftOfChar(char32_t ch) {
  return (ch >= U'A' && ch <= U'Z') ? ShiftState::Shift : ShiftState::None;
}

char32_t CharOfKey(Key key, ShiftState shift) {
  if (Has(shift, ShiftState::Ctrl) || Has(shift, ShiftState::Alt)) return 0;
  const bool shifted = Has(shift, ShiftState::Shift);
  if (key >= 'A' && key <= 'Z') return shifted ? key : key - U'A' + U'a';
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return U'0' + (key - VK_NUMPAD0);
  if (key >= VK_0 && key <= VK_0 + 9) return shifted ? 0 : key;  // shifted digits depend on the layout
  switch (key) {
    case VK_BACK: return U'\b';
    case VK_RETURN: return U'\r';
    case VK_ESCAPE: return 0x1B;
    case VK_SPACE: return U' ';
    default: return 0;
  }
}

}  // namespace citara
