#include "core/citation.h"

#include <gtest/gtest.h>

namespace citara {
namespace {

TEST(FindItalicRun, FirstOccurrenceFromWhereThePartWasJoined) {
  static const struct {
    const char *entry, *italic;
    std::size_t from;
    const char* marked;
  } cases[] = {
      {"Smith. A Tale. Boston.", "A Tale", 0, "Smith. *A Tale*. Boston."},
      {"Smith. A Tale. Boston.", "", 0, "Smith. A Tale. Boston."},
      {"Smith. A Tale. Boston.", "a tale", 0, "Smith. A Tale. Boston."},  // case-sensitive
      {"Gray. Gray. Boston.", "Gray", 0, "*Gray*. Gray. Boston."},
      {"Gray. Gray. Boston.", "Gray", 6, "Gray. *Gray*. Boston."},      // the author is skipped
      {"Gray. Boston.", "Gray", 6, "Gray. Boston."},                    // not there: no italics
      {"x", "x", 5, "x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CitationToMarked(FindItalicRun(c.entry, c.italic, c.from)), c.marked);
  }
  CitationBuilder b;
  b << "Gray. ";
  b.Italic("Gray") << "Gray. " << "Boston.";
  EXPECT_EQ(CitationToMarked(std::move(b).Finish()), "Gray. *Gray*. Boston.");
}

TEST(CitationToRtf, OneParagraphWithOneItalicRunAndEscapes) {
  const std::string rtf = MakeCitationRtf("Smith. {A} \\Tale\\. Émile \xF0\x9F\x93\x9A.", "{A} \\Tale\\");
  EXPECT_EQ(rtf,
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}\r\n"
            "\\viewkind4\\uc1\\pard\\rtlch\\fcs1\\af0\\afs16\\ltrch\\fcs0\\f0\\fs16 Smith. "
            "\\rtlch\\fcs1\\ai\\ltrch\\fcs0\\i \\{A\\} \\\\Tale\\\\\\rtlch\\fcs1\\ai0\\ltrch\\fcs0\\i0 . "
            "\\u201 ?mile \\u-10179 ?\\u-8998 ?.\\par\r\n"
            "}\r\n");
  const std::string plain = MakeCitationRtf("plain", "");
  EXPECT_EQ(plain.find("\\i "), std::string::npos);
  EXPECT_EQ(plain.find("\\ai"), std::string::npos);
  EXPECT_TRUE(MakeCitationRtf("", "").ends_with("\r\n"));
}

}  // namespace
}  // namespace citara
