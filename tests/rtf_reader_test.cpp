// Reads Citara's RTF back with an independent reader (pandoc) and checks that it finds exactly the
// entry's text with exactly the expected run in italics.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include "core/citation.h"

namespace citara {
namespace {

// pandoc's document model folds runs of white space into one and drops it at the ends of a
// paragraph; the comparison does the same to the expected text. Byte-exact output is checked by
// the writer's own tests.
std::string FoldSpaces(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string DecodeHtml(std::string_view html) {
  std::string out;
  for (std::size_t i = 0; i < html.size(); ++i) {
    if (html[i] != '&') {
      out += html[i];
      continue;
    }
    const std::size_t end = html.find(';', i);
    const std::string_view entity = html.substr(i + 1, end - i - 1);
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else out.append("&").append(entity).append(";");
    i = end;
  }
  return out;
}

// The paragraph pandoc reads from `rtf`, with its emphasis shown as "[[" and "]]".
std::string ReadWithPandoc(const std::string& rtf) {
  const std::string path = ::testing::TempDir() + "citara_reader_test_" + std::to_string(getpid()) + ".rtf";
  std::ofstream(path, std::ios::binary) << rtf;
  FILE* pipe = popen(("pandoc -f rtf -t html --wrap=none " + path).c_str(), "r");
  std::string html;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) html.append(buf, n);
  pclose(pipe);
  while (!html.empty() && (html.back() == '\n' || html.back() == '\r')) html.pop_back();
  if (html.starts_with("<p>")) html = html.substr(3);
  if (html.ends_with("</p>")) html.resize(html.size() - 4);
  for (const auto& [tag, mark] : {std::pair{"<em>", "[["}, {"</em>", "]]"}}) {
    for (std::size_t at; (at = html.find(tag)) != std::string::npos;) html.replace(at, std::string_view(tag).size(), mark);
  }
  return DecodeHtml(html);
}

TEST(RtfReadBack, AnIndependentReaderFindsTheTextAndTheItalicRun) {
  if (std::system("pandoc --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "pandoc is not installed";
  static const struct {
    const char *entry, *italic;
    std::size_t from;
  } cases[] = {
      {"Smith, J. (1998). A tale. Boston: Harbor Books.", "A tale.", 0},
      {"Back\\slash {braces} and \"quotes\" 'single'. Title.", "{braces}", 0},
      {"Zola, Émile. Œuvres complètes: Première série. Paris: Ça, 1998.", "Œuvres complètes: Première série", 0},
      {"Достоевский, Ф. (1866). Преступление и наказание. Москва.", "Преступление и наказание.", 0},
      {"Μαρία, Κ. Ιστορία. 李白. 東京: 出版社, 2001. שלום. مرحبا.", "Ιστορία", 0},
      {"Gray. Gray. Boston.", "Gray", 6},
      {"No italics here: \\{}.", "", 0},
      {"Title at the end \\", "end \\", 0},
      {"Tab\there and nbsp\u00A0there.", "here", 0},
  };
  for (const auto& c : cases) {
    const Citation citation = FindItalicRun(c.entry, c.italic, c.from);
    std::string expected = citation.text;
    if (citation.HasItalics()) {
      expected.insert(citation.italicEnd, "]]");
      expected.insert(citation.italicBegin, "[[");
    }
    std::string read = ReadWithPandoc(CitationToRtf(citation));
    for (std::string* s : {&expected, &read}) {
      for (char& ch : *s) {
        if (ch == '\t') ch = ' ';
      }
    }
    // Emphasis never starts or ends on folded space in these rows, so folding both sides is fair.
    EXPECT_EQ(FoldSpaces(read), FoldSpaces(expected)) << c.entry;
  }
}

}  // namespace
}  // namespace citara
