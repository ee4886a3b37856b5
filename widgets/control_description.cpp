#include "widgets/control_description.h"

#include <stdexcept>
#include <string>

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

Control& CreateOfKind(TForm& form, const ControlDescription& d) {
  std::string name(d.name);
  switch (d.kind) {
    case ControlKind::Panel: return form.Create<TPanel>(name);
    case ControlKind::Label: return form.Create<TLabel>(name);
    case ControlKind::Bevel: return form.Create<TBevel>(name);
    case ControlKind::Edit: return form.Create<TFlatEdit>(name);
    case ControlKind::NumericEdit: return form.Create<TFlatNumericEdit>(name);
    case ControlKind::SpinEdit: return form.Create<TFlatSpinEdit>(name);
    case ControlKind::LinkEdit: return form.Create<TFlatLinkEdit>(name);
    case ControlKind::DateEdit: return form.Create<TDateLinkEdit97>(name);
    case ControlKind::RadioButton: return form.Create<TRadioButton>(name);
    case ControlKind::ToolButton: return form.Create<TToolButton>(name);
  }
  throw std::invalid_argument("unknown control kind of \"" + name + "\"");
}

void ApplyKindSettings(Control& control, const ControlDescription& d) {
  if (auto* edit = dynamic_cast<TFlatEdit*>(&control)) {
    edit->SetMaxLength(d.maxLength);
    edit->SetUpperCaseOnly(d.upperCaseOnly);
  }
  if (auto* date = dynamic_cast<TDateLinkEdit97*>(&control); date && !d.dateFormat.empty()) {
    date->SetDateFormat(std::string(d.dateFormat));
  }
  if (auto* label = dynamic_cast<TLabel*>(&control)) label->SetAlignment(d.alignment);
  if (auto* button = dynamic_cast<TToolButton*>(&control)) {
    button->SetGlyph({std::string(d.glyph), std::string(d.disabledGlyph)});
    button->SetLayout(d.glyphLayout);
    button->SetDefault(d.isDefault);
  }
  if (auto* radio = dynamic_cast<TRadioButton*>(&control); radio && d.checked) radio->SetChecked(true);
}

}  // namespace

void CreateControls(TForm& form, std::span<const ControlDescription> descriptions) {
  for (const ControlDescription& d : descriptions) {
    if (form.FindComponent(d.name) != nullptr) {
      throw std::invalid_argument("control name used twice: \"" + std::string(d.name) + "\"");
    }
    Control& parent = d.parent.empty() ? form : Find(form, d.parent, "parent", d.name);
    Control& control = CreateOfKind(form, d);
    control.SetParent(&parent);
    control.SetCaption(std::string(d.caption));
    control.SetHint(std::string(d.hint));
    control.SetBounds(d.bounds);
    control.SetAlign(d.align);
    control.SetTabOrder(d.tabOrder);
    control.SetShowHint(d.showHint);
    if (d.color) control.SetColor(*d.color);
    if (!d.fontName.empty()) control.SetFont({std::string(d.fontName), d.fontHeight});
    ApplyKindSettings(control, d);
  }
  for (const ControlDescription& d : descriptions) {
    if (d.focusControl.empty()) continue;
    if (auto* label = form.FindComponent<TLabel>(d.name)) {
      label->SetFocusControl(&Find(form, d.focusControl, "focus control", d.name));
    }
  }
}

}  // namespace citara
