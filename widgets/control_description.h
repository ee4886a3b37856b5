// Forms described as data: one ControlDescription per control, in creation order, and
// CreateControls to build them on a form.
//
// Each control is created owned by the form and placed in its parent (another control of the
// description, named before it, or the form itself). Fields that do not apply to a kind are
// ignored; a label's focus control may be named before or after the label.
//
//   static constexpr ControlDescription kControls[] = {
//       {.kind = ControlKind::Panel, .name = "MainPanel", .bounds = {0, 0, 400, 200}},
//       {.kind = ControlKind::Label, .name = "TitleLabel", .parent = "MainPanel",
//        .caption = "&Title:", .focusControl = "TitleEdit"},
//       {.kind = ControlKind::Edit, .name = "TitleEdit", .parent = "MainPanel",
//        .hint = "The title", .tabOrder = 0, .color = clYellow},
//   };
//   CreateControls(form, kControls);
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "widgets/colors.h"
#include "widgets/control.h"
#include "widgets/static_controls.h"
#include "widgets/tool_button.h"

namespace citara {

class TForm;

enum class ControlKind { Panel, Label, Bevel, Edit, NumericEdit, SpinEdit, LinkEdit, DateEdit, RadioButton, ToolButton };

struct ControlDescription {
  ControlKind kind = ControlKind::Edit;
  std::string_view name{};
  std::string_view parent{};   // empty: the form
  std::string_view caption{};  // caption, or the text at creation
  std::string_view hint{};
  TBounds bounds{};
  TAlign align = TAlign::None;
  int tabOrder = 0;
  bool showHint = false;        // hints pop up over it and its children
  std::optional<TColor> color{};  // none: the kind's own colour
  std::string_view fontName{};    // empty: the parent's font
  int fontHeight = 0;
  // Edits.
  int maxLength = 0;  // 0: no limit
  bool upperCaseOnly = false;
  std::string_view dateFormat{};  // date edits; empty: "mmmm d, yyyy"
  long long minValue = 0, maxValue = 0;  // spin edits: the value's limits; both 0: none
  // Labels.
  std::string_view focusControl{};
  TTextAlignment alignment = TTextAlignment::Left;
  // Toolbar-style buttons.
  std::string_view glyph{};          // image id while enabled
  std::string_view disabledGlyph{};  // image id while disabled
  TGlyphLayout glyphLayout = TGlyphLayout::Left;
  bool isDefault = false;
  // Radio buttons.
  bool checked = false;
};

// Creates the described controls on `form`, in order. Throws std::invalid_argument for a name
// used twice, or a parent or focus control that the form does not have.
void CreateControls(TForm& form, std::span<const ControlDescription> descriptions);

}  // namespace citara
