#include "widgets/clear_edits.h"

#include "widgets/flat_edit.h"

namespace citara {

void ClearPlusEdits(Control& container) {
  for (Control* child : container.Children()) {
    if (auto* edit = dynamic_cast<TFlatEdit*>(child)) edit->Clear();
  }
}

}  // namespace citara
