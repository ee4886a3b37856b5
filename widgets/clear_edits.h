// ClearPlusEdits: empties the edit fields that stand directly in a container (a form's reset).
//
// Every direct child of the flat edit family (plain, numeric, spin, link and date edits) is
// cleared through its own Clear (a date edit keeps its date). Grandchildren are not visited;
// labels, radio buttons, nested panels and other controls are left as they are.
#pragma once

namespace citara {

class Control;

void ClearPlusEdits(Control& container);

}  // namespace citara
