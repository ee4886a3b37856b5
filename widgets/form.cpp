#include "widgets/form.h"

#include <algorithm>

#include "widgets/platform.h"

namespace citara {
namespace {

void CollectTabStops(const Control& parent, std::vector<Control*>& out) {
  std::vector<Control*> windowed;
  for (Control* c : parent.Children()) {
    if (c->IsWindowed() && c->Visible() && c->Enabled()) windowed.push_back(c);
  }
  std::stable_sort(windowed.begin(), windowed.end(),
                   [](const Control* a, const Control* b) { return a->TabOrder() < b->TabOrder(); });
  for (Control* c : windowed) {
    if (c->TabStop()) out.push_back(c);
    CollectTabStops(*c, out);
  }
}

}  // namespace

TForm::TForm(std::string name) : Control(std::move(name)) { SetVisible(false); }

TForm::~TForm() {
  focused_ = nullptr;
  activeAtShow_ = nullptr;
  DestroyComponents();
}

void TForm::Show() {
  SetVisible(true);
  DoShow();
  if (FocusedControl() == nullptr && activeAtShow_ != nullptr) FocusControl(activeAtShow_);
}

void TForm::Hide() {
  SetVisible(false);
  focused_ = nullptr;
}

void TForm::DoShow() {
  if (OnShow) OnShow(*this);
}

Control* TForm::FocusedControl() const {
  const TForm* root = RootForm();
  if (root != nullptr && root != this) return root->FocusedControl();
  return focused_;
}

bool TForm::FocusControl(Control* target) {
  TForm* root = RootForm();
  if (root != nullptr && root != this) return root->FocusControl(target);
  if (target == focused_) return true;
  if (target != nullptr && (target->RootForm() != this || !target->CanFocus())) return false;
  Control* previous = focused_;
  if (previous != nullptr && !previous->DoExit()) return false;
  if (focused_ != previous) return focused_ == target;  // the exit handler moved the focus itself
  focused_ = target;
  CurrentPlatform().FocusChanged(target);
  if (target != nullptr) target->DoEnter();
  return focused_ == target;
}

void TForm::SetActiveControl(Control* control) {
  activeAtShow_ = control;
  if (control != nullptr && control->CanFocus()) FocusControl(control);
}

std::vector<Control*> TForm::TabStops() const {
  std::vector<Control*> stops;
  if (IsUsable()) CollectTabStops(*this, stops);
  return stops;
}

bool TForm::SelectNext(bool forward) {
  TForm* root = RootForm();
  if (root != nullptr && root != this) return root->SelectNext(forward);
  const std::vector<Control*> stops = TabStops();
  if (stops.empty()) return false;
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  const auto at = std::find(stops.begin(), stops.end(), focused_) - stops.begin();
  std::ptrdiff_t next;
  if (at == n) next = forward ? 0 : n - 1;
  else next = forward ? (at + 1) % n : (at + n - 1) % n;
  return FocusControl(stops[static_cast<std::size_t>(next)]);
}

void TForm::ForgetFocusInside(const Control& subtree, bool leavingForm) {
  if (focused_ != nullptr && subtree.Contains(*focused_)) {
    focused_ = nullptr;
    CurrentPlatform().FocusChanged(nullptr);
  }
  if (leavingForm && activeAtShow_ != nullptr && subtree.Contains(*activeAtShow_)) activeAtShow_ = nullptr;
}

void TForm::Keystroke(Key key, ShiftState shift, char32_t ch) {
  TForm* root = RootForm();
  if (root != nullptr && root != this) return root->Keystroke(key, shift, ch);
  Control* target = focused_;
  if (target == nullptr) return;
  Key down = key;
  target->KeyDown(down, shift);
  const bool ctrl = Has(shift, ShiftState::Ctrl), alt = Has(shift, ShiftState::Alt);
  if (down == VK_TAB && !ctrl && !alt) {
    SelectNext(!Has(shift, ShiftState::Shift));
    ch = 0;
  } else if (down != 0 && alt && !ctrl) {
    PressAccelerator(down);
    ch = 0;
  }
  if (ch != 0 && focused_ != nullptr) focused_->KeyPress(ch);
  Key up = key;
  if (focused_ != nullptr) focused_->KeyUp(up, shift);
}

bool TForm::PressAccelerator(Key key) {
  if (!((key >= 'A' && key <= 'Z') || (key >= VK_0 && key <= VK_0 + 9))) return false;
  bool handled = false;
  const auto visit = [&](auto& self, Control& parent) -> void {
    for (Control* c : parent.Children()) {
      if (handled) return;
      if (AcceleratorOf(c->Caption()) == static_cast<char32_t>(key) && c->IsUsable() && c->AcceleratorPressed()) {
        handled = true;
        return;
      }
      self(self, *c);
    }
  };
  visit(visit, *this);
  return handled;
}

}  // namespace citara
