// TRadioButton: one choice of a group. The group is the radio buttons that share a parent. At
// most one of them is checked; checking one unchecks the others, and a user's click leaves exactly
// one checked. OnClick fires only when a button becomes checked, whether by a click or by code
// calling SetChecked(true); clicking the checked one, or unchecking, fires nothing.
#pragma once

#include <string>
#include <vector>

#include "widgets/control.h"

namespace citara {

class TRadioButton : public Control {
 public:
  explicit TRadioButton(std::string name);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // The radio buttons of this one's group (itself included), in child order.
  std::vector<TRadioButton*> Group() const;

  // Alt + its accelerator checks it and gives it the focus, as a click does.
  bool AcceleratorPressed() override;

 protected:
  void DoClick() override { SetChecked(true); }

 private:
  bool checked_ = false;
};

}  // namespace citara
