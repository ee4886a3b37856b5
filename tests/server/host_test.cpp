// Citara.dll and CitaraWeb.dll driven by a C++ host as registered servers: their type libraries
// checked entry by entry against the published interface tables, every member of every control
// called by name, error information, the events connection point, the class factories and unloading,
// and the registry entries. The servers are registered by the test run before this program starts.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/server/host_support.h"

using namespace host;

namespace {

const auto* const apartment = ::testing::AddGlobalTestEnvironment(new host::ComApartment);

// --- The published tables ---

enum Kind { kGet, kPut, kPutRef, kMethod };

struct Entry {
  const wchar_t* name;
  DISPID id;
  Kind kind;
  const wchar_t* type;  // the value's type ("" for a method without one)
  bool hidden = false;
};

// Entries 1 to 36, the same in every dispatch interface.
const Entry kFormProperties[] = {
    {L"Visible", 1, kGet, L"VARIANT_BOOL", true},         {L"Visible", 1, kPut, L"VARIANT_BOOL", true},
    {L"AutoScroll", 2, kGet, L"VARIANT_BOOL"},            {L"AutoScroll", 2, kPut, L"VARIANT_BOOL"},
    {L"AutoSize", 3, kGet, L"VARIANT_BOOL"},              {L"AutoSize", 3, kPut, L"VARIANT_BOOL"},
    {L"AxBorderStyle", 4, kGet, L"TxActiveFormBorderStyle"}, {L"AxBorderStyle", 4, kPut, L"TxActiveFormBorderStyle"},
    {L"Caption", -518, kGet, L"BSTR"},                    {L"Caption", -518, kPut, L"BSTR"},
    {L"Color", -501, kGet, L"OLE_COLOR"},                 {L"Color", -501, kPut, L"OLE_COLOR"},
    {L"Font", -512, kGet, L"IFontDisp*"},                 {L"Font", -512, kPut, L"IFontDisp*"},
    {L"Font", -512, kPutRef, L"IFontDisp*"},              {L"KeyPreview", 5, kGet, L"VARIANT_BOOL"},
    {L"KeyPreview", 5, kPut, L"VARIANT_BOOL"},       {L"PixelsPerInch", 6, kGet, L"long"},
    {L"PixelsPerInch", 6, kPut, L"long"},            {L"PrintScale", 7, kGet, L"TxPrintScale"},
    {L"PrintScale", 7, kPut, L"TxPrintScale"},       {L"Scaled", 8, kGet, L"VARIANT_BOOL"},
    {L"Scaled", 8, kPut, L"VARIANT_BOOL"},           {L"Active", 9, kGet, L"VARIANT_BOOL", true},
    {L"DropTarget", 10, kGet, L"VARIANT_BOOL", true},     {L"DropTarget", 10, kPut, L"VARIANT_BOOL", true},
    {L"HelpFile", 11, kGet, L"BSTR", true},               {L"HelpFile", 11, kPut, L"BSTR", true},
    {L"DoubleBuffered", 12, kGet, L"VARIANT_BOOL", true}, {L"DoubleBuffered", 12, kPut, L"VARIANT_BOOL", true},
    {L"Enabled", -514, kGet, L"VARIANT_BOOL", true},      {L"Enabled", -514, kPut, L"VARIANT_BOOL", true},
    {L"BiDiMode", 13, kGet, L"TxBiDiMode", true},         {L"BiDiMode", 13, kPut, L"TxBiDiMode", true},
    {L"Cursor", 14, kGet, L"short"},                      {L"Cursor", 14, kPut, L"short"},
};

Entry WidthProperty(DISPID id) { return {L"Width", id, kGet, L"long"}; }
Entry HeightProperty(DISPID id) { return {L"Height", id, kGet, L"long"}; }
Entry WidthMethod(DISPID id) { return {L"Width", id, kMethod, L"long"}; }
Entry HeightMethod(DISPID id) { return {L"Height", id, kMethod, L"long"}; }
Entry Mla(DISPID id) { return {L"GetMLACitaraInfo", id, kMethod, L"BSTR"}; }
Entry Apa(DISPID id) { return {L"GetAPACitaraInfo", id, kMethod, L"BSTR"}; }
Entry ResetMethod(DISPID id) { return {L"Reset", id, kMethod, L""}; }
Entry Validate(DISPID id) { return {L"ValidateData", id, kMethod, L"VARIANT_BOOL"}; }
// SavedData gives two entries, get then put.
std::vector<Entry> Saved(DISPID id) { return {{L"SavedData", id, kGet, L"BSTR"}, {L"SavedData", id, kPut, L"BSTR"}}; }

std::vector<Entry> Tail(std::vector<std::vector<Entry>> parts) {
  std::vector<Entry> all;
  for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

struct Control {
  const wchar_t* name;  // "Book"
  const wchar_t* library;
  const wchar_t* iid;
  const wchar_t* eventsIid;
  const wchar_t* clsid;
  long width, height;
  int toolboxBitmap;
  std::vector<Entry> tail;  // entries 37 to 44
  const wchar_t* ProgIdLibrary() const { return library; }
  std::wstring ProgId() const { return std::wstring(library) + L"." + name; }
};

const std::vector<Control>& Controls() {
  static const std::vector<Control> controls = {
      {L"Book", L"Citara", L"{1AE95041-8A3A-11D2-AD1B-444553540000}", L"{1AE95043-8A3A-11D2-AD1B-444553540000}",
       L"{1AE95045-8A3A-11D2-AD1B-444553540000}", 607, 225, 1,
       Tail({{WidthProperty(15), HeightProperty(16), Mla(17), ResetMethod(18)}, Saved(20), {Validate(19), Apa(21)}})},
      {L"Encyclopedia", L"Citara", L"{1AE9504E-8A3A-11D2-AD1B-444553540000}",
       L"{1AE95050-8A3A-11D2-AD1B-444553540000}", L"{1AE95052-8A3A-11D2-AD1B-444553540000}", 607, 164, 2,
       Tail({{WidthProperty(15), HeightProperty(17), ResetMethod(16), Mla(18)}, Saved(19), {Validate(20), Apa(21)}})},
      {L"Magazine", L"Citara", L"{1AE95058-8A3A-11D2-AD1B-444553540000}", L"{1AE9505A-8A3A-11D2-AD1B-444553540000}",
       L"{1AE9505C-8A3A-11D2-AD1B-444553540000}", 607, 144, 3,
       Tail({{WidthProperty(15), HeightProperty(16), ResetMethod(17), Mla(18)}, Saved(19), {Validate(20), Apa(21)}})},
      {L"Newspaper", L"Citara", L"{1AE95064-8A3A-11D2-AD1B-444553540000}", L"{1AE95066-8A3A-11D2-AD1B-444553540000}",
       L"{1AE95068-8A3A-11D2-AD1B-444553540000}", 607, 142, 4,
       Tail({{WidthProperty(15), HeightProperty(16), ResetMethod(17), Mla(18)}, Saved(19), {Validate(20), Apa(21)}})},
      {L"Journal", L"Citara", L"{1AE95072-8A3A-11D2-AD1B-444553540000}", L"{1AE95074-8A3A-11D2-AD1B-444553540000}",
       L"{1AE95076-8A3A-11D2-AD1B-444553540000}", 607, 142, 5,
       Tail({{WidthProperty(15), HeightProperty(16), ResetMethod(17), Mla(18)}, Saved(19), {Validate(20), Apa(21)}})},
      {L"Other", L"Citara", L"{1AE95082-8A3A-11D2-AD1B-444553540000}", L"{1AE95084-8A3A-11D2-AD1B-444553540000}",
       L"{1AE95086-8A3A-11D2-AD1B-444553540000}", 607, 251, 6,
       Tail({{WidthProperty(15), HeightProperty(16), ResetMethod(17), Mla(18)}, Saved(19), {Validate(20), Apa(21)}})},
      {L"PersonalSite", L"CitaraWeb", L"{7CA5BFC1-B254-11D2-AD1B-E609FFE4715A}",
       L"{7CA5BFC3-B254-11D2-AD1B-E609FFE4715A}", L"{7CA5BFC5-B254-11D2-AD1B-E609FFE4715A}", 597, 120, 1,
       Tail({{ResetMethod(15), WidthProperty(16), HeightProperty(17), Validate(18)}, Saved(19), {Mla(20), Apa(21)}})},
      {L"ProfessionalSite", L"CitaraWeb", L"{FCB24F00-B3F1-11D2-AD1B-C700202BA256}",
       L"{FCB24F02-B3F1-11D2-AD1B-C700202BA256}", L"{FCB24F04-B3F1-11D2-AD1B-C700202BA256}", 597, 85, 2,
       Tail({{HeightMethod(15), WidthMethod(16), Validate(17)}, Saved(18), {ResetMethod(19), Mla(20), Apa(21)}})},
      {L"WebArticle", L"CitaraWeb", L"{65FD32C0-B4AD-11D2-AD1B-B1E71B7C1658}",
       L"{65FD32C2-B4AD-11D2-AD1B-B1E71B7C1658}", L"{65FD32C4-B4AD-11D2-AD1B-B1E71B7C1658}", 597, 140, 3,
       Tail({{HeightMethod(15), WidthMethod(16), ResetMethod(17), Mla(18)}, Saved(19), {Validate(20), Apa(21)}})},
      {L"Newsgroup", L"CitaraWeb", L"{65FD32C8-B4AD-11D2-AD1B-B1E71B7C1658}",
       L"{65FD32CA-B4AD-11D2-AD1B-B1E71B7C1658}", L"{65FD32CC-B4AD-11D2-AD1B-B1E71B7C1658}", 597, 140, 4,
       Tail({{WidthMethod(15), HeightMethod(16), Validate(17), Mla(18), ResetMethod(19)}, Saved(20), {Apa(21)}})},
  };
  return controls;
}

struct Library {
  const wchar_t* name;
  const wchar_t* libid;
  const wchar_t* helpString;
  std::array<const wchar_t*, 4> enumGuids;  // TxActiveFormBorderStyle, TxPrintScale, TxMouseButton, TxBiDiMode
  bool fontPutRefInOut;
};

const Library kLibraries[] = {
    {L"Citara", L"{1AE95040-8A3A-11D2-AD1B-444553540000}", L"Citara Library",
     {L"{1AE95047-8A3A-11D2-AD1B-444553540000}", L"{1AE95048-8A3A-11D2-AD1B-444553540000}",
      L"{1AE95049-8A3A-11D2-AD1B-444553540000}", L"{1AE9504A-8A3A-11D2-AD1B-444553540000}"},
     true},
    {L"CitaraWeb", L"{7CA5BFC0-B254-11D2-AD1B-E609FFE4715A}", L"CitaraWeb Library",
     {L"{7CA5BFC7-B254-11D2-AD1B-E609FFE4715A}", L"{7CA5BFC8-B254-11D2-AD1B-E609FFE4715A}",
      L"{7CA5BFC9-B254-11D2-AD1B-E609FFE4715A}", L"{7CA5BFCA-B254-11D2-AD1B-E609FFE4715A}"},
     false},
};

const Library& LibraryOf(const Control& c) { return std::wstring(c.library) == L"Citara" ? kLibraries[0] : kLibraries[1]; }

const GUID kStdole2 = Guid(L"{00020430-0000-0000-C000-000000000046}");

Ref<ITypeLib> LoadLibraryOf(const Library& library) {
  Ref<ITypeLib> lib;
  EXPECT_EQ(LoadRegTypeLib(Guid(library.libid), 1, 0, 0, lib.put()), S_OK) << library.name;
  return lib;
}

std::wstring NameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
  BSTR name = nullptr;
  info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
  std::wstring text = TextOf(name);
  SysFreeString(name);
  return text;
}

std::wstring HelpStringOf(ITypeInfo* info) {
  BSTR doc = nullptr;
  info->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr);
  std::wstring text = TextOf(doc);
  SysFreeString(doc);
  return text;
}

// A type as the tables write it: "long", "BSTR", "IFontDisp*", a user-defined type by its name.
std::wstring TypeName(ITypeInfo* info, const TYPEDESC& t) {
  switch (t.vt) {
    case VT_PTR: return TypeName(info, *t.lptdesc) + L"*";
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_I4: return L"long";
    case VT_I2: return L"short";
    case VT_BSTR: return L"BSTR";
    case VT_USERDEFINED: {
      Ref<ITypeInfo> referenced;
      if (FAILED(info->GetRefTypeInfo(t.hreftype, referenced.put()))) return L"<unresolved>";
      return NameOf(referenced.get());
    }
    default: return L"vt" + std::to_wstring(t.vt);
  }
}

// The LIBID of the library that defines the user-defined type at the end of `t`.
GUID DefiningLibrary(ITypeInfo* info, const TYPEDESC& t) {
  if (t.vt == VT_PTR) return DefiningLibrary(info, *t.lptdesc);
  Ref<ITypeInfo> referenced;
  Ref<ITypeLib> lib;
  UINT index = 0;
  TLIBATTR* attributes = nullptr;
  GUID guid = GUID_NULL;
  if (t.vt == VT_USERDEFINED && SUCCEEDED(info->GetRefTypeInfo(t.hreftype, referenced.put())) &&
      SUCCEEDED(referenced->GetContainingTypeLib(lib.put(), &index)) && SUCCEEDED(lib->GetLibAttr(&attributes))) {
    guid = attributes->guid;
    lib->ReleaseTLibAttr(attributes);
  }
  return guid;
}

INVOKEKIND InvokeKindOf(Kind kind) {
  switch (kind) {
    case kGet: return INVOKE_PROPERTYGET;
    case kPut: return INVOKE_PROPERTYPUT;
    case kPutRef: return INVOKE_PROPERTYPUTREF;
    case kMethod: return INVOKE_FUNC;
  }
  return INVOKE_FUNC;
}

// --- Type libraries ---

TEST(TypeLibraries, LibraryAttributesAndEnumerations) {
  for (const Library& library : kLibraries) {
    SCOPED_TRACE(::testing::Message() << library.name);
    Ref<ITypeLib> lib = LoadLibraryOf(library);
    ASSERT_TRUE(lib);
    TLIBATTR* a = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&a), S_OK);
    EXPECT_TRUE(IsEqualGUID(a->guid, Guid(library.libid)));
    EXPECT_EQ(a->wMajorVerNum, 1);
    EXPECT_EQ(a->wMinorVerNum, 0);
    EXPECT_EQ(a->lcid, 0u);
    EXPECT_EQ(a->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);  // the build's own bitness
    EXPECT_EQ(a->wLibFlags & LIBFLAG_FCONTROL, LIBFLAG_FCONTROL);
    lib->ReleaseTLibAttr(a);
    BSTR name = nullptr, doc = nullptr, helpFile = nullptr;
    ASSERT_EQ(lib->GetDocumentation(-1, &name, &doc, nullptr, &helpFile), S_OK);
    EXPECT_EQ(TextOf(name), library.name);
    EXPECT_EQ(TextOf(doc), library.helpString);
    EXPECT_EQ(TextOf(helpFile), L"");
    SysFreeString(name);
    SysFreeString(doc);
    SysFreeString(helpFile);

    static const struct {
      const wchar_t* name;
      std::vector<std::pair<const wchar_t*, LONG>> values;
    } enums[] = {
        {L"TxActiveFormBorderStyle", {{L"afbNone", 0}, {L"afbSingle", 1}, {L"afbSunken", 2}, {L"afbRaised", 3}}},
        {L"TxPrintScale", {{L"poNone", 0}, {L"poProportional", 1}, {L"poPrintToFit", 2}}},
        {L"TxMouseButton", {{L"mbLeft", 0}, {L"mbRight", 1}, {L"mbMiddle", 2}}},
        {L"TxBiDiMode",
         {{L"bdLeftToRight", 0}, {L"bdRightToLeft", 1}, {L"bdRightToLeftNoAlign", 2}, {L"bdRightToLeftReadingOnly", 3}}},
    };
    for (std::size_t e = 0; e < 4; ++e) {
      SCOPED_TRACE(::testing::Message() << "enumeration " << e);
      Ref<ITypeInfo> info;
      ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(library.enumGuids[e]), info.put()), S_OK);
      EXPECT_EQ(NameOf(info.get()), enums[e].name);
      TYPEATTR* t = nullptr;
      ASSERT_EQ(info->GetTypeAttr(&t), S_OK);
      EXPECT_EQ(t->typekind, TKIND_ENUM);
      ASSERT_EQ(t->cVars, enums[e].values.size());
      info->ReleaseTypeAttr(t);
      for (UINT v = 0; v < enums[e].values.size(); ++v) {
        VARDESC* var = nullptr;
        ASSERT_EQ(info->GetVarDesc(v, &var), S_OK);
        EXPECT_EQ(NameOf(info.get(), var->memid), enums[e].values[v].first);
        EXPECT_EQ(var->lpvarValue->vt, VT_I4);
        EXPECT_EQ(var->lpvarValue->lVal, enums[e].values[v].second);
        info->ReleaseVarDesc(var);
      }
    }
  }
}

TEST(TypeLibraries, DispatchInterfacesEntryByEntry) {
  for (const Control& control : Controls()) {
    SCOPED_TRACE(::testing::Message() << "I" << std::string(control.name, control.name + wcslen(control.name)));
    const Library& library = LibraryOf(control);
    Ref<ITypeLib> lib = LoadLibraryOf(library);
    Ref<ITypeInfo> dispatch, vtable;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(control.iid), dispatch.put()), S_OK);
    EXPECT_EQ(NameOf(dispatch.get()), std::wstring(L"I") + control.name);
    EXPECT_EQ(HelpStringOf(dispatch.get()), std::wstring(L"Dispatch interface for ") + control.name + L" Control");
    TYPEATTR* t = nullptr;
    ASSERT_EQ(dispatch->GetTypeAttr(&t), S_OK);
    EXPECT_EQ(t->typekind, TKIND_DISPATCH);
    EXPECT_EQ(t->wTypeFlags & TYPEFLAG_FDUAL, TYPEFLAG_FDUAL);
    dispatch->ReleaseTypeAttr(t);

    // The vtable side of the dual interface: 44 entries after IDispatch's seven.
    HREFTYPE href = 0;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &href), S_OK);
    ASSERT_EQ(dispatch->GetRefTypeInfo(href, vtable.put()), S_OK);
    ASSERT_EQ(vtable->GetTypeAttr(&t), S_OK);
    EXPECT_EQ(t->typekind, TKIND_INTERFACE);
    EXPECT_EQ(t->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION), TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION);
    const UINT count = t->cFuncs;
    vtable->ReleaseTypeAttr(t);
    std::vector<Entry> expected(std::begin(kFormProperties), std::end(kFormProperties));
    expected.insert(expected.end(), control.tail.begin(), control.tail.end());
    ASSERT_EQ(expected.size(), 44u);
    ASSERT_EQ(count, 44u);

    for (UINT i = 0; i < count; ++i) {
      const Entry& e = expected[i];
      SCOPED_TRACE(::testing::Message() << "entry " << i + 1);
      FUNCDESC* f = nullptr;
      ASSERT_EQ(vtable->GetFuncDesc(i, &f), S_OK);
      EXPECT_EQ(NameOf(vtable.get(), f->memid), e.name);
      EXPECT_EQ(f->memid, e.id);
      EXPECT_EQ(f->invkind, InvokeKindOf(e.kind));
      EXPECT_EQ(f->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
      EXPECT_EQ((f->wFuncFlags & FUNCFLAG_FHIDDEN) != 0, e.hidden);
      EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);
      const std::wstring type = e.type;
      if (type.empty()) {
        EXPECT_EQ(f->cParams, 0);
      } else {
        ASSERT_EQ(f->cParams, 1);
        const ELEMDESC& p = f->lprgelemdescParam[0];
        if (e.kind == kGet || e.kind == kMethod) {
          // One out/return parameter named Value, pointing at the value.
          EXPECT_EQ(TypeName(vtable.get(), p.tdesc), type + L"*");
          EXPECT_EQ(p.paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
        } else if (e.kind == kPut) {
          EXPECT_EQ(TypeName(vtable.get(), p.tdesc), type);
          EXPECT_EQ(p.paramdesc.wParamFlags, PARAMFLAG_FIN);
        } else {
          EXPECT_EQ(TypeName(vtable.get(), p.tdesc), type + L"*");
          EXPECT_EQ(p.paramdesc.wParamFlags,
                    library.fontPutRefInOut ? PARAMFLAG_FIN | PARAMFLAG_FOUT : PARAMFLAG_FIN);
        }
        // OLE_COLOR and IFontDisp are stdole2's own, not copies in this library.
        if (type == L"IFontDisp*" || type == L"OLE_COLOR") {
          EXPECT_TRUE(IsEqualGUID(DefiningLibrary(vtable.get(), p.tdesc), kStdole2));
        }
      }
      vtable->ReleaseFuncDesc(f);
    }

    // The result parameter is named Value. (GetNames answers by DISPID, so for a get/put pair it
    // always names the get's parameter; the put's is declared without a name.)
    for (UINT i = 0; i < count; ++i) {
      FUNCDESC* f = nullptr;
      ASSERT_EQ(vtable->GetFuncDesc(i, &f), S_OK);
      if (f->cParams == 1 && (f->invkind == INVOKE_PROPERTYGET || f->invkind == INVOKE_FUNC)) {
        BSTR names[2] = {};
        UINT found = 0;
        ASSERT_EQ(vtable->GetNames(f->memid, names, 2, &found), S_OK);
        EXPECT_EQ(found, 2u) << "entry " << i + 1;
        EXPECT_EQ(TextOf(names[1]), L"Value") << "entry " << i + 1;
        for (BSTR n : names) SysFreeString(n);
      }
      vtable->ReleaseFuncDesc(f);
    }
  }
}

TEST(TypeLibraries, EventsInterfacesAndControlClasses) {
  static const struct {
    const wchar_t* name;
    DISPID id;
  } events[] = {{L"OnActivate", 1}, {L"OnClick", 2},      {L"OnCreate", 3},    {L"OnDblClick", 4},
                {L"OnDestroy", 5},  {L"OnDeactivate", 6}, {L"OnKeyPress", 10}, {L"OnPaint", 15}};
  for (const Control& control : Controls()) {
    SCOPED_TRACE(::testing::Message() << std::string(control.name, control.name + wcslen(control.name)));
    Ref<ITypeLib> lib = LoadLibraryOf(LibraryOf(control));
    Ref<ITypeInfo> info;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(control.eventsIid), info.put()), S_OK);
    EXPECT_EQ(NameOf(info.get()), std::wstring(L"I") + control.name + L"Events");
    EXPECT_EQ(HelpStringOf(info.get()), std::wstring(L"Events interface for ") + control.name + L" Control");
    TYPEATTR* t = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&t), S_OK);
    EXPECT_EQ(t->typekind, TKIND_DISPATCH);
    EXPECT_EQ(t->wTypeFlags & TYPEFLAG_FDUAL, 0);
    ASSERT_EQ(t->cFuncs, 8);
    info->ReleaseTypeAttr(t);
    for (UINT i = 0; i < 8; ++i) {
      FUNCDESC* f = nullptr;
      ASSERT_EQ(info->GetFuncDesc(i, &f), S_OK);
      EXPECT_EQ(NameOf(info.get(), f->memid), events[i].name);
      EXPECT_EQ(f->memid, events[i].id);
      EXPECT_EQ(f->invkind, INVOKE_FUNC);
      if (events[i].id == 10) {
        ASSERT_EQ(f->cParams, 1);
        EXPECT_EQ(TypeName(info.get(), f->lprgelemdescParam[0].tdesc), L"short*");
        EXPECT_EQ(f->lprgelemdescParam[0].paramdesc.wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOUT);
        BSTR names[2] = {};
        UINT found = 0;
        info->GetNames(10, names, 2, &found);
        EXPECT_EQ(TextOf(names[1]), L"Key");
        for (BSTR n : names) SysFreeString(n);
      } else {
        EXPECT_EQ(f->cParams, 0);
      }
      info->ReleaseFuncDesc(f);
    }

    Ref<ITypeInfo> coclass;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(control.clsid), coclass.put()), S_OK);
    EXPECT_EQ(NameOf(coclass.get()), control.name);
    EXPECT_EQ(HelpStringOf(coclass.get()), std::wstring(control.name) + L" Control");
    ASSERT_EQ(coclass->GetTypeAttr(&t), S_OK);
    EXPECT_EQ(t->typekind, TKIND_COCLASS);
    EXPECT_EQ(t->wTypeFlags & (TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL), TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
    ASSERT_EQ(t->cImplTypes, 2);
    coclass->ReleaseTypeAttr(t);
    static const struct {
      const wchar_t* suffix;
      INT flags;
    } implemented[] = {{L"", IMPLTYPEFLAG_FDEFAULT}, {L"Events", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
    for (UINT i = 0; i < 2; ++i) {
      INT flags = 0;
      HREFTYPE href = 0;
      Ref<ITypeInfo> ref;
      ASSERT_EQ(coclass->GetImplTypeFlags(i, &flags), S_OK);
      EXPECT_EQ(flags, implemented[i].flags);
      ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &href), S_OK);
      ASSERT_EQ(coclass->GetRefTypeInfo(href, ref.put()), S_OK);
      EXPECT_EQ(NameOf(ref.get()), std::wstring(L"I") + control.name + implemented[i].suffix);
    }
  }
}

// --- Every member by name ---

TEST(LateBinding, NamesResolveToEachInterfacesOwnDispids) {
  static const struct {
    const wchar_t* progId;
    DISPID reset;
  } cases[] = {{L"Citara.Book", 18}, {L"Citara.Encyclopedia", 16}, {L"CitaraWeb.Newsgroup", 19}};
  for (const auto& c : cases) {
    Ref<IDispatch> control = Create(c.progId);
    ASSERT_TRUE(control);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"reset")};  // names are matched without regard to case
    DISPID id = 0;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, c.reset) << c.progId;
  }
}

TEST(LateBinding, EveryMemberOfEveryControl) {
  // Properties: the value put (as the script host passes it) and the value read back, as text.
  static const struct {
    const wchar_t* name;
    Arg value;
    const wchar_t* readBack;
  } properties[] = {
      {L"Visible", {VT_BOOL, 1}, L"-1"},  // any non-zero boolean is true and reads back as -1
      {L"Visible", {VT_BOOL, 0}, L"0"},
      {L"AutoScroll", {VT_BOOL, -1}, L"-1"},
      {L"AutoSize", {VT_BOOL, -1}, L"-1"},
      {L"AxBorderStyle", {VT_I4, 2}, L"2"},
      {L"Caption", Arg(L"\x416urnal \xD83D\xDCDA"), L"\x416urnal \xD83D\xDCDA"},
      {L"Color", {VT_I4, 0x00FF00}, L"65280"},
      {L"Color", {VT_I4, static_cast<LONG>(0x8000000F)}, L"2147483663"},  // a system colour keeps its high bit
      {L"KeyPreview", {VT_BOOL, -1}, L"-1"},
      {L"PixelsPerInch", {VT_I4, 120}, L"120"},
      {L"PrintScale", {VT_I4, 2}, L"2"},
      {L"Scaled", {VT_BOOL, 0}, L"0"},
      {L"DropTarget", {VT_BOOL, -1}, L"-1"},
      {L"HelpFile", Arg(L"citara.hlp"), L"citara.hlp"},
      {L"DoubleBuffered", {VT_BOOL, -1}, L"-1"},
      {L"Enabled", {VT_BOOL, 0}, L"0"},
      {L"Enabled", {VT_BOOL, -1}, L"-1"},
      {L"BiDiMode", {VT_I4, 3}, L"3"},
      {L"Cursor", {VT_I2, -11}, L"-11"},
  };
  for (const Control& c : Controls()) {
    SCOPED_TRACE(::testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
    Ref<IDispatch> control = Create(c.ProgId().c_str());
    ASSERT_TRUE(control);
    for (const auto& p : properties) {
      Variant read;
      ASSERT_EQ(Put(control.get(), p.name, p.value), S_OK);
      ASSERT_EQ(Get(control.get(), p.name, read), S_OK);
      EXPECT_EQ(read.Text(), p.readBack);
    }
    {
      Variant active, width, height;
      EXPECT_EQ(Get(control.get(), L"Active", active), S_OK);
      EXPECT_EQ(active.Text(), L"0");
      EXPECT_EQ(Get(control.get(), L"Width", width), S_OK);
      EXPECT_EQ(Get(control.get(), L"Height", height), S_OK);
      EXPECT_EQ(width.Text(), std::to_wstring(c.width));
      EXPECT_EQ(height.Text(), std::to_wstring(c.height));
      EXPECT_EQ(Put(control.get(), L"Width", {VT_I4, 1}), DISP_E_MEMBERNOTFOUND);
    }
    {
      // The font object: a reference of its own each time; handed back by value and by reference.
      Variant font;
      ASSERT_EQ(Get(control.get(), L"Font", font), S_OK);
      ASSERT_EQ(font.vt, VT_DISPATCH);
      ASSERT_NE(font.pdispVal, nullptr);
      EXPECT_EQ(Put(control.get(), L"Font", Arg(font.pdispVal)), S_OK);
      EXPECT_EQ(Call(control.get(), L"Font", DISPATCH_PROPERTYPUTREF, {Arg(font.pdispVal)}, nullptr),
                S_OK);
    }
    {
      Variant mla, apa, valid, saved, again;
      ASSERT_EQ(Call(control.get(), L"GetMLACitaraInfo", DISPATCH_METHOD, {}, &mla), S_OK);
      ASSERT_EQ(Call(control.get(), L"GetAPACitaraInfo", DISPATCH_METHOD, {}, &apa), S_OK);
      EXPECT_EQ(mla.Text().rfind(L"{\\rtf1", 0), 0u);
      EXPECT_EQ(apa.Text().rfind(L"{\\rtf1", 0), 0u);
      ASSERT_EQ(Call(control.get(), L"Reset", DISPATCH_METHOD, {}, nullptr), S_OK);
      ASSERT_EQ(Call(control.get(), L"ValidateData", DISPATCH_METHOD, {}, &valid), S_OK);
      EXPECT_EQ(valid.vt, VT_BOOL);
      EXPECT_EQ(valid.boolVal, VARIANT_FALSE);  // a reset control lacks its required fields
      ASSERT_EQ(Get(control.get(), L"SavedData", saved), S_OK);
      ASSERT_EQ(Put(control.get(), L"SavedData", Arg(saved.Text())), S_OK);
      ASSERT_EQ(Get(control.get(), L"SavedData", again), S_OK);
      EXPECT_EQ(again.Text(), saved.Text());
    }
  }
}

// --- Error information and out pointers ---

const wchar_t kBadDate[] = L"Article Title:=kept\r\n*Date=not a day\r\n";
const wchar_t kBadDateMessage[] = L"cannot load the saved data: the value \"not a day\" of \"*Date\" is not a number";

// Calls entry `index` (1-based, after IDispatch's seven) of `object`'s vtable with one pointer.
HRESULT CallEntry(IDispatch* object, int index, void* argument) {
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = sizeof(void*) == 8 ? VT_I8 : VT_I4;  // a pointer of the build's size
  arg.llVal = reinterpret_cast<INT_PTR>(argument);
  VARIANTARG* args[] = {&arg};
  VARTYPE types[] = {arg.vt};
  VARIANT result;
  VariantInit(&result);
  const HRESULT called = DispCallFunc(object, (6 + index) * sizeof(void*), CC_STDCALL, VT_ERROR, 1, types, args, &result);
  return FAILED(called) ? called : result.scode;
}

void ExpectThreadError(const GUID& iid);

TEST(ErrorInformation, FailedPutReportsTheMessageSourceAndInterface) {
  Ref<IDispatch> magazine = Create(L"Citara.Magazine");
  ASSERT_TRUE(magazine);
  const GUID iid = Guid(Controls()[2].iid);

  Ref<ISupportErrorInfo> support;
  ASSERT_EQ(magazine->QueryInterface(IID_ISupportErrorInfo, support.put_void()), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(iid), S_OK);

  // Through Invoke with an EXCEPINFO, as script hosts call.
  EXCEPINFO exception{};
  EXPECT_EQ(Call(magazine.get(), L"SavedData", DISPATCH_PROPERTYPUT, {Arg(kBadDate)}, nullptr, &exception),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, E_UNEXPECTED);
  EXPECT_EQ(TextOf(exception.bstrSource), L"Citara.Magazine");
  EXPECT_EQ(TextOf(exception.bstrDescription), kBadDateMessage);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);

  // Without one, the thread's error object has it; through the vtable the status is the member's own
  // (IMagazine's entry 42 is the SavedData put).
  EXPECT_EQ(Call(magazine.get(), L"SavedData", DISPATCH_PROPERTYPUT, {Arg(kBadDate)}, nullptr), DISP_E_EXCEPTION);
  ExpectThreadError(iid);
  BSTR text = SysAllocString(kBadDate);
  EXPECT_EQ(CallEntry(magazine.get(), 42, text), E_UNEXPECTED);
  SysFreeString(text);
  ExpectThreadError(iid);

  // Nothing was loaded.
  Variant saved;
  ASSERT_EQ(Get(magazine.get(), L"SavedData", saved), S_OK);
  EXPECT_EQ(saved.Text().find(L"kept"), std::wstring::npos);
}

void ExpectThreadError(const GUID& iid) {
  Ref<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.put()), S_OK);
  ASSERT_TRUE(info);
  BSTR description = nullptr, source = nullptr;
  GUID guid{};
  info->GetDescription(&description);
  info->GetSource(&source);
  info->GetGUID(&guid);
  EXPECT_EQ(TextOf(description), kBadDateMessage);
  EXPECT_EQ(TextOf(source), L"Citara.Magazine");
  EXPECT_TRUE(IsEqualGUID(guid, iid));
  SysFreeString(description);
  SysFreeString(source);
}

TEST(ErrorInformation, NullOutPointersGiveEPointerThroughTheVtable) {
  Ref<IDispatch> book = Create(L"Citara.Book");
  ASSERT_TRUE(book);
  // IBook: 1 Visible get, 9 Caption get, 13 Font get, 37 Width, 39 GetMLACitaraInfo, 41 SavedData get,
  // 43 ValidateData.
  for (int entry : {1, 9, 13, 37, 39, 41, 43}) EXPECT_EQ(CallEntry(book.get(), entry, nullptr), E_POINTER) << entry;
  LONG width = 0;
  EXPECT_EQ(CallEntry(book.get(), 37, &width), S_OK);
  EXPECT_EQ(width, 607);
  // A null text is the empty text: the put succeeds and loads nothing.
  EXPECT_EQ(CallEntry(book.get(), 42, nullptr), S_OK);
}

// --- Persistence of the control's own properties ---

// A property bag in memory, as a container that saves to a text form keeps one.
class MemoryBag : public IPropertyBag {
 public:
  std::vector<std::pair<std::wstring, std::wstring>> values;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    for (const auto& [n, v] : values) {
      if (n != name) continue;
      value->vt = VT_BSTR;
      value->bstrVal = SysAllocStringLen(v.data(), static_cast<UINT>(v.size()));
      return S_OK;
    }
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, value, 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
    values.emplace_back(name, TextOf(text.bstrVal));
    VariantClear(&text);
    return S_OK;
  }
};

// Two fresh controls of one kind and interface I of each: one to save, one to load.
template <class I>
struct SaveAndLoad {
  SaveAndLoad(const wchar_t* progId, REFIID iid) : from(Create(progId)), to(Create(progId)) {
    if (from) from->QueryInterface(iid, save.put_void());
    if (to) to->QueryInterface(iid, load.put_void());
  }
  bool Ready() const { return save && load; }
  Ref<IDispatch> from, to;
  Ref<I> save, load;
};

// Each way a container persists a control keeps its own properties, a caption of two lines and a
// help file path with backslashes among them, and gives them to a fresh control.
TEST(Persistence, StreamStorageAndPropertyBagRoundTrips) {
  const std::wstring caption = L"Two\nlines = one \\ caption \x416";
  const std::wstring helpFile = L"C:\\new\\citara.hlp";
  const auto prepare = [&](IDispatch* control) {
    EXPECT_EQ(Put(control, L"Caption", Arg(caption)), S_OK);
    EXPECT_EQ(Put(control, L"HelpFile", Arg(helpFile)), S_OK);
    EXPECT_EQ(Put(control, L"Color", {VT_I4, 0x123456}), S_OK);
  };
  const auto expectKept = [&](IDispatch* control, const char* way) {
    Variant c, h, color;
    EXPECT_EQ(Get(control, L"Caption", c), S_OK);
    EXPECT_EQ(Get(control, L"HelpFile", h), S_OK);
    EXPECT_EQ(Get(control, L"Color", color), S_OK);
    EXPECT_EQ(c.Text(), caption) << way;
    EXPECT_EQ(h.Text(), helpFile) << way;
    EXPECT_EQ(color.Text(), L"1193046") << way;
  };
  {
    SaveAndLoad<IPersistStreamInit> c(L"Citara.Journal", IID_IPersistStreamInit);
    ASSERT_TRUE(c.Ready());
    prepare(c.from.get());
    Ref<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(c.save->Save(stream.get(), TRUE), S_OK);
    ULARGE_INTEGER size{}, max{};
    const LARGE_INTEGER start{};
    ASSERT_EQ(stream->Seek(start, STREAM_SEEK_CUR, &size), S_OK);
    ASSERT_EQ(c.save->GetSizeMax(&max), S_OK);
    EXPECT_GE(max.QuadPart, size.QuadPart);  // room enough for what Save writes
    ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(c.load->Load(stream.get()), S_OK);
    expectKept(c.to.get(), "stream");

    // A stream of the earlier format, without escapes, loads as it was written.
    const std::wstring old = L"Caption=C:\\new\\old\n";
    const ULONG oldBytes = static_cast<ULONG>(old.size() * sizeof(wchar_t));
    Ref<IStream> earlier;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, earlier.put()), S_OK);
    earlier->Write("CTRA", 4, nullptr);
    earlier->Write(&oldBytes, sizeof(oldBytes), nullptr);
    earlier->Write(old.data(), oldBytes, nullptr);
    ASSERT_EQ(earlier->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(c.load->Load(earlier.get()), S_OK);
    Variant loaded;
    EXPECT_EQ(Get(c.to.get(), L"Caption", loaded), S_OK);
    EXPECT_EQ(loaded.Text(), L"C:\\new\\old");
  }
  {
    SaveAndLoad<IPersistStorage> c(L"CitaraWeb.Newsgroup", IID_IPersistStorage);
    ASSERT_TRUE(c.Ready());
    prepare(c.from.get());
    Ref<ILockBytes> bytes;
    Ref<IStorage> storage;
    ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put()), S_OK);
    ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                           storage.put()),
              S_OK);
    ASSERT_EQ(c.save->Save(storage.get(), FALSE), S_OK);
    ASSERT_EQ(c.save->SaveCompleted(nullptr), S_OK);
    ASSERT_EQ(c.load->Load(storage.get()), S_OK);
    expectKept(c.to.get(), "storage");
  }
  {
    SaveAndLoad<IPersistPropertyBag> c(L"Citara.Other", IID_IPersistPropertyBag);
    ASSERT_TRUE(c.Ready());
    prepare(c.from.get());
    MemoryBag bag;
    ASSERT_EQ(c.save->Save(&bag, TRUE, TRUE), S_OK);
    EXPECT_FALSE(bag.values.empty());
    ASSERT_EQ(c.load->Load(&bag, nullptr), S_OK);
    expectKept(c.to.get(), "property bag");
  }
}

// --- Events ---

TEST(Events, OneSinkAtATimeReleasedWhenDisconnectedAndOnDestroy) {
  const Control& book = Controls()[0];
  RecordingSink sink(Guid(book.eventsIid));
  RecordingSink stranger(Guid(L"{00000000-0000-0000-0000-000000000001}"));  // answers IDispatch only
  {
    Ref<IDispatch> control = Create(L"Citara.Book");
    ASSERT_TRUE(control);
    Ref<IConnectionPointContainer> container;
    ASSERT_EQ(control->QueryInterface(IID_IConnectionPointContainer, container.put_void()), S_OK);
    Ref<IConnectionPoint> point, none;
    EXPECT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, none.put()), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(container->FindConnectionPoint(Guid(book.eventsIid), point.put()), S_OK);
    IID iid{};
    ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_TRUE(IsEqualIID(iid, Guid(book.eventsIid)));
    Ref<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
    IConnectionPoint* listed[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(2, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(listed[0], point.get());
    listed[0]->Release();

    DWORD cookie = 0, other = 0;
    EXPECT_EQ(point->Advise(&stranger, &other), CONNECT_E_CANNOTCONNECT);
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    EXPECT_EQ(sink.references, 2u);
    EXPECT_EQ(point->Advise(&sink, &other), CONNECT_E_ADVISELIMIT);

    Ref<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(connections.put()), S_OK);
    CONNECTDATA data[2] = {};
    EXPECT_EQ(connections->Next(2, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(data[0].dwCookie, cookie);
    data[0].pUnk->Release();
    connections.reset();

    EXPECT_EQ(point->Unadvise(cookie + 1), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(sink.references, 1u);  // released when disconnected
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_TRUE(sink.events.empty());
  }
  // The last reference went: OnDestroy was fired and the sink let go.
  EXPECT_EQ(sink.events, std::vector<DISPID>{5});
  EXPECT_EQ(sink.references, 1u);
  EXPECT_TRUE(stranger.events.empty());
}

// A container that activates the control in one call: the events sink is connected, the misc
// status and view status come back, and a structure of an unknown (smaller) size is refused so that
// the container falls back to the step-by-step calls.
TEST(Events, QuickActivateConnectsTheContainersSink) {
  const Control& journal = Controls()[4];
  RecordingSink sink(Guid(journal.eventsIid));
  {
    Ref<IDispatch> control = Create(L"Citara.Journal");
    ASSERT_TRUE(control);
    Ref<IQuickActivate> quick;
    ASSERT_EQ(control->QueryInterface(IID_IQuickActivate, quick.put_void()), S_OK);
    QACONTAINER container{};
    QACONTROL answer{};
    container.cbSize = sizeof(container) - 1;
    answer.cbSize = sizeof(answer);
    EXPECT_EQ(quick->QuickActivate(&container, &answer), E_INVALIDARG);
    container.cbSize = sizeof(container);
    container.pUnkEventSink = &sink;
    ASSERT_EQ(quick->QuickActivate(&container, &answer), S_OK);
    EXPECT_NE(answer.dwEventCookie, 0u);
    EXPECT_EQ(answer.dwViewStatus, static_cast<DWORD>(VIEWSTATUS_OPAQUE));
    Ref<IOleObject> object;
    ASSERT_EQ(control->QueryInterface(IID_IOleObject, object.put_void()), S_OK);
    DWORD misc = 0;
    ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(answer.dwMiscStatus, misc);
    EXPECT_EQ(sink.references, 2u);  // held by the connection
    SIZEL extent{};
    ASSERT_EQ(quick->GetContentExtent(&extent), S_OK);
    EXPECT_GT(extent.cx, 0);
  }
  EXPECT_EQ(sink.events, std::vector<DISPID>{5});  // OnDestroy, through the sink QuickActivate connected
  EXPECT_EQ(sink.references, 1u);
}

// --- Factories, counts, unloading ---

TEST(Factories, CountsDecideUnloading) {
  ServerFunctions citara(ServerPath(L"Citara.dll"));
  ASSERT_TRUE(citara.Loaded());
  EXPECT_EQ(citara.canUnloadNow(), S_OK);  // nothing of it is alive

  Ref<IClassFactory> factory;
  ASSERT_EQ(citara.getClassObject(Guid(Controls()[0].clsid), IID_IClassFactory, factory.put_void()), S_OK);
  EXPECT_EQ(citara.canUnloadNow(), S_FALSE);  // a host holds its factory

  Ref<IDispatch> control, aggregated;
  Ref<IUnknown> outer;
  ASSERT_EQ(CoCreateInstance(CLSID_StdFont, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, outer.put_void()), S_OK);
  EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, aggregated.put_void()), CLASS_E_NOAGGREGATION);
  EXPECT_FALSE(aggregated);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, control.put_void()), E_NOINTERFACE);
  EXPECT_FALSE(control);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.put_void()), S_OK);
  factory.reset();
  EXPECT_EQ(citara.canUnloadNow(), S_FALSE);  // a control lives
  control.reset();
  EXPECT_EQ(citara.canUnloadNow(), S_OK);

  ASSERT_EQ(citara.getClassObject(Guid(Controls()[0].clsid), IID_IClassFactory, factory.put_void()), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  EXPECT_EQ(citara.canUnloadNow(), S_FALSE);  // locked
  ASSERT_EQ(citara.getClassObject(Guid(Controls()[0].clsid), IID_IClassFactory, factory.put_void()), S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  factory.reset();
  EXPECT_EQ(citara.canUnloadNow(), S_OK);

  // A class of the other library, and an interface that no factory has.
  void* out = &out;
  EXPECT_EQ(citara.getClassObject(Guid(Controls()[9].clsid), IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(citara.getClassObject(Guid(Controls()[0].clsid), IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
}

// --- Registration ---

std::wstring RegistryValue(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t value[1024] = {};
  LONG size = sizeof(value);
  DWORD bytes = sizeof(value), type = 0;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return L"<no key>";
  const LONG status = RegQueryValueExW(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(handle);
  (void)size;
  if (status != ERROR_SUCCESS) return L"<no value>";
  return type == REG_SZ ? std::wstring(value) : L"<not REG_SZ>";
}

void ExpectRegistered(const Control& c, const std::wstring& inprocPath, const std::wstring& longPath) {
  SCOPED_TRACE(::testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
  const std::wstring key = std::wstring(L"CLSID\\") + c.clsid;
  const std::wstring description = std::wstring(c.name) + L" Control";
  const std::wstring libid = LibraryOf(c).libid;
  const std::pair<std::wstring, std::wstring> expected[] = {
      {key, description},
      {key + L"\\InprocServer32", inprocPath},
      {key + L"\\ProgID", c.ProgId()},
      {c.ProgId(), description},
      {c.ProgId() + L"\\Clsid", c.clsid},
      {key + L"\\Version", L"1.0"},
      {key + L"\\TypeLib", libid},
      {key + L"\\MiscStatus", L"0"},
      {key + L"\\MiscStatus\\1", L"205201"},
      {key + L"\\ToolboxBitmap32", longPath + L"," + std::to_wstring(c.toolboxBitmap)},
      {key + L"\\Control", L""},
      {key + L"\\Verb", L""},
      {key + L"\\Verb\\0", L"Properties,0,2"},
  };
  for (const auto& [k, value] : expected) {
    EXPECT_EQ(_wcsicmp(RegistryValue(k).c_str(), value.c_str()), 0) << "key " << std::string(k.begin(), k.end())
                                                                    << " holds " << std::string(RegistryValue(k).begin(), RegistryValue(k).end());
  }
  EXPECT_EQ(RegistryValue(key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
}

std::wstring ShortPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  return GetShortPathNameW(path.c_str(), buffer, MAX_PATH) ? std::wstring(buffer) : path;
}

TEST(Registration, KeysOfEveryClassAndAPathWithASpace) {
  for (const Control& c : Controls()) {
    const std::wstring path = ServerPath((std::wstring(c.library) + L".dll").c_str());
    ExpectRegistered(c, path, path);
  }
  Ref<ITypeLib> registered;
  EXPECT_EQ(LoadRegTypeLib(Guid(kLibraries[0].libid), 1, 0, 0, registered.put()), S_OK);

  // A copy in a folder whose path has a space registers its short path for the server and its long
  // path for the toolbox bitmap; unregistering it twice succeeds and leaves no key.
  const std::wstring folder = L"C:\\Program Files\\Citara Host Test";
  const std::wstring copy = folder + L"\\Citara.dll";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(ServerPath(L"Citara.dll").c_str(), copy.c_str(), FALSE));
  {
    ServerFunctions moved(copy);
    ASSERT_TRUE(moved.Loaded());
    ASSERT_EQ(moved.registerServer(), S_OK);
    const std::wstring shortPath = ShortPath(copy);
    EXPECT_EQ(shortPath.find(L' '), std::wstring::npos);
    for (std::size_t i = 0; i < 6; ++i) ExpectRegistered(Controls()[i], shortPath, copy);
    EXPECT_EQ(moved.unregisterServer(), S_OK);
    EXPECT_EQ(moved.unregisterServer(), S_OK);
    for (std::size_t i = 0; i < 6; ++i) {
      EXPECT_EQ(RegistryValue(std::wstring(L"CLSID\\") + Controls()[i].clsid), L"<no key>");
      EXPECT_EQ(RegistryValue(Controls()[i].ProgId()), L"<no key>");
    }
  }
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());

  // Registered again from the build, for the tests that follow.
  ServerFunctions citara(ServerPath(L"Citara.dll"));
  ASSERT_TRUE(citara.Loaded());
  ASSERT_EQ(citara.registerServer(), S_OK);
  for (std::size_t i = 0; i < 6; ++i) ExpectRegistered(Controls()[i], ServerPath(L"Citara.dll"), ServerPath(L"Citara.dll"));
}

// --- Class information ---

// IProvideClassInfo2 of every control: the control class's own type information and its events
// interface as the default source, as a form designer or macro editor asks before binding events.
TEST(ClassInformation, EveryControlGivesItsClassAndItsEventsInterface) {
  for (const Control& c : Controls()) {
    SCOPED_TRACE(::testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
    Ref<IDispatch> control = Create(c.ProgId().c_str());
    ASSERT_TRUE(control);
    Ref<IProvideClassInfo2> info2;
    ASSERT_EQ(control->QueryInterface(IID_IProvideClassInfo2, info2.put_void()), S_OK);
    Ref<IProvideClassInfo> info;
    ASSERT_EQ(control->QueryInterface(IID_IProvideClassInfo, info.put_void()), S_OK);

    Ref<ITypeInfo> cls;
    ASSERT_EQ(info->GetClassInfo(cls.put()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(cls->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, Guid(c.clsid)));
    cls->ReleaseTypeAttr(attributes);
    EXPECT_EQ(NameOf(cls.get()), c.name);

    GUID events = GUID_NULL;
    EXPECT_EQ(info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_TRUE(IsEqualGUID(events, Guid(c.eventsIid)));
    EXPECT_EQ(info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID + 1, &events), E_INVALIDARG);
    EXPECT_TRUE(IsEqualGUID(events, GUID_NULL));
    EXPECT_EQ(info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr), E_POINTER);
    EXPECT_EQ(info2->GetClassInfo(nullptr), E_POINTER);
  }
}

// --- The font a host puts ---

struct FontOfHost {
  const wchar_t* name;
  LONGLONG size;  // CY: 1/10000 point
  SHORT weight, charset;
  BOOL italic, underline, strikethrough;
};

Ref<IFontDisp> MakeFont(const FontOfHost& f) {
  FONTDESC description{sizeof(FONTDESC), const_cast<LPOLESTR>(f.name), {}, f.weight, f.charset, f.italic, f.underline,
                       f.strikethrough};
  description.cySize.int64 = f.size;
  Ref<IFontDisp> font;
  EXPECT_EQ(OleCreateFontIndirect(&description, IID_IFontDisp, font.put_void()), S_OK);
  return font;
}

// Each attribute of a font object: what a host reads of it.
struct FontRead {
  LONGLONG size = 0;
  SHORT weight = 0, charset = 0;
  bool bold = false, italic = false, underline = false, strikethrough = false;
  friend bool operator==(const FontRead&, const FontRead&) = default;
};

FontRead ReadFont(IUnknown* object) {
  FontRead r;
  Ref<IFont> font;
  EXPECT_EQ(object->QueryInterface(IID_IFont, font.put_void()), S_OK);
  if (!font) return r;
  CY size{};
  BOOL bold = FALSE, italic = FALSE, underline = FALSE, strikethrough = FALSE;
  EXPECT_EQ(font->get_Size(&size), S_OK);
  EXPECT_EQ(font->get_Weight(&r.weight), S_OK);
  EXPECT_EQ(font->get_Bold(&bold), S_OK);
  EXPECT_EQ(font->get_Italic(&italic), S_OK);
  EXPECT_EQ(font->get_Underline(&underline), S_OK);
  EXPECT_EQ(font->get_Strikethrough(&strikethrough), S_OK);
  EXPECT_EQ(font->get_Charset(&r.charset), S_OK);
  r.size = size.int64;
  r.bold = bold != FALSE;
  r.italic = italic != FALSE;
  r.underline = underline != FALSE;
  r.strikethrough = strikethrough != FALSE;
  return r;
}

// A font put by value or by reference is taken over whole: the Font property reads back every
// attribute as the host's own font object reads it (its size, weight, italic, underline,
// strikethrough, character set; Wine reports the size and character set of the font it realizes),
// in both libraries (CitaraWeb's put by reference is [in] only).
TEST(Font, EveryAttributeOfAPutFontComesBackThroughBothKindsOfPut) {
  static const FontOfHost kFonts[] = {
      {L"Arial", 140000, FW_BOLD, 204, TRUE, TRUE, TRUE},
      {L"Courier New", 90000, FW_NORMAL, ANSI_CHARSET, FALSE, FALSE, FALSE},
      {L"Times New Roman", 120000, FW_BLACK, DEFAULT_CHARSET, TRUE, FALSE, TRUE},
  };
  for (const wchar_t* progId : {L"Citara.Journal", L"CitaraWeb.WebArticle"}) {
    for (const WORD kind : {WORD{DISPATCH_PROPERTYPUT}, WORD{DISPATCH_PROPERTYPUTREF}}) {
      SCOPED_TRACE(::testing::Message() << std::string(progId, progId + wcslen(progId))
                                        << (kind == DISPATCH_PROPERTYPUT ? " put" : " putref"));
      Ref<IDispatch> control = Create(progId);
      ASSERT_TRUE(control);
      for (const FontOfHost& f : kFonts) {
        SCOPED_TRACE(::testing::Message() << f.size << " weight " << f.weight);
        Ref<IFontDisp> font = MakeFont(f);
        ASSERT_TRUE(font);
        ASSERT_EQ(Call(control.get(), L"Font", kind, {Arg(font.get())}, nullptr), S_OK);
        Variant kept;
        ASSERT_EQ(Get(control.get(), L"Font", kept), S_OK);
        ASSERT_EQ(kept.vt, VT_DISPATCH);
        const FontRead read = ReadFont(kept.pdispVal), given = ReadFont(font.get());
        EXPECT_EQ(read, given);
        EXPECT_EQ(read.weight, f.weight);
        EXPECT_EQ(read.bold, f.weight >= FW_BOLD);
        EXPECT_EQ(read.italic, f.italic != FALSE);
        EXPECT_EQ(read.underline, f.underline != FALSE);
        EXPECT_EQ(read.strikethrough, f.strikethrough != FALSE);
        if (f.charset != DEFAULT_CHARSET) {
          EXPECT_EQ(read.charset, f.charset);
        }
      }
    }
  }
}

// --- Data for a host that pastes or drags the control ---

// IDataObject offers the MLA entry as "Rich Text Format" and as Unicode text; the system clipboard
// takes both from the control, as a host's paste would.
TEST(DataObject, TheMlaEntryAsRichTextAndAsUnicodeText) {
  Ref<IDispatch> journal = Create(L"Citara.Journal");
  ASSERT_TRUE(journal);
  ASSERT_EQ(Put(journal.get(), L"SavedData",
                Arg(L"Article Title:=the novel: a survey\r\nJournal:=modern fiction studies\r\nYear:=1990\r\n"
                    L"Volume #:=36\r\nIssue #:=2\r\nPage No(s):=10-20\r\n*Author0Last=Zola\r\n"
                    L"*Author0First=\u00C9mile\r\n*Author0MI=\r\n")),
            S_OK);
  const std::wstring plain = L"Zola, \u00C9mile. \"The Novel: A Survey.\" Modern Fiction Studies 36.2 (1990): 10-20.";
  Variant rtf;
  ASSERT_EQ(Call(journal.get(), L"GetMLACitaraInfo", DISPATCH_METHOD, {}, &rtf), S_OK);
  const std::wstring rtfText = rtf.Text();

  Ref<IDataObject> data;
  ASSERT_EQ(journal->QueryInterface(IID_IDataObject, data.put_void()), S_OK);
  const CLIPFORMAT richText = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Rich Text Format"));
  Ref<IEnumFORMATETC> formats;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.put()), S_OK);
  FORMATETC offered[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(formats->Next(3, offered, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(offered[0].cfFormat, richText);
  EXPECT_EQ(offered[1].cfFormat, CF_UNICODETEXT);
  for (const FORMATETC& f : offered) {
    if (f.cfFormat == 0) continue;
    EXPECT_EQ(f.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(f.dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
    EXPECT_EQ(data->QueryGetData(const_cast<FORMATETC*>(&f)), S_OK);
  }
  Ref<IEnumFORMATETC> toSet;
  EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, toSet.put()), E_NOTIMPL);

  // Asked directly.
  for (const FORMATETC& f : {offered[0], offered[1]}) {
    FORMATETC asked = f;
    STGMEDIUM medium{};
    ASSERT_EQ(data->GetData(&asked, &medium), S_OK);
    ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    const void* bytes = GlobalLock(medium.hGlobal);
    ASSERT_NE(bytes, nullptr);
    if (f.cfFormat == CF_UNICODETEXT) {
      EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(bytes)), plain);
    } else {
      const std::string narrow(static_cast<const char*>(bytes));
      EXPECT_EQ(std::wstring(narrow.begin(), narrow.end()), rtfText);
    }
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
  }
  // What is not offered.
  static const struct {
    const char* what;
    FORMATETC format;
    HRESULT answer;
  } refused[] = {
      {"ANSI text", {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
      {"a stream", {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, DV_E_TYMED},
      {"an icon", {CF_UNICODETEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL}, DV_E_DVASPECT},
      {"a page", {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, 1, TYMED_HGLOBAL}, DV_E_LINDEX},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.what);
    FORMATETC asked = r.format;
    STGMEDIUM medium{};
    EXPECT_EQ(data->QueryGetData(&asked), r.answer);
    EXPECT_EQ(data->GetData(&asked, &medium), r.answer);
    EXPECT_EQ(medium.hGlobal, nullptr);
  }
  // Into a host's own memory, when it is large enough.
  {
    FORMATETC asked = offered[1];
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 4);
    EXPECT_EQ(data->GetDataHere(&asked, &medium), STG_E_MEDIUMFULL);
    medium.hGlobal = GlobalReAlloc(medium.hGlobal, 4096, GMEM_MOVEABLE);
    ASSERT_EQ(data->GetDataHere(&asked, &medium), S_OK);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(medium.hGlobal))), plain);
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
  }

  // Through the system clipboard, as a host's copy and another program's paste.
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  ASSERT_EQ(OleSetClipboard(data.get()), S_OK);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(richText));
  HANDLE text = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(text))), plain);
  GlobalUnlock(text);
  CloseClipboard();
  EXPECT_EQ(OleSetClipboard(nullptr), S_OK);
  OleUninitialize();
}

// --- Two apartments at once ---

struct ApartmentWork {
  const wchar_t* progId;
  const wchar_t* saved;
  const wchar_t* inEntry;  // a part of the MLA entry
  int failures = 0;
};

// One apartment thread: 200 controls made, filled, asked, checked, reset and released.
DWORD WINAPI RunApartment(void* parameter) {
  auto& work = *static_cast<ApartmentWork*>(parameter);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  for (int round = 0; round < 200; ++round) {
    Ref<IDispatch> control = Create(work.progId);
    Variant saved, mla, valid;
    const bool ok = control && Put(control.get(), L"SavedData", Arg(work.saved)) == S_OK &&
                    Get(control.get(), L"SavedData", saved) == S_OK &&
                    Call(control.get(), L"GetMLACitaraInfo", DISPATCH_METHOD, {}, &mla) == S_OK &&
                    mla.Text().find(work.inEntry) != std::wstring::npos &&
                    Call(control.get(), L"ValidateData", DISPATCH_METHOD, {}, &valid) == S_OK &&
                    Call(control.get(), L"Reset", DISPATCH_METHOD, {}, nullptr) == S_OK;
    if (!ok) ++work.failures;
  }
  CoUninitialize();
  return 0;
}

// Controls live on the thread that made them: two apartment threads create, fill, ask and release
// controls of both libraries at the same time, and each gets its own entries.
TEST(Apartments, TwoThreadsDriveTheirOwnControlsAtOnce) {
  ApartmentWork works[] = {
      {L"Citara.Book", L"Title:=a tale of two cities\r\n*Author0Last=Dickens\r\n*Author0First=Charles\r\n",
       L"Dickens, Charles"},
      {L"CitaraWeb.WebArticle", L"Title:=the web\r\nURL:=http://example.org/\r\n*Author0Last=Lee\r\n", L"Lee"},
  };
  EXPECT_TRUE(RunAtOnce(works, RunApartment, 120000));
  for (const ApartmentWork& work : works) {
    EXPECT_EQ(work.failures, 0) << std::string(work.progId, work.progId + wcslen(work.progId));
  }
}

#ifdef CITARA_X86_SERVER_DIR
// --- Both bitnesses registered at once ---

// With the x86 servers registered beside this build's x64 ones, each view of the registry names
// its own: a 64-bit host finds the x64 DLLs, a 32-bit host the x86 DLLs, under the same ProgIDs,
// and the type library has its path for each.
TEST(Registration, TheX86ServersStandInTheThirtyTwoBitViewBesideTheseOnes) {
  const auto value = [](const std::wstring& key, REGSAM view) {
    wchar_t text[1024] = {};
    DWORD bytes = sizeof(text);
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) {
      return std::wstring(L"<no key>");
    }
    const LONG status = RegQueryValueExW(handle, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &bytes);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? std::wstring(text) : std::wstring(L"<no value>");
  };
  const auto windowsPath = [](std::wstring path) {
    for (wchar_t& ch : path) {
      if (ch == L'/') ch = L'\\';
    }
    return path;
  };
  for (const Control& c : Controls()) {
    SCOPED_TRACE(::testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
    const std::wstring key = std::wstring(L"CLSID\\") + c.clsid + L"\\InprocServer32";
    const std::wstring dll = std::wstring(L"\\") + c.library + L".dll";
    const std::wstring x64 = ServerPath((std::wstring(c.library) + L".dll").c_str());
    EXPECT_EQ(_wcsicmp(value(key, KEY_WOW64_64KEY).c_str(), x64.c_str()), 0);
    EXPECT_EQ(_wcsicmp(value(key, KEY_WOW64_32KEY).c_str(), (windowsPath(CITARA_X86_SERVER_DIR) + dll).c_str()), 0);
    EXPECT_EQ(value(c.ProgId() + L"\\Clsid", KEY_WOW64_32KEY), c.clsid);
  }
  for (const Library& library : kLibraries) {
    const std::wstring key = std::wstring(L"TypeLib\\") + library.libid + L"\\1.0\\0\\";
    const std::wstring file = std::wstring(L"\\") + library.name + L".dll";
    const std::wstring x64 = ServerPath((std::wstring(library.name) + L".dll").c_str());
    EXPECT_EQ(_wcsicmp(value(key + L"win64", 0).c_str(), x64.c_str()), 0);
    EXPECT_EQ(_wcsicmp(value(key + L"win32", 0).c_str(), (windowsPath(CITARA_X86_SERVER_DIR) + file).c_str()), 0);
  }
}
#endif

}  // namespace
