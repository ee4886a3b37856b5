// The component model driven as a user drives it: focus, tab, type, click, answer dialogs.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "widgets/clear_edits.h"
#include "widgets/control_description.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/form.h"
#include "widgets/link_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/spin_edit.h"
#include "widgets/static_controls.h"
#include "widgets/tool_button.h"

namespace citara {
namespace {

std::vector<std::string> Names(const std::vector<Control*>& controls) {
  std::vector<std::string> names;
  for (const Control* c : controls) names.push_back(c->Name());
  return names;
}

template <class T>
T& Add(TForm& form, std::string name, Control& parent) {
  T& control = form.Create<T>(std::move(name));
  control.SetParent(&parent);
  return control;
}

class WidgetsTest : public ::testing::Test {
 protected:
  HeadlessPlatform port;
  ScopedPlatform use{port};
  TForm form{"Form"};
};

TEST_F(WidgetsTest, OwnerKeepsCreationOrderAndFindsByNameAndType) {
  auto& panel = form.Create<TPanel>("MainPanel");
  auto& edit = panel.Create<TFlatEdit>("TitleEdit");
  form.Create<TLabel>("TitleLabel");

  EXPECT_EQ(form.FindComponent<TPanel>("MainPanel"), &panel);
  EXPECT_EQ(form.FindComponent<TFlatEdit>("MainPanel"), nullptr);  // there, but not an edit
  EXPECT_EQ(form.FindComponent("TitleEdit"), nullptr);             // owned by the panel, not the form
  EXPECT_EQ(panel.FindComponent<TFlatEdit>("TitleEdit"), &edit);
  EXPECT_EQ(edit.Owner(), &panel);

  std::vector<std::string> walk;
  form.ForEachOwned([&](Component& c) { walk.push_back(c.Name()); });
  EXPECT_EQ(walk, (std::vector<std::string>{"MainPanel", "TitleEdit", "TitleLabel"}));
}

TEST_F(WidgetsTest, ChildrenListNonWindowedFirstThenWindowedEachInCreationOrder) {
  auto& panel = Add<TPanel>(form, "Panel", form);
  Add<TFlatEdit>(form, "Edit1", panel);
  Add<TLabel>(form, "Label1", panel);
  Add<TRadioButton>(form, "Radio", panel);
  Add<TBevel>(form, "Bevel", panel);
  Add<TToolButton>(form, "Button", panel);
  Add<TFlatSpinEdit>(form, "Spin", panel);

  EXPECT_EQ(Names(panel.Children()),
            (std::vector<std::string>{"Label1", "Bevel", "Button", "Edit1", "Radio", "Spin"}));
}

TEST_F(WidgetsTest, FocusNeedsAShownFormAndAUsableWindowedControlUpTheChain) {
  auto& panel = Add<TPanel>(form, "Panel", form);
  auto& edit = Add<TFlatEdit>(form, "Edit", panel);
  auto& label = Add<TLabel>(form, "Label", panel);
  auto& orphan = form.Create<TFlatEdit>("Orphan");  // owned but never placed on the form

  EXPECT_FALSE(edit.SetFocus()) << "the form is not shown yet";
  form.Show();
  EXPECT_TRUE(edit.SetFocus());
  EXPECT_FALSE(label.SetFocus());
  EXPECT_FALSE(orphan.SetFocus());
  panel.SetEnabled(false);
  EXPECT_FALSE(edit.CanFocus());
  EXPECT_EQ(form.FocusedControl(), nullptr) << "disabling drops the focus inside";
  panel.SetEnabled(true);
  panel.SetVisible(false);
  EXPECT_FALSE(edit.SetFocus());
  EXPECT_EQ(form.FocusedControl(), nullptr);
}

TEST_F(WidgetsTest, FocusMovesFireExitThenEnterAndExitMayRefuse) {
  auto& a = Add<TFlatEdit>(form, "A", form);
  auto& b = Add<TFlatEdit>(form, "B", form);
  std::vector<std::string> events;
  bool refuse = false;
  for (TFlatEdit* e : {&a, &b}) {
    e->OnEnter = [&](Control& c) { events.push_back("enter " + c.Name()); };
    e->OnExit = [&](Control& c) { events.push_back("exit " + c.Name()); };
  }
  struct Sticky : TFlatEdit {
    using TFlatEdit::TFlatEdit;
    bool* refuse = nullptr;
    bool DoExit() override { return !*refuse && TFlatEdit::DoExit(); }
  };
  auto& sticky = Add<Sticky>(form, "Sticky", form);
  sticky.refuse = &refuse;
  form.Show();

  a.SetFocus();
  b.SetFocus();
  EXPECT_EQ(events, (std::vector<std::string>{"enter A", "exit A", "enter B"}));
  sticky.SetFocus();
  refuse = true;
  EXPECT_FALSE(a.SetFocus());
  EXPECT_TRUE(sticky.Focused());
}

TEST_F(WidgetsTest, TabFollowsTabOrderThroughPanelsSkippingWhatCannotTakeTheFocus) {
  auto& left = Add<TPanel>(form, "Left", form);
  auto& right = Add<TPanel>(form, "Right", form);
  left.SetTabOrder(1);
  right.SetTabOrder(0);
  auto& l2 = Add<TFlatEdit>(form, "L2", left);
  auto& l1 = Add<TFlatEdit>(form, "L1", left);
  auto& r1 = Add<TFlatEdit>(form, "R1", right);
  auto& off = Add<TFlatEdit>(form, "Off", right);
  l2.SetTabOrder(1);
  l1.SetTabOrder(0);
  off.SetTabOrder(1);
  off.SetEnabled(false);
  Add<TLabel>(form, "Label", right);
  form.Show();

  EXPECT_EQ(Names(form.TabStops()), (std::vector<std::string>{"R1", "L1", "L2"}));
  r1.SetFocus();
  std::vector<std::string> keyUps;
  for (TFlatEdit* e : {&l1, &l2, &r1}) {
    e->OnKeyUp = [&](Control& c, Key&, ShiftState) { keyUps.push_back(c.Name()); };
  }
  form.Keystroke(VK_TAB, ShiftState::None, 0);
  form.Keystroke(VK_TAB, ShiftState::None, 0);
  EXPECT_TRUE(l2.Focused());
  EXPECT_EQ(keyUps, (std::vector<std::string>{"L1", "L2"})) << "Tab's release reaches the new field";
  form.Keystroke(VK_TAB, ShiftState::None, 0);
  EXPECT_TRUE(r1.Focused()) << "wraps around";
  form.Keystroke(VK_TAB, ShiftState::Shift, 0);
  EXPECT_TRUE(l2.Focused()) << "Shift+Tab goes back";
}

TEST_F(WidgetsTest, TypingEditsTheTextAtTheCaret) {
  static const struct {
    const char* name;
    const char* text;
    int selStart, selLength;
    std::vector<Key> keys;  // pressed before typing
    const char* typed;
    const char* expected;
    int caret;
  } cases[] = {
      {"types at the end of an empty field", "", 0, 0, {}, "Smith", "Smith", 5},
      {"replaces the selection", "Smith", 1, 3, {}, "o", "Soh", 2},
      {"Backspace removes the character before", "Smith", 0, 0, {VK_END, VK_BACK}, "", "Smit", 4},
      {"Delete removes the character after", "Smith", 0, 0, {VK_HOME, VK_DELETE}, "", "mith", 0},
      {"arrows move the caret", "Smith", 0, 0, {VK_RIGHT, VK_RIGHT, VK_LEFT}, "x", "Sxmith", 2},
      {"Backspace removes the selection", "Smith", 1, 4, {VK_BACK}, "", "S", 1},
      {"characters are code points", "Zola", 4, 0, {}, "é", "Zolaé", 5},
      {"Backspace removes a whole code point", "Émile", 1, 0, {VK_BACK}, "", "mile", 0},
  };
  auto& edit = Add<TFlatEdit>(form, "Edit", form);
  form.Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    edit.SetText(c.text);
    edit.Select(c.selStart, c.selLength);
    for (Key k : c.keys) edit.PressKey(k);
    edit.TypeText(c.typed);
    EXPECT_EQ(edit.Text(), c.expected);
    EXPECT_EQ(edit.SelStart(), c.caret);
  }
}

TEST_F(WidgetsTest, MaxLengthAndUpperCaseApplyToTypingAndPasting) {
  auto& mi = Add<TFlatEdit>(form, "MI", form);
  mi.SetMaxLength(1);
  mi.SetUpperCaseOnly(true);
  form.Show();
  mi.TypeText("qz");
  EXPECT_EQ(mi.Text(), "Q");
  mi.SelectAll();
  port.SetClipboardText("émile");
  mi.PasteFromClipboard();
  EXPECT_EQ(mi.Text(), "É");
  mi.SetText("set from code is not cut");
  EXPECT_EQ(mi.Text(), "set from code is not cut");
}

TEST_F(WidgetsTest, KeyHandlersCanSwallowKeysAndCharacters) {
  auto& edit = Add<TFlatEdit>(form, "Edit", form);
  form.Show();
  edit.SetText("abc");
  edit.OnKeyDown = [](Control&, Key& key, ShiftState) { if (key == VK_DELETE) key = 0; };
  edit.OnKeyPress = [](Control&, char32_t& ch) { if (ch == U'x') ch = 0; };
  edit.PressKey(VK_DELETE);
  edit.TypeText("xy");
  EXPECT_EQ(edit.Text(), "yabc");
}

TEST_F(WidgetsTest, ClipboardCutCopyAndPasteTheSelection) {
  auto& edit = Add<TFlatEdit>(form, "Edit", form);
  edit.SetText("Smith Jones");
  edit.Select(0, 5);
  edit.CopyToClipboard();
  EXPECT_EQ(port.ClipboardText(), "Smith");
  edit.Select(5, 6);
  edit.CutToClipboard();
  EXPECT_EQ(port.ClipboardText(), " Jones");
  EXPECT_EQ(edit.Text(), "Smith");
  edit.Select(0, 0);
  edit.CopyToClipboard();  // nothing selected: the clipboard stays
  EXPECT_EQ(port.ClipboardText(), " Jones");
  port.SetClipboardText("Dr. \r\nsecond line");
  edit.PasteFromClipboard();
  EXPECT_EQ(edit.Text(), "Dr. Smith") << "a single-line field takes the first line";
}

TEST_F(WidgetsTest, SpinEditHoldsAWholeNumberThatItsTextShows) {
  auto& year = Add<TFlatSpinEdit>(form, "Year", form);
  form.Show();
  year.SetValue(1998);
  EXPECT_EQ(year.Text(), "1998");
  year.PressKey(VK_UP);
  EXPECT_EQ(year.Value(), 1999);
  year.SetText("2001");
  EXPECT_EQ(year.Value(), 2001);
  year.Clear();
  EXPECT_EQ(year.Text(), "");
  EXPECT_EQ(year.Value(), 2001) << "a text that is not a number leaves the value";
  year.TypeText("2a0b");
  EXPECT_EQ(year.Text(), "20") << "only digits are typed";
  year.SetLimits(1, 9999);
  year.SetValue(12000);
  EXPECT_EQ(year.Text(), "9999");
}

TEST_F(WidgetsTest, RadioGroupKeepsOneCheckedAndClicksOnlyOnAChange) {
  auto& panel = Add<TPanel>(form, "Panel", form);
  auto& a = Add<TRadioButton>(form, "A", panel);
  auto& b = Add<TRadioButton>(form, "B", panel);
  auto& other = Add<TRadioButton>(form, "OtherGroup", form);
  std::vector<std::string> clicks;
  for (TRadioButton* r : {&a, &b, &other}) r->OnClick = [&](Control& c) { clicks.push_back(c.Name()); };
  form.Show();

  a.SetChecked(true);   // by code: fires
  other.Click();        // another parent, another group
  b.Click();            // by the user
  b.Click();            // already checked: nothing
  a.SetChecked(false);  // unchecking fires nothing
  EXPECT_EQ(clicks, (std::vector<std::string>{"A", "OtherGroup", "B"}));
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(b.Checked());
  EXPECT_TRUE(other.Checked());
  EXPECT_TRUE(b.Focused()) << "a click focuses the radio button";
}

TEST_F(WidgetsTest, ToolButtonClicksOnlyWhileEnabledAndShowsTheMatchingGlyph) {
  auto& button = Add<TToolButton>(form, "AddButton", form);
  button.SetCaption("&Add");
  button.SetGlyph({"Plus", "PlusDisabled"});
  int clicks = 0;
  button.OnClick = [&](Control&) { ++clicks; };
  form.Show();

  button.Click();
  button.SetEnabled(false);
  button.Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.CurrentImage(), "PlusDisabled");
  EXPECT_FALSE(button.CanFocus());
}

TEST_F(WidgetsTest, AltAndTheAcceleratorClickAButtonOrFocusALabelsField) {
  auto& label = Add<TLabel>(form, "TitleLabel", form);
  auto& title = Add<TFlatEdit>(form, "TitleEdit", form);
  auto& other = Add<TFlatEdit>(form, "OtherEdit", form);
  auto& button = Add<TToolButton>(form, "FirstButton", form);
  label.SetCaption("&Title:");
  label.SetFocusControl(&title);
  button.SetCaption("Fi&rst");
  int clicks = 0;
  button.OnClick = [&](Control&) { ++clicks; };
  form.Show();
  other.SetFocus();

  EXPECT_EQ(AcceleratorOf("Fi&rst"), U'R');
  EXPECT_EQ(AcceleratorOf("Tom && Jerry"), 0U);
  other.PressKey('R', ShiftState::Alt);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(other.Text(), "") << "an accelerator types nothing";
  other.PressKey('T', ShiftState::Alt);
  EXPECT_TRUE(title.Focused());
}

TEST_F(WidgetsTest, ClearPlusEditsEmptiesTheEditsStandingDirectlyInTheContainer) {
  HeadlessPlatform fixed;
  ScopedPlatform useFixed(fixed);
  fixed.SetNow(OleFromCivil({1999, 1, 12}));
  auto& main = Add<TPanel>(form, "MainPanel", form);
  auto& edit = Add<TFlatEdit>(form, "Edit", main);
  auto& numeric = Add<TFlatNumericEdit>(form, "Numeric", main);
  auto& spin = Add<TFlatSpinEdit>(form, "Year", main);
  auto& link = Add<TFlatLinkEdit>(form, "Link", main);
  auto& date = Add<TDateLinkEdit97>(form, "Date", main);
  auto& label = Add<TLabel>(form, "Label", main);
  auto& radio = Add<TRadioButton>(form, "Radio", main);
  auto& nested = Add<TPanel>(form, "Nested", main);
  auto& inner = Add<TFlatEdit>(form, "Inner", nested);
  for (Control* c : std::vector<Control*>{&edit, &numeric, &spin, &link, &date, &label, &radio, &nested, &inner}) {
    c->SetText("x1");
  }
  spin.SetValue(1998);

  ClearPlusEdits(main);

  for (Control* c : std::vector<Control*>{&edit, &numeric, &spin, &link, &date}) EXPECT_EQ(c->Text(), "") << c->Name();
  for (Control* c : std::vector<Control*>{&label, &radio, &nested, &inner}) EXPECT_EQ(c->Text(), "x1") << c->Name();
  EXPECT_EQ(date.Date(), OleFromCivil({1999, 1, 12})) << "a date edit keeps its date";
}

TEST_F(WidgetsTest, ControlsAreCreatedFromADescription) {
  static constexpr ControlDescription kControls[] = {
      {.kind = ControlKind::Panel, .name = "MainPanel", .bounds = {0, 30, 400, 200}},
      {.kind = ControlKind::Label, .name = "TitleLabel", .parent = "MainPanel", .caption = "&Title:",
       .focusControl = "TitleEdit"},
      {.kind = ControlKind::Edit, .name = "TitleEdit", .parent = "MainPanel", .hint = "The title",
       .bounds = {50, 10, 200, 21}, .tabOrder = 1, .color = clYellow, .maxLength = 80},
      {.kind = ControlKind::DateEdit, .name = "DateEdit", .parent = "MainPanel", .dateFormat = "mmmm yyyy"},
  };
  CreateControls(form, kControls);

  auto* title = form.FindComponent<TFlatEdit>("TitleEdit");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->Parent(), form.FindComponent<TPanel>("MainPanel"));
  EXPECT_EQ(title->Color(), clYellow);
  EXPECT_EQ(title->Hint(), "The title");
  EXPECT_EQ(title->MaxLength(), 80);
  EXPECT_EQ(title->TabOrder(), 1);
  EXPECT_EQ(title->ScreenRect(), (TRect{50, 40, 250, 61}));
  EXPECT_EQ(form.FindComponent<TLabel>("TitleLabel")->FocusControl(), title);
  EXPECT_EQ(form.FindComponent<TDateLinkEdit97>("DateEdit")->DateFormat(), "mmmm yyyy");
}

TEST_F(WidgetsTest, ADescriptionWithAnUnknownParentOrATwiceUsedNameIsRejected) {
  static constexpr ControlDescription kUnknownParent[] = {
      {.kind = ControlKind::Edit, .name = "TitleEdit", .parent = "NoPanel"}};
  static constexpr ControlDescription kTwice[] = {{.kind = ControlKind::Edit, .name = "A"},
                                                  {.kind = ControlKind::Label, .name = "A"}};
  try {
    CreateControls(form, kUnknownParent);
    FAIL();
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "unknown parent \"NoPanel\" of \"TitleEdit\"");
  }
  TForm second("Second");
  EXPECT_THROW(CreateControls(second, kTwice), std::invalid_argument);
}

TEST(HeadlessPlatform, AnswersDialogsFromItsQueueAndRecordsThem) {
  HeadlessPlatform port;
  ScopedPlatform use(port);
  port.QueueAnswer(DialogResult::Cancel);
  const MessageDialog question{"Confirm", "Sure?", DialogIcon::Confirmation, DialogButtons::OkCancel};
  EXPECT_EQ(CurrentPlatform().ShowMessage(question), DialogResult::Cancel);
  EXPECT_EQ(CurrentPlatform().ShowMessage(question), DialogResult::Ok) << "no answer queued: OK";
  EXPECT_EQ(port.Dialogs(), (std::vector<MessageDialog>{question, question}));
  CurrentPlatform().SetHintHidePause(30000);
  EXPECT_EQ(port.HintHidePause(), 30000);
  EXPECT_EQ(CurrentPlatform().UpperCase(U'é'), U'É');
  EXPECT_EQ(CurrentPlatform().MonthName(1), "January");
}

TEST(HeadlessPlatform, ScopedPortPutsThePreviousOneBack) {
  Platform* before = &CurrentPlatform();
  {
    HeadlessPlatform port;
    ScopedPlatform use(port);
    EXPECT_EQ(&CurrentPlatform(), &port);
  }
  EXPECT_EQ(&CurrentPlatform(), before);
}

}  // namespace
}  // namespace citara

namespace citara {
namespace {

// Steps never overflow, limits or none; with limits the value keeps inside them.
TEST(SpinEdit, StepsKeepToTheLimitsAndNeverOverflow) {
  constexpr long long kMax = std::numeric_limits<long long>::max(), kMin = std::numeric_limits<long long>::min();
  static const struct {
    long long min, max;
    const char* text;
    bool up;
    long long value;
  } cases[] = {
      {0, 0, "9223372036854775807", true, kMax},     {0, 0, "-9223372036854775808", false, kMin},
      {0, 0, "5", false, 4},                         {1, 9999999, "1", false, 1},
      {1, 9999999, "9999999", true, 9999999},        {1, 9999999, "9223372036854775807", true, 9999999},
      {1, 9999999, "0", true, 2},                    {1, 9999, "99999999999999999999", true, 2},
  };
  for (const auto& c : cases) {
    TFlatSpinEdit spin("SpinEdit");
    spin.SetLimits(c.min, c.max);
    spin.SetValue(1);
    spin.SetText(c.text);
    c.up ? spin.StepUp() : spin.StepDown();
    EXPECT_EQ(spin.Value(), c.value) << c.text;
    EXPECT_EQ(spin.Text(), std::to_string(c.value)) << c.text;
  }
}

}  // namespace
}  // namespace citara
