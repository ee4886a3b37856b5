// TToolButton: a flat toolbar-style button that shows a glyph (a normal and a disabled image)
// and has a caption with an accelerator, an enabled state, a hint and a click event. It is not a
// window of its own and never takes the focus; Click() does nothing while it is disabled.
#pragma once

#include <string>

#include "widgets/control.h"

namespace citara {

struct TGlyph {
  std::string normal;    // image id shown while enabled
  std::string disabled;  // image id shown while disabled
  friend bool operator==(const TGlyph&, const TGlyph&) = default;
};

enum class TGlyphLayout { Left, Right };

class TToolButton : public Control {
 public:
  explicit TToolButton(std::string name) : Control(std::move(name)) {}
  bool IsWindowed() const override { return false; }

  const TGlyph& Glyph() const { return glyph_; }
  void SetGlyph(TGlyph glyph) { glyph_ = std::move(glyph); }
  // The image id to draw now: the disabled one while the button cannot be used.
  const std::string& CurrentImage() const { return IsUsable() ? glyph_.normal : glyph_.disabled; }
  TGlyphLayout Layout() const { return layout_; }
  void SetLayout(TGlyphLayout layout) { layout_ = layout; }
  // Shows the glyph only, the caption serving for the accelerator.
  bool GlyphOnly() const { return glyphOnly_; }
  void SetGlyphOnly(bool glyphOnly) { glyphOnly_ = glyphOnly; }
  // Marked as the default button of its form.
  bool Default() const { return default_; }
  void SetDefault(bool isDefault) { default_ = isDefault; }

  bool AcceleratorPressed() override {
    Click();
    return true;
  }

 private:
  TGlyph glyph_;
  TGlyphLayout layout_ = TGlyphLayout::Left;
  bool glyphOnly_ = true;
  bool default_ = false;
};

}  // namespace citara
