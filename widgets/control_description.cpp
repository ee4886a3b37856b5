#include "widgets/control_description.h"

#include <stdexcept>
#include <string>
#include <type_traits>

#include "widgets/date_edit.h"
#include "widgets/form.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"

namespace citara {
namespace {

Control& Find(const TForm& form, std::string_view name, std::string_view role, std::string_view of) {
  if (Control* found = form.FindComponent<Control>(name)) return *found;
  throw std::invalid_argument("unknown " + std::string(role) + " \"" + std::string(name) + "\" of \"" +
                              std::string(of) + "\"");
}

// The settings of the control's own kind. The control was made as exactly T, so the kind tests
// are decided at compile time rather than by a dynamic_cast per kind and control.
template <class T>
void ApplyKindSettings(T& control, const ControlDescription& d) {
  if constexpr (std::is_base_of_v<TFlatEdit, T>) {
    control.SetMaxLength(d.maxLength);
    control.SetUpperCaseOnly(d.upperCaseOnly);
  }
  if constexpr (std::is_base_of_v<TDateLinkEdit97, T>) {
    if (!d.dateFormat.empty()) control.SetDateFormat(std::string(d.dateFormat));
  }
  if constexpr (std::is_base_of_v<TFlatSpinEdit, T>) control.SetLimits(d.minValue, d.maxValue);
  if constexpr (std::is_base_of_v<TLabel, T>) control.SetAlignment(d.alignment);
  if constexpr (std::is_base_of_v<TToolButton, T>) {
    control.SetGlyph({std::string(d.glyph), std::string(d.disabledGlyph)});
    control.SetLayout(d.glyphLayout);
    control.SetDefault(d.isDefault);
  }
  if constexpr (std::is_base_of_v<TRadioButton, T>) {
    if (d.checked) control.SetChecked(true);
  }
}

// Creates a T on `form` under `parent` with the description's settings: the ones every control
// has, then the ones of its kind.
template <class T>
void Make(TForm& form, Control& parent, const ControlDescription& d) {
  T& control = form.Create<T>(std::string(d.name));
  control.SetParent(&parent);
  control.SetCaption(std::string(d.caption));
  control.SetHint(std::string(d.hint));
  control.SetBounds(d.bounds);
  control.SetDesignSize({d.bounds.width, d.bounds.height});
  control.SetAlign(d.align);
  control.SetTabOrder(d.tabOrder);
  control.SetShowHint(d.showHint);
  if (d.color) control.SetColor(*d.color);
  if (!d.fontName.empty()) control.SetFont({std::string(d.fontName), d.fontHeight});
  ApplyKindSettings(control, d);
}

void MakeOfKind(TForm& form, Control& parent, const ControlDescription& d) {
  switch (d.kind) {
    case ControlKind::Panel: return Make<TPanel>(form, parent, d);
    case ControlKind::Label: return Make<TLabel>(form, parent, d);
    case ControlKind::Bevel: return Make<TBevel>(form, parent, d);
    case ControlKind::Edit: return Make<TFlatEdit>(form, parent, d);
    case ControlKind::NumericEdit: return Make<TFlatNumericEdit>(form, parent, d);
    case ControlKind::SpinEdit: return Make<TFlatSpinEdit>(form, parent, d);
    case ControlKind::LinkEdit: return Make<TFlatLinkEdit>(form, parent, d);
    case ControlKind::DateEdit: return Make<TDateLinkEdit97>(form, parent, d);
    case ControlKind::RadioButton: return Make<TRadioButton>(form, parent, d);
    case ControlKind::ToolButton: return Make<TToolButton>(form, parent, d);
  }
  throw std::invalid_argument("unknown control kind of \"" + std::string(d.name) + "\"");
}

}  // namespace

void CreateControls(TForm& form, std::span<const ControlDescription> descriptions) {
  for (const ControlDescription& d : descriptions) {
    if (form.FindComponent(d.name) != nullptr) {
      throw std::invalid_argument("control name used twice: \"" + std::string(d.name) + "\"");
    }
    Control& parent = d.parent.empty() ? form : Find(form, d.parent, "parent", d.name);
    MakeOfKind(form, parent, d);
  }
  for (const ControlDescription& d : descriptions) {
    if (d.focusControl.empty()) continue;
    if (auto* label = form.FindComponent<TLabel>(d.name)) {
      label->SetFocusControl(&Find(form, d.focusControl, "focus control", d.name));
    }
  }
}

}  // namespace citara
