// The resources a host and an administrator read from the built binaries: each control's toolbox
// bitmap, found as a form designer finds it (the path and number of ToolboxBitmap32, the DLL loaded
// as a data file, LoadImage at 16 x 15), and every binary's version resource.
#include "tests/server/host_support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "citara_version.h"

namespace {

const auto* const apartment = ::testing::AddGlobalTestEnvironment(new host::ComApartment);

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The default value of HKEY_CLASSES_ROOT\key, or "" when there is none.
std::wstring ClassesRootValue(const std::wstring& key) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof(value) - sizeof(wchar_t);
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return L"";
  const LONG status = RegQueryValueExW(handle, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS ? value : L"";
}

std::wstring ClsidText(const wchar_t* progId) {
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(progId, &clsid))) return L"";
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return text;
}

// The pixels of a bitmap as 32-bit colours, bottom row first.
std::vector<DWORD> Pixels(HBITMAP bitmap, int width, int height) {
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  const int rows = GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows != height) pixels.clear();
  return pixels;
}

struct Toolbox {
  const wchar_t* progId;
  const wchar_t* dll;
  int number;
};
// The numbers registration gives each control's bitmap.
constexpr Toolbox kToolbox[] = {
    {L"Citara.Book", L"Citara.dll", 1},           {L"Citara.Encyclopedia", L"Citara.dll", 2},
    {L"Citara.Magazine", L"Citara.dll", 3},       {L"Citara.Newspaper", L"Citara.dll", 4},
    {L"Citara.Journal", L"Citara.dll", 5},        {L"Citara.Other", L"Citara.dll", 6},
    {L"CitaraWeb.PersonalSite", L"CitaraWeb.dll", 1}, {L"CitaraWeb.ProfessionalSite", L"CitaraWeb.dll", 2},
    {L"CitaraWeb.WebArticle", L"CitaraWeb.dll", 3},   {L"CitaraWeb.Newsgroup", L"CitaraWeb.dll", 4},
};

TEST(Resources, EachControlsToolboxBitmapLoadsAt16By15AsAHostFindsIt) {
  std::set<std::vector<DWORD>> pictures;
  for (const Toolbox& t : kToolbox) {
    SCOPED_TRACE(Narrow(t.progId));
    const std::wstring clsid = ClsidText(t.progId);
    ASSERT_FALSE(clsid.empty()) << "not registered";
    // "C:\...\Citara.dll,1": the module's path, a comma and the bitmap's resource number.
    const std::wstring entry = ClassesRootValue(L"CLSID\\" + clsid + L"\\ToolboxBitmap32");
    const auto comma = entry.find_last_of(L',');
    ASSERT_NE(comma, std::wstring::npos) << Narrow(entry);
    const std::wstring path = entry.substr(0, comma);
    const int number = std::stoi(entry.substr(comma + 1));
    EXPECT_EQ(number, t.number);
    EXPECT_EQ(path.substr(path.find_last_of(L"\\/") + 1), t.dll);

    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << Narrow(path);
    HANDLE image = LoadImageW(module, MAKEINTRESOURCEW(number), IMAGE_BITMAP, 16, 15, LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr) << "no bitmap " << number << " in " << Narrow(path);
    BITMAP bitmap{};
    ASSERT_NE(GetObjectW(image, sizeof(bitmap), &bitmap), 0);
    EXPECT_EQ(bitmap.bmWidth, 16);
    EXPECT_EQ(bitmap.bmHeight, 15);
    // Loaded at its own size: the bitmap is drawn 16 x 15, not stretched from another size.
    HANDLE natural = LoadImageW(module, MAKEINTRESOURCEW(number), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(natural, nullptr);
    BITMAP own{};
    GetObjectW(natural, sizeof(own), &own);
    EXPECT_EQ(own.bmWidth, 16);
    EXPECT_EQ(own.bmHeight, 15);

    const std::vector<DWORD> pixels = Pixels(static_cast<HBITMAP>(image), 16, 15);
    ASSERT_EQ(pixels.size(), 16u * 15u);
    EXPECT_GE(std::set<DWORD>(pixels.begin(), pixels.end()).size(), 4u) << "a picture, not a blank square";
    EXPECT_TRUE(pictures.insert(pixels).second) << "the same picture as another control's";
    DeleteObject(natural);
    DeleteObject(image);
    FreeLibrary(module);
  }
}

// One text of a binary's version resource ("ProductVersion", ...), or "".
std::wstring VersionText(const std::vector<BYTE>& block, const wchar_t* name) {
  const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  wchar_t* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || !text) return L"";
  return text;
}

TEST(Resources, EveryBinaryCarriesTheProjectVersion) {
  const std::wstring version(CITARA_VERSION, CITARA_VERSION + sizeof(CITARA_VERSION) - 1);
  const DWORD numbers = MAKELONG(CITARA_VERSION_MINOR, CITARA_VERSION_MAJOR);
  std::set<std::wstring> descriptions;
  for (const std::wstring& path : {std::wstring(CITARA_SERVER_DIR L"/Citara.dll"),
                                  std::wstring(CITARA_SERVER_DIR L"/CitaraWeb.dll"), std::wstring(CITARA_TOOL)}) {
    SCOPED_TRACE(Narrow(path));
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, numbers);
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, CITARA_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, numbers);
    EXPECT_EQ(VersionText(block, L"FileVersion"), version);
    EXPECT_EQ(VersionText(block, L"ProductVersion"), version);
    EXPECT_EQ(VersionText(block, L"ProductName"), L"Citara");
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    EXPECT_EQ(VersionText(block, L"OriginalFilename"), name);
    const std::wstring description = VersionText(block, L"FileDescription");
    EXPECT_TRUE(description.starts_with(L"Citara ")) << Narrow(description);
    EXPECT_TRUE(descriptions.insert(description).second) << "each binary describes itself";
  }
}

}  // namespace
