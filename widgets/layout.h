// The layout step: places every control of a form from the form's description and from the text
// sizes the platform port measures, so that with any fonts no label covers its field and nothing
// is clipped. The realizations (windows, a page) only put their elements at the rectangles it sets.
//
// Two kinds of container are laid out:
// - aligned children (Top, Bottom, Left, Right, Client; in creation order within each pass), as a
//   form's regions are: they take their parent's edges and the rest. An aligned child is made at
//   least as large as its own content needs, so a region grows with a wider font;
// - a region with rows (RowCell, named by the form's RowRegions): labelled fields and radio
//   buttons in rows, top to bottom, each row from left to right, below the region's top-aligned
//   children. A field stands right after its label (the label whose focus control it is), the
//   rows' first labels share one width so the rows' first fields line up, and a label is as wide
//   as its caption. A row of fields is spread over the region's width; in a row with radio
//   buttons the buttons follow the field before them and a field after them stands at the right
//   edge. A row too wide for its region first narrows its long edits (to two thirds of their
//   design width at most); what still does not fit makes the region, and so the form, wider.
//
// Every control starts from its design size, not from the size an earlier layout gave it, so a
// layout run again (a new font, a new size) gives what a first run would.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "widgets/geometry.h"

namespace citara {

class TForm;
struct TFont;

// One control of a region's rows: a field (placed with its label) or a control alone.
struct RowCell {
  std::string_view control{};
  int row = 0;  // 0 = the top row
};

// The rows of one region (a panel, named) of a form.
struct RegionRows {
  std::string_view region{};
  std::span<const RowCell> cells{};
};

// The size of one line of text in a font.
using TextMeasure = std::function<TSize(const TFont& font, std::string_view text)>;

// The buttons inside a date field and a spin edit, at the right end of the field's bounds.
inline constexpr int kDropButtonWidth = 16;
inline constexpr int kSpinButtonWidth = 13;

// Lays `form` out at the size `offered`, or larger where its content needs more room, and returns
// the size it took. The form keeps its position. A size smaller than the design size is taken as
// long as everything fits.
TSize LayOutForm(TForm& form, TSize offered, const TextMeasure& measure);
// The same, measured by the calling thread's platform port.
TSize LayOutForm(TForm& form, TSize offered);

// The text a caption shows: the accelerator mark "&" dropped, "&&" shown as "&".
std::string ShownCaption(std::string_view caption);

}  // namespace citara
