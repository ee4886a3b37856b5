#include "widgets/radio_button.h"

namespace citara {

TRadioButton::TRadioButton(std::string name) : Control(std::move(name)) { SetTabStop(true); }

std::vector<TRadioButton*> TRadioButton::Group() const {
  if (Parent() == nullptr) return {const_cast<TRadioButton*>(this)};
  std::vector<TRadioButton*> group;
  for (Control* sibling : Parent()->Children()) {
    if (auto* radio = dynamic_cast<TRadioButton*>(sibling)) group.push_back(radio);
  }
  return group;
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (!checked) return;
  for (TRadioButton* other : Group()) {
    if (other != this) other->checked_ = false;
  }
  if (OnClick) OnClick(*this);
}

bool TRadioButton::AcceleratorPressed() {
  Click();
  return true;
}

}  // namespace citara
