// The controls that hold or name others: TPanel (a windowed container), TLabel (a caption that
// names a field and passes its accelerator on to that field) and TBevel (a thin line or frame
// between regions). None of them takes the focus.
#pragma once

#include <string>

#include "widgets/control.h"

namespace citara {

class TPanel : public Control {
 public:
  explicit TPanel(std::string name) : Control(std::move(name)) {}
  // Whether the panel draws a raised edge; the forms' panels have none.
  bool Bevelled() const { return bevelled_; }
  void SetBevelled(bool bevelled) { bevelled_ = bevelled; }

 private:
  bool bevelled_ = false;
};

enum class TTextAlignment { Left, Center, Right };

class TLabel : public Control {
 public:
  explicit TLabel(std::string name) : Control(std::move(name)) {}
  bool IsWindowed() const override { return false; }

  // The field this label names; Alt + the caption's accelerator focuses it.
  Control* FocusControl() const { return focusControl_; }
  void SetFocusControl(Control* control) { focusControl_ = control; }
  TTextAlignment Alignment() const { return alignment_; }
  void SetAlignment(TTextAlignment alignment) { alignment_ = alignment; }

  bool AcceleratorPressed() override { return focusControl_ != nullptr && focusControl_->SetFocus(); }

 private:
  Control* focusControl_ = nullptr;
  TTextAlignment alignment_ = TTextAlignment::Left;
};

enum class TBevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };

class TBevel : public Control {
 public:
  explicit TBevel(std::string name) : Control(std::move(name)) {}
  bool IsWindowed() const override { return false; }
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape) { shape_ = shape; }

 private:
  TBevelShape shape_ = TBevelShape::TopLine;
};

}  // namespace citara
