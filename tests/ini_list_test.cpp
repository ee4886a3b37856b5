#include "core/ini_list.h"

#include <gtest/gtest.h>

namespace citara {
namespace {

TIniList ListOf(std::initializer_list<const char*> lines) {
  TIniList list;
  for (const char* line : lines) list.Add(line);
  return list;
}

TEST(GetListValue, FirstMatchIgnoringAsciiCase) {
  static const struct {
    std::initializer_list<const char*> lines;
    const char* name;
    const char* expected;
  } cases[] = {
      {{}, "Title:", "default"},
      {{"Title:=a", "title:=b"}, "TITLE:", "a"},
      {{"Title:=a=b"}, "Title:", "a=b"},
      {{"Title:"}, "Title:", "default"},          // no "=", no match
      {{"Title:="}, "Title:", ""},                // present and empty
      {{"*PrimaryName10=x"}, "*PrimaryName1", "default"},  // the "=" is part of the comparison
      {{"Éa=1"}, "éa", "default"},               // letters outside A..Z match exactly
      {{"Éa=1"}, "Éa", "1"},
      {{"continued", "Year:=1998"}, "year:", "1998"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetListValue(ListOf(c.lines), c.name, "default"), c.expected) << c.name;
  }
}

TEST(SetListValue, ReplacesFirstMatchOrAppends) {
  TIniList list = ListOf({"A=1", "a=2"});
  SetListValue(list, "A", "3");
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"A=3", "a=2"}));
  SetListValue(list, "b", "x\r\ny");
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Text(), "A=3\r\na=2\r\nb=x\r\ny\r\n");  // a multi-line value becomes lines as text
}

TEST(IniListText, SplitsAtEveryLineBreakKindAndStopsAtNul) {
  static const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {std::string("a\nb\0c\nd", 7), {"a", "b"}},
  };
  for (const auto& c : cases) {
    TIniList list;
    list.Add("old");
    list.SetText(c.text);
    EXPECT_EQ(list.Lines(), c.lines);
  }
  EXPECT_EQ(ListOf({}).Text(), "");
  EXPECT_EQ(ListOf({"x", ""}).Text(), "x\r\n\r\n");
}

}  // namespace
}  // namespace citara
