// The control object driven from inside, through its form, where the headless model is the only
// source of user input: the events a host's sink receives (OnKeyPress with the key changed or
// cancelled by the sink, OnClick), the font object kept with the form's font, and the guard at the
// boundary. The type library comes from this program's own resources.
#include "core/source_form.h"
#include "widgets/flat_edit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <stdexcept>

#include "server/control_object.h"
#include "server/bstr.h"
#include "tests/server/host_support.h"

namespace citara::server {
namespace {

const auto* const apartment = ::testing::AddGlobalTestEnvironment(new host::ComApartment);

const ControlClass& BookClass() { return ThisLibrary().classes[0]; }

// Connects `sink` to the control's events and returns the cookie.
DWORD Connect(ControlObject& control, host::RecordingSink& sink) {
  host::Ref<IConnectionPoint> point;
  EXPECT_EQ(control.FindConnectionPoint(control.Class().eventsIid, point.put()), S_OK);
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(&sink, &cookie), S_OK);
  return cookie;
}

TEST(ControlEvents, KeyPressSeenByTheFormGoesToTheSinkWhichMayChangeOrCancelIt) {
  static const struct {
    const char* what;
    bool connected;
    bool keyPreview;
    const char* typed;  // UTF-8, typed into the title field
    LONG sinkKey;       // what the sink sets the key to (-1: leaves it)
    std::vector<SHORT> seen;
    const char* text;   // the title field afterwards
  } cases[] = {
      {"without key preview the field's keys are its own", true, false, "a", 'B', {}, "a"},
      {"a sink that leaves the key", true, true, "a", -1, {'a'}, "a"},
      {"a sink that changes the key", true, true, "a", 'B', {'a'}, "B"},
      {"a sink that cancels the key", true, true, "ab", 0, {'a', 'b'}, ""},
      {"a key beyond Latin-1 both ways", true, true, "\xC3\xA9", 0x416, {0xE9}, "\xD0\x96"},
      {"no sink: nothing fired, nothing fails", false, true, "a", 'B', {}, "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ComPtr<ControlObject> control = ControlObject::Create(BookClass());
    host::RecordingSink sink(BookClass().eventsIid);
    sink.newKey = c.sinkKey;
    if (c.connected) Connect(*control.Get(), sink);
    ASSERT_EQ(host::Put(control->Dispatch(), L"KeyPreview", {VT_BOOL, c.keyPreview ? -1 : 0}), S_OK);
    TFlatEdit& title = control->Form().Field("TitleEdit");
    title.TypeText(c.typed);
    EXPECT_EQ(title.Text(), c.text);
    EXPECT_EQ(sink.keysSeen, c.seen);
    control = nullptr;
    EXPECT_EQ(sink.references, 1u);
  }
}

TEST(ControlEvents, ClickOnTheFormFiresOnClick) {
  ComPtr<ControlObject> control = ControlObject::Create(BookClass());
  host::RecordingSink sink(BookClass().eventsIid);
  Connect(*control.Get(), sink);
  control->Form().Click();
  EXPECT_EQ(sink.events, std::vector<DISPID>{ControlObject::kOnClick});
}

TEST(ControlFont, ChangesThroughTheFontObjectReachTheFormsFont) {
  ComPtr<ControlObject> control = ControlObject::Create(BookClass());
  host::Variant font;
  ASSERT_EQ(host::Get(control->Dispatch(), L"Font", font), S_OK);
  host::Ref<IFont> kept;
  ASSERT_EQ(font.pdispVal->QueryInterface(IID_IFont, kept.put_void()), S_OK);
  CY size{};
  ASSERT_EQ(kept->get_Size(&size), S_OK);
  EXPECT_EQ(size.int64, 82500);  // the form's 11 pixels: 8.25 pt
  size.int64 = 120000;
  ASSERT_EQ(kept->put_Size(size), S_OK);
  // The form follows what the font object reports (Wine rounds a size to the font it finds).
  ASSERT_EQ(kept->get_Size(&size), S_OK);
  EXPECT_EQ(control->Form().Font().height, -std::llround(size.int64 * 96 / 720000.0));
  EXPECT_LE(control->Form().Font().height, -15);

  // A font handed to the control gives the form its size and name, and the kept object follows.
  FONTDESC description{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Courier New"), {}, FW_NORMAL, DEFAULT_CHARSET,
                       FALSE, FALSE, FALSE};
  description.cySize.int64 = 100000;
  host::Ref<IFontDisp> given;
  host::Ref<IFont> givenFont;
  ASSERT_EQ(OleCreateFontIndirect(&description, IID_IFontDisp, given.put_void()), S_OK);
  ASSERT_EQ(host::Put(control->Dispatch(), L"Font", host::Arg(given.get())), S_OK);
  CY givenSize{};
  ASSERT_EQ(given->QueryInterface(IID_IFont, givenFont.put_void()), S_OK);
  ASSERT_EQ(givenFont->get_Size(&givenSize), S_OK);
  EXPECT_EQ(control->Form().Font().height, -13);
  BSTR name = nullptr;
  givenFont->get_Name(&name);
  EXPECT_EQ(control->Form().Font().name, TextOf(name));
  SysFreeString(name);
  ASSERT_EQ(kept->get_Size(&size), S_OK);
  EXPECT_EQ(size.int64, givenSize.int64);
}

// A font handed to the control gives the form's font every attribute, by value and by reference.
TEST(ControlFont, AHostsFontGivesTheFormEveryAttribute) {
  ComPtr<ControlObject> control = ControlObject::Create(BookClass());
  FONTDESC description{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_BOLD, 204, TRUE, TRUE, TRUE};
  description.cySize.int64 = 140000;  // 14 pt: 18.67 pixels
  host::Ref<IFontDisp> given;
  ASSERT_EQ(OleCreateFontIndirect(&description, IID_IFontDisp, given.put_void()), S_OK);
  for (const WORD kind : {WORD{DISPATCH_PROPERTYPUT}, WORD{DISPATCH_PROPERTYPUTREF}}) {
    SCOPED_TRACE(kind);
    control->Form().SetFont(TFont{});
    ASSERT_EQ(host::Call(control->Dispatch(), L"Font", kind, {host::Arg(given.get())}, nullptr), S_OK);
    const TFont& font = control->Form().Font();
    EXPECT_EQ(font.height, -19);
    EXPECT_EQ(font.weight, FW_BOLD);
    EXPECT_TRUE(font.italic);
    EXPECT_TRUE(font.underline);
    EXPECT_TRUE(font.strikethrough);
    EXPECT_EQ(font.charset, 204);
  }
}

// The one guard at the boundary: every exception becomes its status, with error information for
// the thread (none for a source without a ProgID), and a status the work returns passes unchanged.
TEST(Guard, EveryExceptionBecomesItsStatusWithErrorInformation) {
  const ErrorSource source{L"Citara.Book", &BookClass().dispatchIid};
  static const struct {
    const char* what;
    void (*work)();
    HRESULT status;
    const wchar_t* description;
  } cases[] = {
      {"a COM failure", [] { throw ComError(E_POINTER, "no pointer"); }, E_POINTER, L"no pointer"},
      {"no memory", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY, L"Out of memory"},
      {"an error of the forms", [] { throw std::runtime_error("bad value"); }, E_UNEXPECTED, L"bad value"},
      {"anything else", [] { throw 42; }, E_UNEXPECTED, L""},
      {"no exception", [] {}, S_OK, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(Guarded(source, c.work), c.status);
    host::Ref<IErrorInfo> info;
    const HRESULT got = GetErrorInfo(0, info.put());
    if (c.description == nullptr) {
      EXPECT_EQ(got, S_FALSE);
      continue;
    }
    ASSERT_EQ(got, S_OK);
    BSTR description = nullptr, from = nullptr;
    info->GetDescription(&description);
    info->GetSource(&from);
    EXPECT_EQ(host::TextOf(description), c.description);
    EXPECT_EQ(host::TextOf(from), L"Citara.Book");
    SysFreeString(description);
    SysFreeString(from);
  }
  EXPECT_EQ(Guarded([] { return S_FALSE; }), S_FALSE);
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(Guarded([] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  host::Ref<IErrorInfo> none;
  EXPECT_EQ(GetErrorInfo(0, none.put()), S_FALSE);  // a source without a ProgID leaves none
}

}  // namespace
}  // namespace citara::server
