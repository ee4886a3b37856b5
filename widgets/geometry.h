// Pixel geometry of the component model: points and rectangles in the coordinates of a parent
// control, or of the screen for a top-level form.
#pragma once

namespace citara {

struct TPoint {
  int x = 0, y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle by its edges; right and bottom lie just outside it.
struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// A width and a height in pixels.
struct TSize {
  int width = 0, height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Position and size of a control inside its parent.
struct TBounds {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TBounds&, const TBounds&) = default;
};

}  // namespace citara
