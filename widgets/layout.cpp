#include "widgets/layout.h"

#include <algorithm>
#include <map>
#include <vector>

#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/form.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"
#include "widgets/static_controls.h"

namespace citara {
namespace {

constexpr int kMargin = 6;      // left and right of the rows
constexpr int kRowsTop = 5;     // above the first row
constexpr int kRowsBottom = 4;  // below the last row
constexpr int kGap = 10;        // between the entries of a row
constexpr int kLabelPad = 4;    // a label's room beyond its caption
constexpr int kLabelGap = 4;    // between a label and its field
constexpr int kRadioMark = 22;  // a radio button's circle and the space before its caption
constexpr int kEditMargins = 8; // an edit's frame and inner margins around its text
// The smallest heights, those the forms were drawn with; a taller font makes them taller.
constexpr int kFieldHeight = 21, kLabelHeight = 13, kRadioHeight = 17, kRowSpacing = 3;
// A long edit is one of at least this design width: it may narrow to two thirds of it.
constexpr int kLongEdit = 100;
// The longest text a date field shows: the full month name, the day with two digits.
constexpr std::string_view kLongestDatePattern = "mmmm dd, yyyy";

// The heights of a row's parts in a font.
struct RowHeights {
  int field, label, radio, pitch;
};

RowHeights HeightsFor(int line) {
  RowHeights h;
  h.field = std::max(kFieldHeight, line + kEditMargins);
  h.label = std::max(kLabelHeight, line);
  h.radio = std::max(kRadioHeight, line + 4);
  h.pitch = h.field + kRowSpacing;
  return h;
}

// One entry of a row: a field with its label, or a control alone (a radio button).
struct Entry {
  Control* control = nullptr;
  TLabel* label = nullptr;
  int labelWidth = 0;
  int width = 0;     // the field's or the radio button's width as placed
  int minWidth = 0;  // as narrow as it may become
  int Span(int w) const { return (label ? labelWidth + kLabelGap : 0) + w; }
};

using Rows = std::vector<std::vector<Entry>>;

int RowWidth(const std::vector<Entry>& row, bool narrowest) {
  int total = 0;
  for (const Entry& e : row) total += e.Span(narrowest ? e.minWidth : e.width);
  return total + kGap * static_cast<int>(row.empty() ? 0 : row.size() - 1);
}

class Layout {
 public:
  Layout(const TextMeasure& measure, const TForm& top) : measure_(measure) {
    std::size_t n = 0;
    top.ForEachOwned([&](const Component& c) { order_[&c] = n++; });
  }

  // The size `control` needs: its design size, or more where its content needs more.
  TSize Needed(Control& control, const TForm& within) {
    const TSize design = control.DesignSize(), content = Content(control, within);
    return {std::max(design.width, content.width), std::max(design.height, content.height)};
  }

  // The size the content of `control` needs (its caption, its aligned children, its rows). An
  // aligned child's design size counts only along the edge it is aligned to: across it, and for a
  // child that fills the rest, the parent gives the size.
  TSize Content(Control& control, const TForm& within) {
    if (const auto found = content_.find(&control); found != content_.end()) return found->second;
    const TForm& forms = FormOf(control, within);
    TSize need;
    if (auto* label = dynamic_cast<TLabel*>(&control)) {
      const TSize text = Measure(*label, ShownCaption(label->Caption()));
      need = {text.width + 1, text.height};
    }
    int usedTop = 0, usedLeft = 0;
    for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
      for (Control* child : Aligned(control, pass)) {
        const TSize c = Content(*child, forms), size = Extent(*child, forms);
        if (pass == TAlign::Top || pass == TAlign::Bottom) {
          usedTop += size.height;
          need.width = std::max(need.width, c.width);
        } else if (pass == TAlign::Left || pass == TAlign::Right) {
          usedLeft += size.width;
          need.height = std::max(need.height, usedTop + c.height);
        } else {
          need.width = std::max(need.width, usedLeft + c.width);
          need.height = std::max(need.height, usedTop + c.height);
        }
      }
    }
    need = {std::max(need.width, usedLeft), std::max(need.height, usedTop)};
    if (const auto cells = RowsOf(control, forms); !cells.empty()) {
      Rows rows = BuildRows(control, cells);
      int widest = 0;
      for (const auto& row : rows) widest = std::max(widest, RowWidth(row, true));
      const RowHeights h = Heights(control);
      const int count = static_cast<int>(rows.size());
      need.width = std::max(need.width, 2 * kMargin + widest);
      need.height = std::max(need.height, TopBand(control, forms) + kRowsTop + (count - 1) * h.pitch + h.field +
                                              kRowsBottom);
    }
    content_[&control] = need;
    return need;
  }

  // The size an aligned child takes along its edge: its design size there, or what its content
  // needs when that is more.
  TSize Extent(Control& child, const TForm& within) {
    const TSize design = child.DesignSize(), content = Content(child, within);
    switch (child.Align()) {
      case TAlign::Top:
      case TAlign::Bottom: return {content.width, std::max(design.height, content.height)};
      case TAlign::Left:
      case TAlign::Right: return {std::max(design.width, content.width), content.height};
      default: return content;
    }
  }

  // Places the children of `control` (whose bounds are set), then theirs.
  void Arrange(Control& control, const TForm& within) {
    const TForm& forms = FormOf(control, within);
    Align(control, forms);
    if (const auto cells = RowsOf(control, forms); !cells.empty()) PlaceRows(control, BuildRows(control, cells), forms);
    for (Control* child : control.Children()) Arrange(*child, forms);
  }

 private:
  // The form whose rows describe the children of `control`: a form itself, else the one it is in.
  static const TForm& FormOf(const Control& control, const TForm& within) {
    const auto* form = dynamic_cast<const TForm*>(&control);
    return form != nullptr ? *form : within;
  }

  static std::span<const RowCell> RowsOf(const Control& control, const TForm& within) {
    if (&control == &within) return {};
    for (const RegionRows& region : within.RowRegions()) {
      if (region.region == control.Name() && control.Owner() == &within) return region.cells;
    }
    return {};
  }

  TSize Measure(const Control& control, std::string_view text) const { return measure_(control.Font(), text); }

  RowHeights Heights(const Control& region) const { return HeightsFor(Measure(region, "Ag").height); }

  // The visible children aligned to `pass`, in creation order.
  std::vector<Control*> Aligned(const Control& parent, TAlign pass) const {
    std::vector<Control*> children;
    for (Control* c : parent.Children()) {
      if (c->Align() == pass && c->Visible()) children.push_back(c);
    }
    std::stable_sort(children.begin(), children.end(), [&](Control* a, Control* b) { return Order(a) < Order(b); });
    return children;
  }

  std::size_t Order(const Control* c) const {
    const auto found = order_.find(c);
    return found == order_.end() ? 0 : found->second;
  }

  // The height the top-aligned children take above a region's rows.
  int TopBand(Control& region, const TForm& within) {
    int band = 0;
    for (Control* c : Aligned(region, TAlign::Top)) band += Extent(*c, within).height;
    return band;
  }

  void Align(Control& parent, const TForm& within) {
    TRect client{0, 0, parent.Bounds().width, parent.Bounds().height};
    for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
      for (Control* c : Aligned(parent, pass)) {
        const TSize need = Extent(*c, within);
        switch (pass) {
          case TAlign::Top:
            c->SetBounds({client.left, client.top, client.Width(), need.height});
            client.top += need.height;
            break;
          case TAlign::Bottom:
            client.bottom -= need.height;
            c->SetBounds({client.left, client.bottom, client.Width(), need.height});
            break;
          case TAlign::Left:
            c->SetBounds({client.left, client.top, need.width, client.Height()});
            client.left += need.width;
            break;
          case TAlign::Right:
            client.right -= need.width;
            c->SetBounds({client.right, client.top, need.width, client.Height()});
            break;
          case TAlign::Client: c->SetBounds({client.left, client.top, client.Width(), client.Height()}); break;
          case TAlign::None: break;
        }
      }
    }
  }

  // The label of `field` among the region's children: the one whose focus control it is.
  static TLabel* LabelOf(const Control& region, const Control& field) {
    for (Control* c : region.Children()) {
      if (auto* label = dynamic_cast<TLabel*>(c); label != nullptr && label->FocusControl() == &field) return label;
    }
    return nullptr;
  }

  static Control* ChildNamed(const Control& region, std::string_view name) {
    for (Control* c : region.Children()) {
      if (c->Name() == name) return c;
    }
    return nullptr;
  }

  // The width a field needs for what it shows: a date field its longest date beside its button.
  int FieldWidth(const Control& field) const {
    int width = field.DesignSize().width;
    if (dynamic_cast<const TDateLinkEdit97*>(&field) != nullptr) {
      int longest = 0;
      for (unsigned month = 1; month <= 12; ++month) {
        const std::string text = FormatDate(OleFromCivil({2000, month, 28}), kLongestDatePattern);
        longest = std::max(longest, Measure(field, text).width);
      }
      width = std::max(width, longest + kEditMargins + kDropButtonWidth);
    }
    return width;
  }

  Rows BuildRows(const Control& region, std::span<const RowCell> cells) const {
    int last = -1;
    for (const RowCell& cell : cells) last = std::max(last, cell.row);
    Rows rows(static_cast<std::size_t>(last + 1));
    for (const RowCell& cell : cells) {
      Control* control = ChildNamed(region, cell.control);
      if (control == nullptr || !control->Visible()) continue;
      Entry e;
      e.control = control;
      e.label = LabelOf(region, *control);
      if (e.label != nullptr) {
        e.labelWidth = Measure(*e.label, ShownCaption(e.label->Caption())).width + kLabelPad;
        e.width = FieldWidth(*control);
        const bool longEdit = dynamic_cast<const TFlatEdit*>(control) != nullptr &&
                              dynamic_cast<const TDateLinkEdit97*>(control) == nullptr &&
                              dynamic_cast<const TFlatSpinEdit*>(control) == nullptr && e.width >= kLongEdit;
        e.minWidth = longEdit ? (e.width * 2 + 2) / 3 : e.width;
      } else {
        e.width = e.minWidth = Measure(*control, ShownCaption(control->Caption())).width + kRadioMark;
      }
      rows[static_cast<std::size_t>(cell.row)].push_back(e);
    }
    std::erase_if(rows, [](const auto& row) { return row.empty(); });
    // The rows' first labels share one width, so the rows' first fields line up.
    int column = 0;
    for (const auto& row : rows) {
      if (row.front().label) column = std::max(column, row.front().labelWidth);
    }
    for (auto& row : rows) {
      if (row.front().label) row.front().labelWidth = column;
    }
    return rows;
  }

  // Narrows the row's long edits, in proportion to what each may give, until the row fits `room`
  // or none may give more.
  static void Narrow(std::vector<Entry>& row, int room) {
    int excess = RowWidth(row, false) - room;
    int slack = 0;
    for (const Entry& e : row) slack += e.width - e.minWidth;
    if (excess <= 0 || slack <= 0) return;
    const int share = std::min(excess, slack);
    int given = 0;
    for (Entry& e : row) {
      const int cut = std::min(e.width - e.minWidth, (share * (e.width - e.minWidth) + slack - 1) / slack);
      const int take = std::min(cut, share - given);
      e.width -= take;
      given += take;
    }
  }

  void PlaceRows(Control& region, Rows rows, const TForm& within) {
    const RowHeights h = Heights(region);
    const int right = region.Bounds().width - kMargin;
    int y = TopBand(region, within) + kRowsTop;
    for (std::vector<Entry>& row : rows) {
      Narrow(row, right - kMargin);
      const bool radios = std::any_of(row.begin(), row.end(), [](const Entry& e) { return e.label == nullptr; });
      const int spare = std::max(0, right - kMargin - RowWidth(row, false));
      int x = kMargin;
      for (std::size_t i = 0; i < row.size(); ++i) {
        Entry& e = row[i];
        if (i > 0) {
          if (!radios) x += spare / static_cast<int>(row.size() - 1);
          else if (e.label != nullptr && i + 1 == row.size()) x = std::max(x, right - e.Span(e.width));
        }
        if (e.label) {
          e.label->SetBounds({x, y + (h.field - h.label) / 2, e.labelWidth, h.label});
          e.control->SetBounds({x + e.labelWidth + kLabelGap, y, e.width, h.field});
        } else {
          e.control->SetBounds({x, y + (h.field - h.radio) / 2, e.width, h.radio});
        }
        x += e.Span(e.width) + kGap;
      }
      y += h.pitch;
    }
  }

  const TextMeasure& measure_;
  std::map<const Component*, std::size_t> order_;
  std::map<const Control*, TSize> content_;
};

}  // namespace

TSize LayOutForm(TForm& form, TSize offered, const TextMeasure& measure) {
  Layout layout(measure, form);
  // The form itself takes the offered size when its content fits: a container may well give it
  // less than its design size.
  const TSize need = layout.Content(form, form);
  const TSize size{std::max(offered.width, need.width), std::max(offered.height, need.height)};
  const TBounds b = form.Bounds();
  form.SetBounds({b.left, b.top, size.width, size.height});
  layout.Arrange(form, form);
  return size;
}

TSize LayOutForm(TForm& form, TSize offered) {
  Platform& port = CurrentPlatform();
  return LayOutForm(form, offered, [&port](const TFont& font, std::string_view text) {
    return port.MeasureText(font, text);
  });
}

std::string ShownCaption(std::string_view caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      shown += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      shown += '&';
      ++i;
    }
  }
  return shown;
}

}  // namespace citara
