// The contributor list editor driven as a user drives it: type, tab, click, confirm or cancel,
// then read the header, the fields and which buttons are enabled.
#include "core/author_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/platform.h"

namespace citara {
namespace {

using enum CitationStyle;

// What the user sees: the header, the three fields and the enabled buttons, as letters in the
// order First, Back, Next, Last, Add, Delete ("-" for a disabled one).
struct Seen {
  std::string header, last, first, mi, buttons;
  friend bool operator==(const Seen&, const Seen&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Seen& s) {
    return os << '{' << s.header << " | " << s.last << ", " << s.first << ", " << s.mi << " | " << s.buttons << '}';
  }
};

Seen See(const TAuthorForm& form) {
  std::string buttons;
  const std::pair<TToolButton*, char> order[] = {{&form.FirstButton(), 'F'}, {&form.BackButton(), 'B'},
                                                 {&form.NextButton(), 'N'},  {&form.LastButton(), 'L'},
                                                 {&form.AddButton(), 'A'},   {&form.DeleteButton(), 'D'}};
  for (const auto& [button, letter] : order) buttons += button->Enabled() ? letter : '-';
  return {form.HeaderLabel().Caption(), form.LastNameEdit().Text(), form.FirstNameEdit().Text(),
          form.MIEdit().Text(), buttons};
}

class AuthorFormTest : public ::testing::Test {
 protected:
  AuthorFormTest() { form.Show(); }

  // Types each entry in turn and clicks Add after it.
  void Enter(const ContributorList& entries) {
    for (const Contributor& c : entries) {
      form.LastNameEdit().TypeText(c.last);
      form.FirstNameEdit().TypeText(c.first);
      form.MIEdit().TypeText(c.middleInitial);
      form.AddButton().Click();
    }
  }

  HeadlessPlatform port;
  ScopedPlatform use{port};
  TAuthorForm form;
  const ContributorList three{{"Smith", "John", "Q"}, {"Doe", "Jane", ""}, {"Roe", "Richard", ""}};
};

TEST_F(AuthorFormTest, AShownFormStartsOnTheNewEntryOfAnEmptyList) {
  EXPECT_EQ(See(form), (Seen{"Author 1 of 1", "", "", "", "------"}));
  EXPECT_TRUE(form.LastNameEdit().Focused());
  EXPECT_EQ(form.CurrentIndex(), 0);
}

TEST_F(AuthorFormTest, TypingStoresTheEntryAtTheFirstKeyReleaseAndAddStartsANewOne) {
  form.LastNameEdit().TypeText("S");
  EXPECT_EQ(form.Contributors(), (ContributorList{{"S", "", ""}}));
  EXPECT_EQ(See(form), (Seen{"Author 1 of 1", "S", "", "", "----AD"})) << "the header waits for the next show";
  form.LastNameEdit().TypeText("mith");
  form.AddButton().Click();
  EXPECT_EQ(form.Contributors(), (ContributorList{{"Smith", "", ""}}));
  EXPECT_EQ(See(form), (Seen{"Author 2 of 2", "", "", "", "FB----"}));
  EXPECT_TRUE(form.LastNameEdit().Focused());
}

TEST_F(AuthorFormTest, TabbingThroughEmptyFieldsStoresABlankEntryThatFormattingDrops) {
  form.LastNameEdit().PressKey(VK_TAB);
  form.FirstNameEdit().PressKey(VK_TAB);
  EXPECT_TRUE(form.MIEdit().Focused());
  EXPECT_EQ(form.Contributors(), (ContributorList{{"", "", ""}}));
  EXPECT_EQ(form.FormatPrimaryNames(MLA), "");
  EXPECT_TRUE(form.Contributors().empty());
  EXPECT_EQ(See(form), (Seen{"Author 1 of 1", "", "", "", "------"}));
}

TEST_F(AuthorFormTest, ButtonsAreEnabledByThePositionAndTheFields) {
  Enter(three);
  static const struct {
    int index;
    Seen seen;
  } cases[] = {
      {0, {"Author 1 of 3", "Smith", "John", "Q", "--NLAD"}},
      {1, {"Author 2 of 3", "Doe", "Jane", "", "FBNLAD"}},
      {2, {"Author 3 of 3", "Roe", "Richard", "", "FB--AD"}},
      {3, {"Author 4 of 4", "", "", "", "FB----"}},
      {99, {"Author 4 of 4", "", "", "", "FB----"}},  // beyond the list: the new entry
  };
  for (const auto& c : cases) {
    form.ShowEntry(c.index);
    EXPECT_EQ(See(form), c.seen) << c.index;
    EXPECT_EQ(form.CurrentIndex(), std::min(c.index, 3));
  }
  form.ShowEntry(-1);
  EXPECT_EQ(See(form), cases[4].seen) << "a negative index shows nothing";
  EXPECT_EQ(form.LastNameEdit().SelLength(), 0);
  form.ShowEntry(0);
  EXPECT_EQ(form.LastNameEdit().SelText(), "Smith") << "the last name is selected for overtyping";
}

TEST_F(AuthorFormTest, MovingStoresWhatIsInTheFieldsFirst) {
  Enter(three);
  form.ShowEntry(0);
  form.NextButton().Click();
  form.MIEdit().TypeText("r");
  form.LastButton().Click();
  EXPECT_EQ(See(form), (Seen{"Author 3 of 3", "Roe", "Richard", "", "FB--AD"}));
  form.BackButton().Click();
  EXPECT_EQ(See(form), (Seen{"Author 2 of 3", "Doe", "Jane", "R", "FBNLAD"}));
  form.MIEdit().SetText("S");  // changed without a key release: the next move stores it anyway
  form.FirstButton().Click();
  EXPECT_EQ(form.Contributors()[1], (Contributor{"Doe", "Jane", "S"}));
}

TEST_F(AuthorFormTest, DeleteAsksAndShowsTheEntryThatMovesUp) {
  static const struct {
    const char* name;
    int shown;
    DialogResult answer;
    Seen seen;
    std::size_t left;
  } cases[] = {
      {"the first of three", 0, DialogResult::Ok, {"Author 1 of 2", "Doe", "Jane", "", "--NLAD"}, 2},
      {"the last of three", 2, DialogResult::Ok, {"Author 3 of 3", "", "", "", "FB----"}, 2},
      {"Cancel leaves everything", 1, DialogResult::Cancel, {"Author 2 of 3", "Doe", "Jane", "", "FBNLAD"}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    form.ClearContributors();
    Enter(three);
    form.ShowEntry(c.shown);
    port.QueueAnswer(c.answer);
    form.DeleteButton().Click();
    EXPECT_EQ(port.Dialogs().back(),
              (MessageDialog{"Confirm", "Are you sure you want to delete this Author from the list?",
                             DialogIcon::Confirmation, DialogButtons::OkCancel}));
    EXPECT_EQ(See(form), c.seen);
    EXPECT_EQ(form.Contributors().size(), c.left);
  }
}

TEST_F(AuthorFormTest, DeletingTheOnlyEntryShowsANewFirstEntry) {
  form.LastNameEdit().TypeText("Smith");
  form.DeleteButton().Click();
  EXPECT_EQ(See(form), (Seen{"Author 1 of 1", "", "", "", "------"}));
  EXPECT_TRUE(form.Contributors().empty());
}

TEST_F(AuthorFormTest, DeleteActsOnlyOnAStoredEntry) {
  Enter(three);
  form.LastNameEdit().SetText("Pasted");  // text that no key release has stored yet
  form.UpdateEditButtons();
  form.DeleteButtonClick();
  EXPECT_TRUE(port.Dialogs().empty());
  EXPECT_EQ(form.Contributors(), three);
}

TEST_F(AuthorFormTest, TheMiddleInitialTakesOneCharacterInUpperCase) {
  form.MIEdit().TypeText("qx");
  EXPECT_EQ(form.MIEdit().Text(), "Q");
  EXPECT_EQ(form.Contributors(), (ContributorList{{"", "", "Q"}}));
}

TEST_F(AuthorFormTest, CtrlXCAndVWorkOnKeyReleaseAndTheResultIsStored) {
  form.LastNameEdit().TypeText("Smith");
  form.LastNameEdit().SelectAll();
  form.LastNameEdit().PressKey('C', ShiftState::Ctrl);
  EXPECT_EQ(port.ClipboardText(), "Smith");
  form.FirstNameEdit().PressKey('V', ShiftState::Ctrl);
  EXPECT_EQ(form.Contributors(), (ContributorList{{"Smith", "Smith", ""}}));
  form.FirstNameEdit().SelectAll();
  form.FirstNameEdit().PressKey('X', ShiftState::Ctrl);
  EXPECT_EQ(form.Contributors(), (ContributorList{{"Smith", "", ""}}));
  form.FirstNameEdit().PressKey('V', ShiftState::Ctrl | ShiftState::Shift);  // Shift is not looked at
  EXPECT_EQ(form.Contributors(), (ContributorList{{"Smith", "Smith", ""}}));
}

TEST_F(AuthorFormTest, SetRoleRewritesTheHintsAndTheNextHeader) {
  form.SetRole("Editor");
  static const struct {
    const char* control;
    const char* hint;
  } cases[] = {
      {"FirstButton", "Go to the first Editor"},
      {"BackButton", "Go to the previous Editor"},
      {"NextButton", "Go to the next Editor"},
      {"LastButton", "Go to the last Editor"},
      {"AddButton", "Add a new Editor"},
      {"DeleteButton", "Delete the current Editor"},
      {"LastNameEdit", "The last name of the current Editor"},
      {"FirstNameEdit", "The first name of the current Editor"},
      {"MIEdit", "The middle initial of the current Editor"},
  };
  for (const auto& c : cases) EXPECT_EQ(form.FindComponent<Control>(c.control)->Hint(), c.hint);
  EXPECT_EQ(form.HeaderLabel().Caption(), "Author 1 of 1") << "the header waits for the next show";
  form.ClearContributors();
  EXPECT_EQ(form.HeaderLabel().Caption(), "Editor 1 of 1");
  Enter({{"Brown", "Ann", ""}});
  form.FirstButton().Click();
  form.DeleteButton().Click();
  EXPECT_EQ(port.Dialogs().back().text, "Are you sure you want to delete this Editor from the list?");
}

TEST_F(AuthorFormTest, SavedEntriesLoadBackAndShowTheFirst) {
  Enter(three);
  TIniList ini;
  form.SaveContributors("Author", ini);
  TAuthorForm other("Other");
  other.LoadContributors("Author", ini);
  EXPECT_EQ(other.Contributors(), three);
  EXPECT_EQ(See(other), (Seen{"Author 1 of 3", "Smith", "John", "Q", "--NLAD"}));
}

TEST_F(AuthorFormTest, AcceleratorsReachTheFieldsAndButtons) {
  form.LastNameEdit().TypeText("Smith");
  form.LastNameEdit().PressKey('F', ShiftState::Alt);
  EXPECT_TRUE(form.FirstNameEdit().Focused());
  form.FirstNameEdit().PressKey('R', ShiftState::Alt);  // Fi&rst
  EXPECT_EQ(See(form), (Seen{"Author 1 of 1", "Smith", "", "", "----AD"}));
}

TEST_F(AuthorFormTest, TheDescriptionLaysOutTheFieldsAndButtons) {
  static const struct {
    const char* control;
    const char* caption;
    const char* parent;
    TBounds bounds;
  } cases[] = {
      {"AuthorPanel", "", "AuthorForm", {0, 0, 489, 53}},
      {"NavigationPanel", "", "AuthorForm", {489, 0, 98, 53}},
      {"LastNameLabel", "&Last Name:", "AuthorPanel", {4, 29, 56, 13}},
      {"LastNameEdit", "", "AuthorPanel", {62, 25, 126, 21}},
      {"MIEdit", "", "AuthorPanel", {444, 25, 18, 21}},
      {"FirstButton", "Fi&rst", "NavigationPanel", {1, 2, 32, 24}},
      {"DeleteButton", "&Delete", "NavigationPanel", {65, 27, 32, 24}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    const auto* control = form.FindComponent<Control>(c.control);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Caption(), c.caption);
    EXPECT_EQ(control->Parent()->Name(), c.parent);
    EXPECT_EQ(control->Bounds(), c.bounds);
  }
  EXPECT_EQ(form.Bounds(), (TBounds{0, 0, 595, 83}));
  EXPECT_EQ(form.BorderStyle(), TBorderStyle::None);
  EXPECT_EQ(form.HeaderLabel().Font(), (TFont{"MS Sans Serif", -16}));
  EXPECT_EQ(form.LastNameEdit().Font(), (TFont{"MS Sans Serif", -11}));
  EXPECT_TRUE(form.AddButton().Default());
  EXPECT_EQ(form.MIEdit().MaxLength(), 1);
  std::vector<std::string> tabOrder;
  for (const Control* c : form.TabStops()) tabOrder.push_back(c->Name());
  EXPECT_EQ(tabOrder, (std::vector<std::string>{"LastNameEdit", "FirstNameEdit", "MIEdit"}));
}

TEST(TAuthorFormInASourceForm, TheSourceFormTracksTheFocusAndFormatsThroughIt) {
  HeadlessPlatform port;
  ScopedPlatform use(port);
  TForm book("Book");
  auto& panel = book.Create<TPanel>("EditorPanel");
  panel.SetParent(&book);
  auto& editors = book.Create<TAuthorForm>("EditorForm");
  editors.SetParent(&panel);
  editors.SetAlign(TAlign::Client);
  editors.SetRole("Editor");
  book.Show();
  editors.Show();

  EXPECT_EQ(book.FocusedControl(), &editors.LastNameEdit());
  editors.LastNameEdit().TypeText("Brown");
  editors.FirstNameEdit().TypeText("Ann");
  editors.AddButton().Click();
  editors.MIEdit().PressKey(VK_TAB);  // a blank entry, dropped by the formatting calls

  EXPECT_EQ(editors.FormatSecondaryNames(false, MLA), "Brown, Ann, ed. ");
  EXPECT_EQ(editors.FormatSecondaryNames(true, APA), "Brown, A. (Ed.). ");
  EXPECT_EQ(editors.FormatPrimaryNames(MLA), "Brown, Ann. ");
  EXPECT_EQ(See(editors), (Seen{"Editor 1 of 1", "Brown", "Ann", "", "----AD"}));
}

}  // namespace
}  // namespace citara
