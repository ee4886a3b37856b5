// The ten controls hosted in place by Wine's ATL container window (AtlAxWin, from atl.dll), driven
// through their real windows with the messages a user's keyboard and mouse make, and checked
// through the dispatch interface.
#include <gtest/gtest.h>

#include "tests/server/host_support.h"

#include <commctrl.h>
#include <objsafe.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using host::Get;
using host::Put;
using host::Ref;
using host::Variant;

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

struct ControlRow {
  const wchar_t* progId;
  const wchar_t* textLabel;  // a text field to type into
  const wchar_t* savedKey;   // its key in the saved data
  const wchar_t* nextKey;    // the key of the field that Tab moves to
  const wchar_t* dateLabel;  // a date field, or nullptr
  bool authors;
  int width, height;
};

const ControlRow kControls[] = {
    {L"Citara.Book", L"Title:", L"Title:", L"Series:", nullptr, true, 607, 225},
    {L"Citara.Encyclopedia", L"Article Title:", L"Article Title:", L"Encyclopedia:", nullptr, true, 607, 164},
    {L"Citara.Journal", L"Article Title:", L"Article Title:", L"Journal:", nullptr, true, 607, 142},
    {L"Citara.Magazine", L"Article Title:", L"Article Title:", L"Magazine:", L"Date of Publication:", true, 607, 144},
    {L"Citara.Newspaper", L"Article Title:", L"Article Title:", L"Newspaper:", L"Date of Publication:", true, 607, 142},
    {L"Citara.Other", L"Title:", L"Title:", L"Series:", L"Date of Publication:", true, 607, 251},
    {L"CitaraWeb.WebArticle", L"URL:", L"URL:", nullptr, L"Date Retrieved:", true, 597, 140},
    {L"CitaraWeb.PersonalSite", L"URL:", L"URL:", nullptr, L"Date Retrieved:", true, 597, 120},
    {L"CitaraWeb.ProfessionalSite", L"URL:", L"URL:", nullptr, L"Date Retrieved:", false, 597, 85},
    {L"CitaraWeb.Newsgroup", L"URL:", L"URL:", nullptr, L"Date Retrieved:", true, 597, 140},
};

std::wstring TextOfWindow(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// Every window inside `root` (nullptr: the thread's top-level windows).
std::vector<HWND> WindowsIn(HWND root) {
  std::vector<HWND> all;
  if (root) EnumChildWindows(root, Collect, reinterpret_cast<LPARAM>(&all));
  else EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool IsStatic(HWND hwnd) { return ClassOf(hwnd) == L"Static" || ClassOf(hwnd) == L"STATIC"; }

// The first STATIC inside `root` whose text is `caption`.
HWND FindLabel(HWND root, const std::wstring& caption) {
  for (HWND hwnd : WindowsIn(root)) {
    if (IsStatic(hwnd) && IsWindowVisible(hwnd) && TextOfWindow(hwnd) == caption) return hwnd;
  }
  return nullptr;
}

// The window `dx` pixels right of the right edge of `hwnd`, at its middle height.
HWND WindowRightOf(HWND hwnd, int dx) {
  RECT r;
  GetWindowRect(hwnd, &r);
  POINT p{r.right + dx, (r.top + r.bottom) / 2};
  HWND parent = GetParent(hwnd);
  ScreenToClient(parent, &p);
  return ChildWindowFromPointEx(parent, p, CWP_SKIPINVISIBLE);
}

HWND FieldOf(HWND root, const std::wstring& label) {
  HWND l = FindLabel(root, label);
  return l ? WindowRightOf(l, 6) : nullptr;
}

void SetKeyHeld(BYTE key, bool held) {
  BYTE state[256];
  GetKeyboardState(state);
  state[key] = held ? 0x80 : 0;
  SetKeyboardState(state);
}

// One key stroke into the window that has the focus: key down, the character it types, key up.
void Stroke(UINT key, wchar_t ch) {
  HWND target = GetFocus();
  SendMessageW(target, WM_KEYDOWN, key, 1);
  if (ch != 0) SendMessageW(GetFocus(), WM_CHAR, ch, 1);
  SendMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
}

void Type(const std::wstring& text) {
  for (wchar_t c : text) {
    const SHORT scan = VkKeyScanW(c);
    const bool shift = (scan & 0x100) != 0;
    if (shift) SetKeyHeld(VK_SHIFT, true);
    Stroke(static_cast<UINT>(scan & 0xFF), c);
    if (shift) SetKeyHeld(VK_SHIFT, false);
  }
}

// Ctrl + a letter: the character it makes is the letter's control code.
void CtrlStroke(wchar_t letter) {
  SetKeyHeld(VK_CONTROL, true);
  Stroke(letter, static_cast<wchar_t>(letter - L'A' + 1));
  SetKeyHeld(VK_CONTROL, false);
}

void Click(HWND hwnd, int x, int y) {
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

std::wstring Saved(IDispatch* control) {
  Variant v;
  EXPECT_EQ(Get(control, L"SavedData", v), S_OK);
  return v.Text();
}

bool HasLine(const std::wstring& saved, const std::wstring& line) {
  return (L"\r\n" + saved + L"\r\n").find(L"\r\n" + line + L"\r\n") != std::wstring::npos ||
         (L"\n" + saved + L"\n").find(L"\n" + line + L"\n") != std::wstring::npos;
}

HWND VisiblePopup() {
  for (HWND hwnd : WindowsIn(nullptr)) {
    if (ClassOf(hwnd) == L"CitaraCalendarPopup" && IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

// Answers the next message box from a timer that its modal loop runs, and keeps what it showed.
struct MessageBoxAnswer {
  std::wstring caption, text;
  bool hasCancel = false;
  bool centred = false;
  int seen = 0;
  UINT button = IDOK;
};
thread_local MessageBoxAnswer* answering = nullptr;  // each thread answers its own boxes

void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD) {
  if (answering == nullptr) return;
  HWND box = nullptr;
  for (HWND hwnd : WindowsIn(nullptr)) {
    if (ClassOf(hwnd) == L"#32770" && IsWindowVisible(hwnd)) box = hwnd;
  }
  if (box == nullptr) return;
  ++answering->seen;
  answering->caption = TextOfWindow(box);
  RECT r;
  GetWindowRect(box, &r);
  answering->centred = std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1 &&
                       std::abs((r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1;
  for (HWND hwnd : WindowsIn(box)) {
    const std::wstring text = TextOfWindow(hwnd);
    if (IsStatic(hwnd) && text.size() > answering->text.size()) answering->text = text;
  }
  answering->hasCancel = GetDlgItem(box, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(box, IDCANCEL));
  PostMessageW(box, WM_COMMAND, answering->button, 0);
}

// Records the events that the control fires and cancels the key 'x'.
class EventSink final : public IDispatch {
 public:
  explicit EventSink(IID events) : events_(events) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    fired.push_back(id);
    if (id == 10 && params->cArgs == 1 && (params->rgvarg[0].vt & VT_BYREF) && *params->rgvarg[0].piVal == L'x') {
      *params->rgvarg[0].piVal = 0;
    }
    return S_OK;
  }
  int Count(DISPID id) const { return static_cast<int>(std::count(fired.begin(), fired.end(), id)); }
  std::vector<DISPID> fired;

 private:
  IID events_;
  ULONG references_ = 1;
};

class ContainerTest : public ::testing::TestWithParam<ControlRow> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    atl = LoadLibraryW(L"atl.dll");
    ASSERT_NE(atl, nullptr);
    auto init = reinterpret_cast<AtlAxWinInitFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    getControl = reinterpret_cast<AtlAxGetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    ASSERT_NE(init, nullptr);
    ASSERT_NE(getControl, nullptr);
    ASSERT_TRUE(init());
  }

  void SetUp() override {
    const ControlRow& row = GetParam();
    frame = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 700, 400, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    container = CreateWindowExW(0, L"AtlAxWin", row.progId, WS_CHILD | WS_VISIBLE, 0, 0, row.width, row.height,
                                frame, nullptr, nullptr, nullptr);
    ASSERT_NE(container, nullptr);
    Ref<IUnknown> unknown;
    ASSERT_EQ(getControl(container, unknown.put()), S_OK);
    ASSERT_EQ(unknown->QueryInterface(IID_IDispatch, control.put_void()), S_OK);
    Ref<IOleInPlaceObject> inPlace;
    ASSERT_EQ(unknown->QueryInterface(IID_IOleInPlaceObject, inPlace.put_void()), S_OK);
    ASSERT_EQ(inPlace->GetWindow(&form), S_OK);
    Pump();
  }

  void TearDown() override {
    control.reset();
    if (frame) DestroyWindow(frame);
    Pump();
  }

  // Puts the focus into the field labelled `label` by a click at its left edge.
  HWND ClickInto(const std::wstring& label) {
    HWND field = FieldOf(form, label);
    EXPECT_NE(field, nullptr) << "no field labelled " << std::string(label.begin(), label.end());
    if (field) Click(field, 2, 5);
    return field;
  }

  static HMODULE atl;
  static AtlAxGetControlFn getControl;
  HWND frame = nullptr, container = nullptr, form = nullptr;
  Ref<IDispatch> control;
};

HMODULE ContainerTest::atl = nullptr;
AtlAxGetControlFn ContainerTest::getControl = nullptr;

TEST_P(ContainerTest, ActivatesInPlaceAsAChildOfTheContainerSizedByItsRectangle) {
  const ControlRow& row = GetParam();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(GetParent(form), container);
  EXPECT_TRUE(IsWindowVisible(form));
  RECT r;
  GetClientRect(form, &r);
  EXPECT_EQ(r.right, row.width);
  EXPECT_EQ(r.bottom, row.height);
  // The container passes every new size on through SetObjectRects.
  MoveWindow(container, 0, 0, row.width + 40, row.height + 30, TRUE);
  Pump();
  GetClientRect(form, &r);
  EXPECT_EQ(r.right, row.width + 40);
  EXPECT_EQ(r.bottom, row.height + 30);
  // Every labelled field of the main panel stands inside the form.
  HWND field = FieldOf(form, row.textLabel);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(ClassOf(field), L"Edit");
  RECT fieldRect, formRect;
  GetWindowRect(field, &fieldRect);
  GetWindowRect(form, &formRect);
  EXPECT_LE(fieldRect.right, formRect.right);
  EXPECT_LE(fieldRect.bottom, formRect.bottom);
}

// A click moves the focus from one field of the form to another and back, and the keys follow it.
TEST_P(ContainerTest, AClickMovesTheFocusFromOneFieldToAnother) {
  const ControlRow& row = GetParam();
  HWND text = ClickInto(row.textLabel);
  ASSERT_EQ(GetFocus(), text);
  HWND other = ClickInto(row.authors ? L"&Last Name:" : row.dateLabel);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(GetFocus(), other);
  SendMessageW(other, EM_SETSEL, 0, -1);
  Type(L"1");
  EXPECT_EQ(TextOfWindow(text), L"");
  EXPECT_NE(TextOfWindow(other).find(L'1'), std::wstring::npos);
  Click(text, 2, 5);
  EXPECT_EQ(GetFocus(), text);
  Type(L"back");
  EXPECT_EQ(TextOfWindow(text), L"back");
}

TEST_P(ContainerTest, TypingTabAndTheClipboardKeysReachTheModelOnce) {
  const ControlRow& row = GetParam();
  HWND field = ClickInto(row.textLabel);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(GetFocus(), field);
  Type(L"war and peace");
  EXPECT_EQ(TextOfWindow(field), L"war and peace");

  // Ctrl+C copies the selection once; Ctrl+V pastes it once at the caret.
  SendMessageW(field, EM_SETSEL, 4, 7);  // "and", as a drag of the mouse selects it
  CtrlStroke(L'C');
  Stroke(VK_END, 0);
  CtrlStroke(L'V');
  EXPECT_EQ(TextOfWindow(field), L"war and peaceand");

  // Tab moves the focus to the next field in tab order, where typing goes on.
  Stroke(VK_TAB, L'\t');
  EXPECT_NE(GetFocus(), field);
  EXPECT_EQ(ClassOf(GetFocus()), L"Edit");
  if (row.nextKey != nullptr) Type(L"next");
  // (Reading the saved data moves the focus to the author list, as every entry does.)
  const std::wstring saved = Saved(control.get());
  EXPECT_TRUE(HasLine(saved, std::wstring(row.savedKey) + L"=war and peaceand"));
  if (row.nextKey != nullptr) {
    EXPECT_TRUE(HasLine(saved, std::wstring(row.nextKey) + L"=next"));
  }
}

TEST_P(ContainerTest, AContributorButtonStoresTheNameAndShowsANewEntry) {
  const ControlRow& row = GetParam();
  if (!row.authors) GTEST_SKIP() << "no contributors";
  HWND last = ClickInto(L"&Last Name:");
  ASSERT_NE(last, nullptr);
  Type(L"Smith");
  // The navigation panel stands right of the author panel; its buttons in creation order:
  // First, Last, Add (row 1), Back, Next, Delete (row 2).
  HWND navigation = GetWindow(GetParent(last), GW_HWNDNEXT);
  ASSERT_NE(navigation, nullptr);
  std::vector<HWND> buttons;
  for (HWND b = GetWindow(navigation, GW_CHILD); b != nullptr; b = GetWindow(b, GW_HWNDNEXT)) buttons.push_back(b);
  ASSERT_EQ(buttons.size(), 6u);
  EXPECT_TRUE(IsWindowEnabled(buttons[2]));   // Add: a name is typed
  EXPECT_FALSE(IsWindowEnabled(buttons[0]));  // First: on the first entry
  Click(buttons[2], 16, 12);
  EXPECT_EQ(TextOfWindow(last), L"");
  EXPECT_NE(FindLabel(form, L"Author 2 of 2"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(buttons[0]));   // First: an entry lies before the new one
  EXPECT_FALSE(IsWindowEnabled(buttons[2]));  // Add: the new entry is blank
  EXPECT_EQ(GetFocus(), last);
  // Alt + the caption's accelerator ("&Add") clicks the button as well.
  Type(L"Jones");
  SetKeyHeld(VK_MENU, true);
  SendMessageW(GetFocus(), WM_SYSKEYDOWN, 'A', 1 | (1 << 29));
  SendMessageW(GetFocus(), WM_SYSCHAR, 'a', 1 | (1 << 29));
  SendMessageW(GetFocus(), WM_SYSKEYUP, 'A', 0xC0000001 | (1 << 29));
  SetKeyHeld(VK_MENU, false);
  EXPECT_NE(FindLabel(form, L"Author 3 of 3"), nullptr);
  const std::wstring saved = Saved(control.get());
  EXPECT_TRUE(HasLine(saved, L"*Author0Last=Smith"));
  EXPECT_TRUE(HasLine(saved, L"*Author1Last=Jones"));
}

// The year field's spin button: its upper half counts up, its lower half down, and the focus stays
// in the field being edited.
TEST_P(ContainerTest, TheYearSpinButtonStepsTheYearWithoutTakingTheFocus) {
  HWND year = FieldOf(form, L"Year:");
  if (year == nullptr) GTEST_SKIP() << "no year field";
  HWND title = ClickInto(GetParam().textLabel);
  ASSERT_NE(title, nullptr);
  HWND spin = WindowRightOf(year, 3);
  ASSERT_NE(spin, nullptr);
  ASSERT_NE(spin, year);
  EXPECT_EQ(ClassOf(spin), L"Button");
  RECT r;
  GetClientRect(spin, &r);
  const int start = std::stoi(TextOfWindow(year));
  Click(spin, r.right / 2, r.bottom / 4);
  EXPECT_EQ(TextOfWindow(year), std::to_wstring(start + 1));
  Click(spin, r.right / 2, r.bottom * 3 / 4);
  Click(spin, r.right / 2, r.bottom * 3 / 4);
  EXPECT_EQ(TextOfWindow(year), std::to_wstring(start - 1));
  EXPECT_EQ(GetFocus(), title);
  EXPECT_TRUE(HasLine(Saved(control.get()), L"Year:=" + std::to_wstring(start - 1)));
}

TEST_P(ContainerTest, TheDateDropDownPicksADayAndEscPutsItBack) {
  const ControlRow& row = GetParam();
  if (row.dateLabel == nullptr) GTEST_SKIP() << "no date field";
  HWND field = ClickInto(row.dateLabel);
  ASSERT_NE(field, nullptr);
  Type(L"03152001");  // over the editing text mm/dd/yyyy
  EXPECT_EQ(TextOfWindow(field), L"03/15/2001");
  HWND drop = WindowRightOf(field, 8);
  ASSERT_NE(drop, nullptr);
  ASSERT_NE(drop, field);
  Click(drop, 8, 8);
  HWND popup = VisiblePopup();
  ASSERT_NE(popup, nullptr);
  RECT fieldRect, popupRect;
  GetWindowRect(field, &fieldRect);
  GetWindowRect(popup, &popupRect);
  EXPECT_EQ(popupRect.top, fieldRect.bottom + 1);  // opens one pixel below the field
  HWND calendar = GetWindow(popup, GW_CHILD);
  ASSERT_NE(calendar, nullptr);
  // March 2001 starts on a Thursday: the 20th is the fourth week's Tuesday. Title row 20 pixels,
  // weekday row 16, then six rows over the rest of the 180 x 142 calendar.
  RECT c;
  GetClientRect(calendar, &c);
  const int cellWidth = c.right / 7, cellHeight = (c.bottom - 36) / 6;
  Click(calendar, 2 * cellWidth + cellWidth / 2, 36 + 3 * cellHeight + cellHeight / 2);
  EXPECT_EQ(VisiblePopup(), nullptr);
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(TextOfWindow(field), L"03/20/2001");

  // Open again, step two months with Page Down, then Esc: the date it was opened with comes back.
  Click(drop, 8, 8);
  ASSERT_NE(VisiblePopup(), nullptr);
  Stroke(VK_NEXT, 0);
  Stroke(VK_NEXT, 0);
  Stroke(VK_ESCAPE, 0x1B);
  EXPECT_EQ(VisiblePopup(), nullptr);
  EXPECT_EQ(TextOfWindow(field), L"03/20/2001");

  // Leaving the field with a date that cannot be read shows the message and keeps the focus there.
  ClickInto(row.dateLabel);  // the caret back at the start: digits overwrite
  Type(L"13451999");
  EXPECT_EQ(TextOfWindow(field), L"13/45/1999");
  MessageBoxAnswer answer;
  answering = &answer;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerMessageBox);
  Stroke(VK_TAB, L'\t');
  KillTimer(nullptr, timer);
  answering = nullptr;
  EXPECT_EQ(answer.seen, 1);
  EXPECT_EQ(answer.caption, L"Error");
  EXPECT_EQ(answer.text, L"13/45/1999 is not a valid date.  Make sure the format is MM/DD/YYYY");
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(TextOfWindow(field), L"13/45/1999");

  // The drop-down replaces the unreadable text by the held date (20 March) without a message; the
  // title area's month step, held down, repeats on a timer that stops when the button comes up.
  Click(drop, 8, 8);
  ASSERT_NE(VisiblePopup(), nullptr);
  SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.right - 5, 5));
  SendMessageW(calendar, WM_LBUTTONUP, 0, MAKELPARAM(c.right - 5, 5));
  Stroke(VK_RETURN, L'\r');
  EXPECT_EQ(VisiblePopup(), nullptr);
  EXPECT_EQ(TextOfWindow(field), L"04/20/2001");
}

// The Edit windows inside `root` whose text contains `part`, in creation order.
std::vector<HWND> EditsShowing(HWND root, const std::wstring& part) {
  std::vector<HWND> edits;
  for (HWND hwnd : WindowsIn(root)) {
    if (ClassOf(hwnd) == L"Edit" && TextOfWindow(hwnd).find(part) != std::wstring::npos) edits.push_back(hwnd);
  }
  return edits;
}

// A press and release of a button that acts on the release wherever the mouse is on it.
void Press(HWND button) {
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(button, WM_LBUTTONUP, 0, 0);
}

// Runs `action` while a timer answers every message box it shows (OK), and tells what they showed.
template <class Action>
MessageBoxAnswer AnsweringBoxes(Action action) {
  MessageBoxAnswer answer;
  answering = &answer;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerMessageBox);
  action();
  KillTimer(nullptr, timer);
  answering = nullptr;
  return answer;
}

// A host's Reset or SavedData put while a date field has the focus: the field shows text that it
// takes, so the focus moves on to where typing starts without the invalid-date message.
void HostCallLeavesAFocusedDateFieldWithTextItTakes(IDispatch* control, HWND form, bool reset) {
  const wchar_t* const kDates = L"*Date=35796\r\n*DateRetrieved=35796";  // 1 January 1998
  ASSERT_EQ(Put(control, L"SavedData", kDates), S_OK);
  HWND field = nullptr;
  for (HWND edit : EditsShowing(form, L"1998")) {
    if (field == nullptr && TextOfWindow(edit) != L"1998") field = edit;  // not a year field
  }
  ASSERT_NE(field, nullptr);
  Click(field, 1, 1);  // as a user puts the caret into the field
  ASSERT_EQ(GetFocus(), field);
  EXPECT_EQ(TextOfWindow(field), L"01/01/1998");
  const MessageBoxAnswer answer = AnsweringBoxes([&] {
    if (reset) {
      EXPECT_EQ(host::Call(control, L"Reset", DISPATCH_METHOD, {}, nullptr), S_OK);
    } else {
      EXPECT_EQ(Put(control, L"SavedData", kDates), S_OK);
    }
  });
  EXPECT_EQ(answer.seen, 0) << std::string(answer.text.begin(), answer.text.end());
  EXPECT_NE(GetFocus(), field);
  EXPECT_EQ(ClassOf(GetFocus()), L"Edit");
  const std::wstring shown = TextOfWindow(field);
  EXPECT_NE(shown.find(L"1998"), std::wstring::npos);
  EXPECT_EQ(shown.find(L'/'), std::wstring::npos) << "the display text, not the one for typing";
  // The field takes the focus again, by a click and by the host's SetFocus from elsewhere.
  Click(field, 1, 1);
  EXPECT_EQ(GetFocus(), field) << "a click after the host's call";
  EXPECT_NE(TextOfWindow(field).find(L'/'), std::wstring::npos) << "the text for typing";
  Stroke(VK_TAB, 0);
  ASSERT_NE(GetFocus(), field);
  SetFocus(field);
  EXPECT_EQ(GetFocus(), field) << "SetFocus after the host's call";
}

TEST_P(ContainerTest, AHostsResetLeavesAFocusedDateFieldWithTextItTakes) {
  if (GetParam().dateLabel == nullptr) GTEST_SKIP() << "no date field";
  HostCallLeavesAFocusedDateFieldWithTextItTakes(control.get(), form, /*reset=*/true);
}

TEST_P(ContainerTest, AHostsLoadLeavesAFocusedDateFieldWithTextItTakes) {
  if (GetParam().dateLabel == nullptr) GTEST_SKIP() << "no date field";
  HostCallLeavesAFocusedDateFieldWithTextItTakes(control.get(), form, /*reset=*/false);
}

// The drop-down of one date field closes while the other holds a half-typed date that keeps the
// focus: the first field shows the date it now holds, in its display format.
TEST_P(ContainerTest, ADropDownClosingWithoutTheFocusShowsTheDateItsFieldHolds) {
  ASSERT_EQ(Put(control.get(), L"SavedData", L"*Date=20460\r\n*DateRetrieved=35796"), S_OK);  // 6 Jan 1956, 1 Jan 1998
  const std::vector<HWND> published = EditsShowing(form, L"1956"), retrieved = EditsShowing(form, L"1998");
  if (published.size() != 1 || retrieved.size() != 1) GTEST_SKIP() << "not two date fields";
  HWND date = published[0], other = retrieved[0];
  EXPECT_EQ(TextOfWindow(date), L"January 6, 1956");
  Click(other, 1, 1);
  ASSERT_EQ(GetFocus(), other);
  SendMessageW(other, EM_SETSEL, 0, 0);
  Type(L"1345");
  EXPECT_EQ(TextOfWindow(other), L"13/45/1998");

  HWND drop = GetWindow(date, GW_HWNDNEXT);  // created right after its field
  ASSERT_NE(drop, nullptr);
  ASSERT_EQ(ClassOf(drop), L"Button");
  Press(drop);
  ASSERT_NE(VisiblePopup(), nullptr);
  EXPECT_EQ(GetFocus(), other) << "the drop button takes no focus";
  Stroke(VK_DOWN, 0);  // a week later: 13 January 1956
  const MessageBoxAnswer answer = AnsweringBoxes([] { Stroke(VK_RETURN, 0); });
  EXPECT_EQ(VisiblePopup(), nullptr);
  EXPECT_EQ(answer.seen, 1);
  EXPECT_EQ(answer.text, L"13/45/1998 is not a valid date.  Make sure the format is MM/DD/YYYY");
  EXPECT_EQ(GetFocus(), other);
  EXPECT_EQ(TextOfWindow(date), L"January 13, 1956");
  std::wstring saved;
  const MessageBoxAnswer read = AnsweringBoxes([&] { saved = Saved(control.get()); });
  EXPECT_EQ(read.seen, 0) << "a read shows no message";
  EXPECT_TRUE(HasLine(saved, L"*Date=20467"));
}

TEST_P(ContainerTest, ValidateDataShowsTheRequiredFieldMessageOnceAsARealMessageBox) {
  const ControlRow& row = GetParam();
  ASSERT_EQ(host::Call(control.get(), L"Reset", DISPATCH_METHOD, {}, nullptr), S_OK);
  SetFocus(frame);  // the host has the focus when it asks
  // A required text field left blank (the URL or the title) fails the check.
  MessageBoxAnswer answer;
  answering = &answer;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerMessageBox);
  Variant valid;
  EXPECT_EQ(host::Call(control.get(), L"ValidateData", DISPATCH_METHOD, {}, &valid), S_OK);
  KillTimer(nullptr, timer);
  answering = nullptr;
  EXPECT_EQ(valid.Text(), L"0");
  EXPECT_EQ(answer.seen, 1);
  EXPECT_EQ(answer.caption, L"Error");
  EXPECT_TRUE(answer.centred);
  EXPECT_EQ(answer.text,
            L"The yellow fields are required for this type of reference.  At least one of the required fields is "
            L"blank.  Please enter all the necessary data.");
  EXPECT_FALSE(answer.hasCancel);
  // Once the message is closed, the focus is in the first blank required field.
  EXPECT_EQ(GetFocus(), FieldOf(form, row.textLabel));
}

TEST_P(ContainerTest, WindowActivityFiresTheEventsAndASinkCancelsAKey) {
  const ControlRow& row = GetParam();
  Ref<IConnectionPointContainer> points;
  ASSERT_EQ(control->QueryInterface(IID_IConnectionPointContainer, points.put_void()), S_OK);
  Ref<IEnumConnectionPoints> all;
  ASSERT_EQ(points->EnumConnectionPoints(all.put()), S_OK);
  Ref<IConnectionPoint> point;
  ULONG fetched = 0;
  ASSERT_EQ(all->Next(1, point.put(), &fetched), S_OK);
  IID events{};
  ASSERT_EQ(point->GetConnectionInterface(&events), S_OK);
  EventSink sink(events);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  ASSERT_EQ(Put(control.get(), L"KeyPreview", host::Arg(VT_BOOL, VARIANT_TRUE)), S_OK);

  SetFocus(frame);
  HWND field = ClickInto(row.textLabel);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(sink.Count(1), 1);  // OnActivate: the focus came into the form
  Type(L"axb");
  EXPECT_EQ(TextOfWindow(field), L"ab");  // the sink set the key x to 0
  EXPECT_EQ(sink.Count(10), 3);
  Variant active;
  EXPECT_EQ(Get(control.get(), L"Active", active), S_OK);
  EXPECT_EQ(active.Text(), L"-1");

  SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  SendMessageW(form, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ(sink.Count(2), 1);  // OnClick
  EXPECT_EQ(sink.Count(4), 1);  // OnDblClick
  InvalidateRect(form, nullptr, TRUE);
  UpdateWindow(form);
  EXPECT_GE(sink.Count(15), 1);  // OnPaint

  SetFocus(frame);
  EXPECT_EQ(sink.Count(6), 1);  // OnDeactivate: the focus left the form
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
}

TEST_P(ContainerTest, DeleteAsksInARealMessageBoxAndAPastedNameIsStored) {
  const ControlRow& row = GetParam();
  if (!row.authors) GTEST_SKIP() << "no contributors";
  HWND last = ClickInto(L"&Last Name:");
  ASSERT_NE(last, nullptr);
  // A name pasted from the edit's context menu is stored as a typed one is.
  ASSERT_TRUE(OpenClipboard(frame));
  EmptyClipboard();
  const wchar_t name[] = L"Smith";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(name));
  std::memcpy(GlobalLock(memory), name, sizeof(name));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SendMessageW(last, WM_PASTE, 0, 0);
  EXPECT_EQ(TextOfWindow(last), L"Smith");
  HWND navigation = GetWindow(GetParent(last), GW_HWNDNEXT);
  HWND deleteButton = GetWindow(GetWindow(navigation, GW_CHILD), GW_HWNDLAST);
  ASSERT_NE(deleteButton, nullptr);
  EXPECT_TRUE(IsWindowEnabled(deleteButton));

  // Delete asks first; Cancel keeps the entry.
  MessageBoxAnswer answer;
  answer.button = IDCANCEL;
  answering = &answer;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerMessageBox);
  Click(deleteButton, 16, 12);
  KillTimer(nullptr, timer);
  answering = nullptr;
  EXPECT_EQ(answer.seen, 1);
  EXPECT_EQ(answer.caption, L"Confirm");
  EXPECT_EQ(answer.text, L"Are you sure you want to delete this Author from the list?");
  EXPECT_TRUE(answer.hasCancel);
  EXPECT_EQ(TextOfWindow(last), L"Smith");
  EXPECT_TRUE(HasLine(Saved(control.get()), L"*Author0Last=Smith"));
}

TEST_P(ContainerTest, PersistsTheFrameworksOwnPropertiesButNeverTheSavedData) {
  const ControlRow& row = GetParam();
  HWND field = ClickInto(row.textLabel);
  ASSERT_NE(field, nullptr);
  Type(L"secret title");
  ASSERT_EQ(Put(control.get(), L"Caption", L"Kept caption"), S_OK);
  Ref<IPersistStreamInit> persist;
  ASSERT_EQ(control->QueryInterface(IID_IPersistStreamInit, persist.put_void()), S_OK);
  Ref<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
  ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  HGLOBAL memory = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(stream.get(), &memory), S_OK);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  const std::wstring bytes(static_cast<const wchar_t*>(GlobalLock(memory)), stat.cbSize.QuadPart / sizeof(wchar_t));
  GlobalUnlock(memory);
  EXPECT_NE(bytes.find(L"Caption=Kept caption"), std::wstring::npos);
  EXPECT_EQ(bytes.find(L"secret"), std::wstring::npos);  // the entered data travels only as SavedData

  ASSERT_EQ(Put(control.get(), L"Caption", L"Changed"), S_OK);
  const LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(persist->Load(stream.get()), S_OK);
  Variant caption;
  EXPECT_EQ(Get(control.get(), L"Caption", caption), S_OK);
  EXPECT_EQ(caption.Text(), L"Kept caption");
  EXPECT_EQ(TextOfWindow(field), L"secret title");  // loading never touches the fields

  // A stream that is not the control's own fails and changes nothing.
  Ref<IStream> foreign;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, foreign.put()), S_OK);
  foreign->Write("XXXXXXXX", 8, nullptr);
  foreign->Seek(start, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(persist->Load(foreign.get()), E_FAIL);
  Variant after;
  EXPECT_EQ(Get(control.get(), L"Caption", after), S_OK);
  EXPECT_EQ(after.Text(), L"Kept caption");

  // Safe for scripting and initialization; no property pages; activated when visible.
  Ref<IObjectSafety> safety;
  ASSERT_EQ(control->QueryInterface(IID_IObjectSafety, safety.put_void()), S_OK);
  const DWORD both = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  DWORD supported = 0, enabled = 0;
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, both, both), S_OK);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IPersistPropertyBag, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, both);
  EXPECT_EQ(enabled, both);
  Ref<ISpecifyPropertyPages> pages;
  ASSERT_EQ(control->QueryInterface(IID_ISpecifyPropertyPages, pages.put_void()), S_OK);
  CAUUID none{};
  EXPECT_EQ(pages->GetPages(&none), S_OK);
  EXPECT_EQ(none.cElems, 0u);
  Ref<IOleObject> ole;
  ASSERT_EQ(control->QueryInterface(IID_IOleObject, ole.put_void()), S_OK);
  DWORD status = 0;
  EXPECT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status & (OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT),
            static_cast<DWORD>(OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT));
}

TEST_P(ContainerTest, DrawsItselfIntoAHostsDeviceContext) {
  const ControlRow& row = GetParam();
  HWND field = FieldOf(form, row.textLabel);
  ASSERT_NE(field, nullptr);
  RECT fieldRect, formRect;
  GetWindowRect(field, &fieldRect);
  GetWindowRect(form, &formRect);
  Ref<IViewObject2> view;
  ASSERT_EQ(control->QueryInterface(IID_IViewObject2, view.put_void()), S_OK);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, row.width, row.height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECTL bounds{0, 0, row.width, row.height};
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
  // The required field is drawn in yellow where it stands on the form.
  EXPECT_EQ(GetPixel(dc, fieldRect.right - formRect.left - 4, (fieldRect.top + fieldRect.bottom) / 2 - formRect.top),
            RGB(255, 255, 0));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST_P(ContainerTest, HintsShowTheFieldsHintsForThirtySeconds) {
  const ControlRow& row = GetParam();
  HWND field = FieldOf(form, row.textLabel);
  ASSERT_NE(field, nullptr);
  HWND tooltip = nullptr;
  for (HWND hwnd : WindowsIn(nullptr)) {
    if (ClassOf(hwnd) == TOOLTIPS_CLASSW && SendMessageW(hwnd, TTM_GETTOOLCOUNT, 0, 0) > 0) tooltip = hwnd;
  }
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);
  wchar_t text[1024] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = GetParent(field);
  info.uId = reinterpret_cast<UINT_PTR>(field);
  info.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
  const std::wstring hint = text;
  EXPECT_FALSE(hint.empty());
  EXPECT_EQ(hint.find(L'|'), std::wstring::npos);  // the closing bar is not shown
  if (std::wstring(row.progId) == L"Citara.Book") {
    EXPECT_EQ(hint.substr(0, 25), L"The title of the book\r\n\r\n");
  }
}

// --- The font a host puts, in the windows; controls in place on two threads at once ---

// The font a host puts reaches the form's windows whole: a label and its field of the main panel
// draw with its face, height, weight, italic, underline, strikethrough and character set.
TEST_P(ContainerTest, TheWindowsDrawWithEveryAttributeOfTheHostsFont) {
  const ControlRow& row = GetParam();
  FONTDESC description{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_BOLD, RUSSIAN_CHARSET, TRUE, TRUE,
                       TRUE};
  description.cySize.int64 = 140000;  // 14 pt: 19 pixels
  Ref<IFontDisp> font;
  ASSERT_EQ(OleCreateFontIndirect(&description, IID_IFontDisp, font.put_void()), S_OK);
  ASSERT_EQ(Put(control.get(), L"Font", host::Arg(font.get())), S_OK);
  Pump();
  Variant kept;
  ASSERT_EQ(Get(control.get(), L"Font", kept), S_OK);
  Ref<IFont> keptFont;
  ASSERT_EQ(kept.pdispVal->QueryInterface(IID_IFont, keptFont.put_void()), S_OK);
  BSTR name = nullptr;
  keptFont->get_Name(&name);
  const std::wstring face = host::TextOf(name);
  SysFreeString(name);
  HWND label = FindLabel(form, row.textLabel);
  ASSERT_NE(label, nullptr);
  for (HWND window : {label, WindowRightOf(label, 6)}) {
    ASSERT_NE(window, nullptr);
    LOGFONTW drawn{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(drawn), &drawn), 0);
    EXPECT_EQ(drawn.lfHeight, -19);
    EXPECT_EQ(drawn.lfWeight, FW_BOLD);
    EXPECT_TRUE(drawn.lfItalic);
    EXPECT_TRUE(drawn.lfUnderline);
    EXPECT_TRUE(drawn.lfStrikeOut);
    EXPECT_EQ(drawn.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(std::wstring(drawn.lfFaceName), face);  // the face the font object stands for
  }
}

// --- The layout on the real windows, in whatever fonts this machine draws with ---

RECT ScreenRectOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

RECT ClientOnScreen(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The width of a window's text in the font it draws with (the accelerator mark not shown).
int TextWidthOf(HWND hwnd) {
  std::wstring text;
  for (wchar_t c : TextOfWindow(hwnd)) {
    if (c != L'&') text += c;
  }
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return size.cx;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

// Every rule of the forms' layout that the windows inside `form` break: each window inside its
// parent and inside the form, no two sibling windows overlapping, a label as wide as its caption
// and ending before the field right of it, a radio button as wide as its circle and caption.
std::vector<std::string> BrokenLayoutRules(HWND form) {
  std::vector<std::string> broken;
  const RECT formRect = ClientOnScreen(form);
  std::vector<HWND> all = WindowsIn(form);
  all.push_back(form);
  for (HWND parent : all) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWindowVisible(child)) children.push_back(child);
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
      HWND c = children[i];
      const std::string name = Narrow(ClassOf(c)) + " \"" + Narrow(TextOfWindow(c)) + "\"";
      const RECT r = ScreenRectOf(c);
      if (!Inside(r, ClientOnScreen(parent))) broken.push_back(name + " lies outside its parent");
      if (!Inside(r, formRect)) broken.push_back(name + " lies outside the form");
      for (std::size_t j = i + 1; j < children.size(); ++j) {
        RECT both;
        const RECT other = ScreenRectOf(children[j]);
        if (IntersectRect(&both, &r, &other)) {
          broken.push_back(name + " overlaps " + Narrow(ClassOf(children[j])) + " \"" +
                           Narrow(TextOfWindow(children[j])) + "\"");
        }
      }
      const std::wstring text = TextOfWindow(c);
      if (IsStatic(c) && !text.empty()) {
        if (TextWidthOf(c) > r.right - r.left) broken.push_back(name + " is narrower than its caption");
        if (text.back() == L':') {
          HWND field = WindowRightOf(c, 6);
          if (field == nullptr || field == parent || IsStatic(field)) {
            broken.push_back(name + " has no field right of it");
          } else if (r.right > ScreenRectOf(field).left) {
            broken.push_back(name + " reaches into its field");
          }
        }
      }
      if (ClassOf(c) == L"Button" && (GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON &&
          TextWidthOf(c) + 13 > r.right - r.left) {
        broken.push_back(name + " is narrower than its circle and caption");
      }
    }
  }
  return broken;
}

std::string Listed(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "  " + line + "\n";
  return out;
}

TEST_P(ContainerTest, TheWindowsKeepTheLayoutRules) {
  ASSERT_NE(form, nullptr);
  const std::vector<std::string> broken = BrokenLayoutRules(form);
  EXPECT_TRUE(broken.empty()) << broken.size() << " rules broken:\n" << Listed(broken);
}

// A host's 14-point bold font: the form lays itself out again, grows where it must and asks the
// container for the room.
TEST_P(ContainerTest, TheWindowsKeepTheLayoutRulesInAHostsLargeBoldFont) {
  const ControlRow& row = GetParam();
  FONTDESC description{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_BOLD, DEFAULT_CHARSET, FALSE,
                       FALSE, FALSE};
  description.cySize.int64 = 140000;  // 14 pt: 19 pixels
  Ref<IFontDisp> font;
  ASSERT_EQ(OleCreateFontIndirect(&description, IID_IFontDisp, font.put_void()), S_OK);
  ASSERT_EQ(Put(control.get(), L"Font", host::Arg(font.get())), S_OK);
  Pump();
  const std::vector<std::string> broken = BrokenLayoutRules(form);
  EXPECT_TRUE(broken.empty()) << broken.size() << " rules broken:\n" << Listed(broken);
  RECT r;
  GetClientRect(form, &r);
  EXPECT_GE(r.right, row.width);
  // The extent asked of the container is the size the form took.
  Ref<IOleObject> ole;
  ASSERT_EQ(control->QueryInterface(IID_IOleObject, ole.put_void()), S_OK);
  SIZEL extent{};
  ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, MulDiv(r.right, 2540, 96));
  EXPECT_EQ(extent.cy, MulDiv(r.bottom, 2540, 96));
}

INSTANTIATE_TEST_SUITE_P(TenControls, ContainerTest, ::testing::ValuesIn(kControls),
                         [](const ::testing::TestParamInfo<ControlRow>& info) {
                           std::wstring id = info.param.progId;
                           std::string name;
                           for (wchar_t c : id.substr(id.find(L'.') + 1)) name += static_cast<char>(c);
                           return name;
                         });


struct InPlaceWork {
  const ControlRow* row;
  int rounds;
  int failures = 0;
  std::string firstFailure;
};

// One apartment thread: its own container window hosting the control in place, a field typed into
// through the real windows and found in the saved data, the required-field message box shown and
// answered on this thread, and everything released; `rounds` times.
DWORD WINAPI DriveInPlace(void* parameter) {
  auto& work = *static_cast<InPlaceWork*>(parameter);
  const auto fail = [&](const char* what) {
    if (work.failures++ == 0) work.firstFailure = what;
  };
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  HMODULE atl = LoadLibraryW(L"atl.dll");
  auto init = reinterpret_cast<AtlAxWinInitFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto getControl =
      reinterpret_cast<AtlAxGetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  if (init == nullptr || getControl == nullptr) return 1;
  init();  // FALSE when the container's window class was registered before, as it is by now
  for (int round = 0; round < work.rounds; ++round) {
    HWND frame = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 700, 400, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND container = CreateWindowExW(0, L"AtlAxWin", work.row->progId, WS_CHILD | WS_VISIBLE, 0, 0, work.row->width,
                                     work.row->height, frame, nullptr, nullptr, nullptr);
    {
      Ref<IUnknown> unknown;
      Ref<IDispatch> control;
      Ref<IOleInPlaceObject> inPlace;
      HWND form = nullptr;
      if (container == nullptr || FAILED(getControl(container, unknown.put())) ||
          FAILED(unknown->QueryInterface(IID_IDispatch, control.put_void())) ||
          FAILED(unknown->QueryInterface(IID_IOleInPlaceObject, inPlace.put_void())) ||
          FAILED(inPlace->GetWindow(&form))) {
        fail("hosting");
      } else {
        Pump();
        HWND field = FieldOf(form, work.row->textLabel);
        if (field == nullptr) {
          fail("no field");
        } else {
          Click(field, 2, 5);
          Type(L"two threads");
          if (TextOfWindow(field) != L"two threads") fail("typing");
          if (!HasLine(Saved(control.get()), std::wstring(work.row->savedKey) + L"=two threads")) fail("saved data");
          // Reset leaves the required fields blank: the check shows its message box on this thread.
          if (host::Call(control.get(), L"Reset", DISPATCH_METHOD, {}, nullptr) != S_OK) fail("Reset");
          MessageBoxAnswer answer;
          answering = &answer;
          const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerMessageBox);
          Variant valid;
          if (host::Call(control.get(), L"ValidateData", DISPATCH_METHOD, {}, &valid) != S_OK) fail("ValidateData");
          KillTimer(nullptr, timer);
          answering = nullptr;
          if (answer.seen != 1 || answer.caption != L"Error" || valid.Text() != L"0") fail("the message box");
        }
      }
    }
    if (frame) DestroyWindow(frame);
    Pump();
  }
  CoUninitialize();
  return 0;
}

// Two apartment threads host controls of both libraries in place at the same time: each thread's
// window handling a call, its list of live windows, its message box and the hook that centres it
// are its own. A parameterized suite instantiated after TenControls, so that it runs after them and
// finds the container's window class registered.
class ContainerThreads : public ::testing::TestWithParam<int> {};

TEST_P(ContainerThreads, TwoApartmentsHostTheirOwnControlsInPlaceAtOnce) {
  InPlaceWork works[] = {{&kControls[0], 8, 0, {}}, {&kControls[6], 8, 0, {}}};  // Book and WebArticle
  EXPECT_TRUE(host::RunAtOnce(works, DriveInPlace, 300000));
  for (const InPlaceWork& work : works) {
    EXPECT_EQ(work.failures, 0) << std::string(work.row->progId, work.row->progId + wcslen(work.row->progId))
                                << ": first failure: " << work.firstFailure;
  }
}


INSTANTIATE_TEST_SUITE_P(AfterTheTenControls, ContainerThreads, ::testing::Values(0));

}  // namespace
