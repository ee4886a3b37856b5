// The layout of the ten source forms and the contributor sub-form under three text measures (the
// headless port's own, a deliberately wide and a deliberately narrow one) and a tall font: every
// rule the forms' layout must keep with any fonts is checked on every control, and every broken
// rule is listed.
#include "widgets/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "collection/forms.h"
#include "core/author_form.h"
#include "core/source_form.h"
#include "widgets/date_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/static_controls.h"

namespace citara {
namespace {

struct Metric {
  const char* name;
  TextMetric metric;
  int fontHeight;  // the form's font; 0: the form's own ("MS Sans Serif" of height -11)
};

const Metric kMetrics[] = {
    {"Headless", {}, 0},
    {"Wide", {.advance = 8, .lineHeight = 15, .fontHeight = 11}, 0},
    {"Narrow", {.advance = 3, .lineHeight = 11, .fontHeight = 11}, 0},
    {"TallFont", {}, -19},  // a 14-point font on a 96-dpi screen
};

TRect RectIn(const Control& c, const Control& top) {
  TRect r{c.Bounds().left, c.Bounds().top, c.Bounds().left + c.Bounds().width, c.Bounds().top + c.Bounds().height};
  for (const Control* p = c.Parent(); p != nullptr && p != &top; p = p->Parent()) {
    r = {r.left + p->Bounds().left, r.top + p->Bounds().top, r.right + p->Bounds().left, r.bottom + p->Bounds().top};
  }
  return r;
}

bool Overlap(const TBounds& a, const TBounds& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

bool Empty(const TBounds& b) { return b.width <= 0 || b.height <= 0; }

// Checks the layout rules on a laid-out form and lists every one that is broken.
class Rules {
 public:
  Rules(const TForm& form, const TextMetric& metric) : form_(form), metric_(metric) {}

  std::vector<std::string> Broken() {
    CheckTree(form_);
    CheckRows(form_);
    return broken_;
  }

 private:
  int TextWidth(const Control& c, std::string_view text) const { return metric_.Measure(c.Font(), text).width; }

  void Break(const Control& c, const std::string& rule) { broken_.push_back(c.Name() + ": " + rule); }

  void CheckTree(const Control& parent) {
    const TBounds p = parent.Bounds();
    const TRect form{0, 0, form_.Bounds().width, form_.Bounds().height};
    std::vector<const Control*> shown;
    for (const Control* c : parent.Children()) {
      if (!c->Visible()) continue;
      shown.push_back(c);
      const TBounds b = c->Bounds();
      if (Empty(b)) Break(*c, "has no area");
      if (b.left < 0 || b.top < 0 || b.left + b.width > p.width || b.top + b.height > p.height) {
        Break(*c, "lies outside its parent " + parent.Name());
      }
      const TRect r = RectIn(*c, form_);
      if (r.left < form.left || r.top < form.top || r.right > form.right || r.bottom > form.bottom) {
        Break(*c, "lies outside the form");
      }
      if (const auto* label = dynamic_cast<const TLabel*>(c)) CheckLabel(*label);
      if (dynamic_cast<const TRadioButton*>(c) != nullptr && b.width < TextWidth(*c, c->Caption()) + 13) {
        Break(*c, "is narrower than its circle and caption");
      }
      if (const auto* date = dynamic_cast<const TDateLinkEdit97*>(c)) {
        const int text = TextWidth(*c, FormatDate(OleFromCivil({2000, 9, 28}), "mmmm dd, yyyy"));
        if (b.width - kDropButtonWidth - 4 < text) Break(*date, "is narrower than its longest date");
      }
      CheckTree(*c);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        if (Overlap(shown[i]->Bounds(), shown[j]->Bounds())) Break(*shown[i], "overlaps " + shown[j]->Name());
      }
    }
  }

  void CheckLabel(const TLabel& label) {
    const TBounds b = label.Bounds();
    if (b.width < TextWidth(label, ShownCaption(label.Caption()))) Break(label, "is narrower than its caption");
    const Control* field = label.FocusControl();
    if (field == nullptr || field->Parent() != label.Parent()) return;
    const TBounds f = field->Bounds();
    if (b.left + b.width > f.left) Break(label, "reaches into its field");
    if (b.top + b.height <= f.top || b.top >= f.top + f.height) Break(label, "stands above or below its field");
  }

  // The rows of every region: one top edge per row, rows top to bottom, entries left to right.
  void CheckRows(const TForm& form) {
    for (const RegionRows& region : form.RowRegions()) {
      const auto* panel = form.FindComponent<Control>(region.region);
      if (panel == nullptr) {
        broken_.push_back(std::string(region.region) + ": no such region");
        continue;
      }
      const Control* previous = nullptr;
      int previousRow = -1, rowTop = 0, previousTop = -1;
      for (const RowCell& cell : region.cells) {
        const auto* c = form.FindComponent<Control>(cell.control);
        if (c == nullptr) {
          broken_.push_back(std::string(cell.control) + ": not on the form");
          continue;
        }
        const TBounds b = c->Bounds();
        const int top = b.top + b.height / 2;  // a row's entries share their middle
        if (cell.row != previousRow) {
          if (top <= previousTop) Break(*c, "starts a row that is not below the previous one");
          previousTop = rowTop = top;
          previousRow = cell.row;
        } else {
          if (std::abs(top - rowTop) > 1) Break(*c, "is not centred on its row");
          if (previous != nullptr && b.left < previous->Bounds().left + previous->Bounds().width) {
            Break(*c, "does not stand right of " + previous->Name());
          }
        }
        previous = c;
      }
    }
    form.ForEachOwned([&](const Component& component) {
      if (const auto* sub = dynamic_cast<const TAuthorForm*>(&component)) CheckRows(*sub);
    });
  }

  const TForm& form_;
  TextMetric metric_;
  std::vector<std::string> broken_;
};

// The control called `name` anywhere in the form, its sub-forms included.
const Control* Deep(const TForm& form, std::string_view name) {
  const Control* found = nullptr;
  form.ForEachOwned([&](const Component& c) {
    if (found == nullptr && c.Name() == name) found = dynamic_cast<const Control*>(&c);
  });
  return found;
}

std::string Listed(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "  " + line + "\n";
  return out;
}

class FormLayoutTest : public ::testing::TestWithParam<Metric> {
 protected:
  void SetUp() override { port_.SetTextMetric(GetParam().metric); }

  template <class Form>
  void Prepare(Form& form) {
    if (GetParam().fontHeight != 0) form.SetFont({"MS Sans Serif", GetParam().fontHeight});
  }

  HeadlessPlatform port_;
  ScopedPlatform use_{port_};
};

TEST_P(FormLayoutTest, EverySourceFormKeepsEveryRule) {
  for (const FormDescription* description : AllForms()) {
    SCOPED_TRACE(std::string(description->className));
    TSourceForm form(*description);
    Prepare(form);
    const std::vector<Control*> tabStops = form.TabStops();
    const TSize size = LayOutForm(form, {description->width, description->height});
    EXPECT_GE(size.width, description->width);
    EXPECT_GE(size.height, description->height);
    EXPECT_EQ(size, (TSize{form.Bounds().width, form.Bounds().height}));
    const std::vector<std::string> broken = Rules(form, GetParam().metric).Broken();
    EXPECT_TRUE(broken.empty()) << broken.size() << " rules broken:\n" << Listed(broken);
    EXPECT_EQ(form.TabStops(), tabStops) << "the layout changed the tab order";
  }
}

TEST_P(FormLayoutTest, TheContributorSubFormKeepsEveryRule) {
  TAuthorForm form;
  Prepare(form);
  LayOutForm(form, {595, 83});
  const std::vector<std::string> broken = Rules(form, GetParam().metric).Broken();
  EXPECT_TRUE(broken.empty()) << broken.size() << " rules broken:\n" << Listed(broken);
}

// A second layout, as after a new size or font, starts again from the design and gives the same.
TEST_P(FormLayoutTest, LayingOutAgainGivesTheSameRectangles) {
  for (const FormDescription* description : AllForms()) {
    SCOPED_TRACE(std::string(description->className));
    TSourceForm form(*description);
    Prepare(form);
    const auto rectangles = [&] {
      std::vector<TBounds> all;
      form.ForEachOwned([&](const Component& c) {
        if (const auto* control = dynamic_cast<const Control*>(&c)) all.push_back(control->Bounds());
      });
      return all;
    };
    LayOutForm(form, {description->width + 200, description->height + 100});
    LayOutForm(form, {description->width, description->height});
    const auto first = rectangles();
    LayOutForm(form, {description->width, description->height});
    EXPECT_EQ(rectangles(), first);
  }
}

INSTANTIATE_TEST_SUITE_P(Metrics, FormLayoutTest, ::testing::ValuesIn(kMetrics),
                         [](const auto& info) { return std::string(info.param.name); });

// What the measures do to the forms' sizes: the headless measure keeps the design size, a wide
// one grows the forms whose rows it does not fit, a narrow one never shrinks a form.
TEST(FormLayout, TheHeadlessMeasureKeepsEveryDesignSize) {
  HeadlessPlatform port;
  ScopedPlatform use(port);
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    EXPECT_EQ(LayOutForm(form, {description->width, description->height}),
              (TSize{description->width, description->height}))
        << description->className;
  }
}

// A container may give a form less than its design size: the form takes it while its content
// fits, and grows to what the content needs when it does not.
TEST(FormLayout, AFormTakesASmallerSizeWhileItsContentFits) {
  HeadlessPlatform port;
  ScopedPlatform use(port);
  TSourceForm book(*FindForm("Book"));
  EXPECT_EQ(LayOutForm(book, {607, 225}), (TSize{607, 225}));
  EXPECT_TRUE(Rules(book, TextMetric{}).Broken().empty());
  const TSize grown = LayOutForm(book, {300, 100});
  EXPECT_GT(grown.width, 300);
  EXPECT_GT(grown.height, 100);
  const std::vector<std::string> broken = Rules(book, TextMetric{}).Broken();
  EXPECT_TRUE(broken.empty()) << Listed(broken);
}

TEST(FormLayout, AWideMeasureGrowsTheForms) {
  HeadlessPlatform port;
  port.SetTextMetric({.advance = 8, .lineHeight = 15, .fontHeight = 11});
  ScopedPlatform use(port);
  for (const FormDescription* description : AllForms()) {
    TSourceForm form(*description);
    const TSize size = LayOutForm(form, {description->width, description->height});
    EXPECT_GT(size.width, description->width) << description->className;
  }
}

// A measure a little wider than the design's: the long fields give up width before a form grows.
TEST(FormLayout, ASlightlyWiderMeasureNarrowsTheLongFieldsFirst) {
  HeadlessPlatform port;
  port.SetTextMetric({.advance = 6, .lineHeight = 13, .fontHeight = 11});
  ScopedPlatform use(port);
  struct Case {
    const char* form;
    const char* field;
    int designWidth;
  };
  for (const Case& c : std::initializer_list<Case>{{"Magazine", "MagazineEdit", 369},
                                                   {"Magazine", "LastNameEdit", 126},
                                                   {"Magazine", "FirstNameEdit", 118}}) {
    const FormDescription& description = *FindForm(c.form);
    TSourceForm form(description);
    EXPECT_EQ(LayOutForm(form, {description.width, description.height}),
              (TSize{description.width, description.height}));
    const Control* field = Deep(form, c.field);
    ASSERT_NE(field, nullptr) << c.field;
    const int width = field->Bounds().width;
    EXPECT_LT(width, c.designWidth) << c.field;
    EXPECT_GE(width, (c.designWidth * 2 + 2) / 3) << c.field;
  }
}

TEST(FormLayout, ShownCaptionsDropTheAcceleratorMark) {
  struct Case {
    const char* caption;
    const char* shown;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"&Last Name:", "Last Name:"}, {"Fi&rst", "First"}, {"R&&D:", "R&D:"}, {"End&", "End"}, {"", ""}}) {
    EXPECT_EQ(ShownCaption(c.caption), c.shown) << c.caption;
  }
}

TEST(FormLayout, TheHeadlessMeasureIsFiveByThirteenAtHeightEleven) {
  const TextMetric metric;
  EXPECT_EQ(metric.Measure({"MS Sans Serif", -11}, "Title:"), (TSize{30, 13}));
  EXPECT_EQ(metric.Measure({"MS Sans Serif", -11}, "Émile"), (TSize{25, 13}));  // code points, not bytes
  EXPECT_EQ(metric.Measure({"MS Sans Serif", -22}, "ab"), (TSize{20, 26}));
}

}  // namespace
}  // namespace citara
