// TFlatLinkEdit: a flat edit with a small button at its right edge. A click on the button fires
// OnButtonClick (kinds override ButtonClick, as the date edit does to drop down its calendar).
#pragma once

#include <string>

#include "widgets/flat_edit.h"

namespace citara {

class TFlatLinkEdit : public TFlatEdit {
 public:
  explicit TFlatLinkEdit(std::string name) : TFlatEdit(std::move(name)) {}

  // The image id drawn on the button.
  const std::string& ButtonGlyph() const { return buttonGlyph_; }
  void SetButtonGlyph(std::string glyph) { buttonGlyph_ = std::move(glyph); }

  NotifyEvent OnButtonClick;

  // A mouse click on the button; does nothing unless the field is usable.
  void ClickButton() {
    if (IsUsable()) ButtonClick();
  }

 protected:
  virtual void ButtonClick() {
    if (OnButtonClick) OnButtonClick(*this);
  }

 private:
  std::string buttonGlyph_ = "DropDownArrow";
};

}  // namespace citara
