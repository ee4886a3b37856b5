// Generated cases, from a fixed seed so that a failure reproduces:
// - 10,000 entries with RTF's special characters, quotes, tabs and names from several scripts,
//   written as RTF and read back by an independent reader (pandoc) to exactly their text and their
//   italic run;
// - 10,000 filled forms of all ten kinds whose saved-data text loads into a fresh control and gives
//   back the same text;
// - 10,000 generated lists of contributor keys (any case, gaps, repeats, leading zeros, other
//   prefixes) that LoadContributors reads as the key-by-key search reads them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "collection/csl_json.h"
#include "core/citation.h"
#include "core/contributors.h"
#include "core/ini_list.h"
#include "core/saved_data.h"
#include "core/source_values.h"
#include "core/source_form.h"
#include "form_test_support.h"
#include "print/print_forms.h"
#include "web/web_forms.h"
#include "widgets/date_edit.h"
#include "widgets/platform.h"

namespace citara {
namespace {

constexpr int kCases = 10000;
constexpr unsigned kSeed = 20240315;

// Pieces that text is made of: plain words, RTF's special characters, quotes, a tab, and words
// of several scripts (all in the Basic Multilingual Plane: pandoc reads a \u surrogate pair as two
// replacement characters, so characters beyond it are checked by the RTF fuzzer's own reader).
constexpr std::string_view kPieces[] = {
    "Smith",   "the",        "biography", "of",       "Boston",     "1998",    "12-15",     ".",
    ",",       ":",          "(",         ")",        "\\",         "{",       "}",         "\\{",
    "}{",      "\\par",      "\\i",       "\"",       "'",          "\t",      "&",         "<b>",
    "Émile",   "Œuvres",     "Łódź",      "ß",        "Ærøskøbing", "Ἀθῆναι",  "Достоевский", "наказание",
    "שלום",    "مرحبا",      "नमस्ते",     "ภาษาไทย",  "李白",       "東京",    "한국어",     "カタカナ",
    "\u00A0",  "€",          "—",         "…",        "ﬁ",          "¿",       "½",         "Ǆ",
};

std::string Words(std::mt19937& random, int count) {
  std::string out;
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> space(0, 3);
  for (int i = 0; i < count; ++i) {
    out += kPieces[piece(random)];
    if (i + 1 < count && space(random) != 0) out += ' ';
  }
  return out;
}

// --- Entries read back by pandoc ---

// `text` less its white space (spaces, tabs, no-break spaces) at both ends.
std::string TrimSpace(std::string_view text) {
  constexpr std::string_view kNoBreakSpace = "\u00A0";
  for (bool trimmed = true; trimmed && !text.empty();) {
    trimmed = false;
    for (std::string_view space : {std::string_view(" "), std::string_view("\t"), kNoBreakSpace}) {
      if (text.starts_with(space)) text.remove_prefix(space.size()), trimmed = true;
      if (text.ends_with(space)) text.remove_suffix(space.size()), trimmed = true;
    }
  }
  return std::string(text);
}

// pandoc's document model folds runs of white space (tabs too) into one space and drops it at the
// ends of a paragraph; the expected text is folded the same way.
std::string Fold(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\t') c = ' ';
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string DecodeHtml(std::string_view html) {
  std::string out;
  for (std::size_t i = 0; i < html.size(); ++i) {
    const std::size_t end = html[i] == '&' ? html.find(';', i) : std::string_view::npos;
    if (end == std::string_view::npos) {
      out += html[i];
      continue;
    }
    const std::string_view entity = html.substr(i + 1, end - i - 1);
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else out.append(html.substr(i, end - i + 1));
    i = end;
  }
  return out;
}

// One paragraph of pandoc's HTML as text, its emphasis shown as "[[" and "]]".
std::string ParagraphText(std::string html) {
  while (!html.empty() && (html.back() == '\n' || html.back() == ' ')) html.pop_back();
  if (html.starts_with("<p>")) html.erase(0, 3);
  if (html.ends_with("</p>")) html.resize(html.size() - 4);
  for (const auto& [tag, mark] : {std::pair{"<em>", "[["}, {"</em>", "]]"}}) {
    for (std::size_t at; (at = html.find(tag)) != std::string::npos;) html.replace(at, std::string_view(tag).size(), mark);
  }
  return DecodeHtml(html);
}

// Reads every file of `paths` with pandoc's RTF reader, each as a document of its own, in one
// pandoc process (a Lua filter calls pandoc.read on each file): the HTML of each, in order.
std::vector<std::string> ReadAllWithPandoc(const std::filesystem::path& dir, const std::vector<std::string>& paths) {
  const std::filesystem::path list = dir / "list", filter = dir / "read_each.lua";
  {
    std::ofstream out(list);
    for (const std::string& p : paths) out << p << '\n';
  }
  std::ofstream(filter) << R"(function Pandoc(doc)
  for path in io.lines(os.getenv("CITARA_RTF_LIST")) do
    local file = io.open(path, "rb")
    local rtf = file:read("a")
    file:close()
    local html = pandoc.write(pandoc.read(rtf, "rtf"), "html", {wrap_text = "none"})
    io.write("@@", (html:gsub("\n", " ")), "\n")
  end
  io.stdout:flush()  -- before pandoc itself writes and exits
  return doc
end
)";
  const std::string command = "CITARA_RTF_LIST='" + list.string() + "' pandoc -f markdown -t plain --lua-filter='" +
                              filter.string() + "' /dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buf[65536];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) output.append(buf, n);
  pclose(pipe);
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("@@")) lines.push_back(line.substr(2));
  }
  return lines;
}

TEST(Property, GeneratedEntriesReadBackWithPandocToTheirTextAndItalicRun) {
  if (std::system("pandoc --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "pandoc is not installed";
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / ("citara_property_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);

  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> length(0, 12), italicLength(1, 6), withItalics(0, 5);
  std::vector<Citation> citations;
  std::vector<std::string> paths;
  for (int i = 0; i < kCases; ++i) {
    // Prefix, italic run, rest. The run holds no white space at its ends: pandoc moves such space
    // out of the emphasis, which the folded comparison could not tell apart.
    // The run is never empty either, so no entry is white space alone (pandoc drops such a
    // paragraph).
    const std::string before = Words(random, length(random));
    std::string italic;
    while (italic.empty()) italic = TrimSpace(Words(random, italicLength(random)));
    const std::string after = Words(random, length(random));
    const bool hasItalics = withItalics(random) != 0;
    CitationBuilder b;
    b << before << " ";
    if (hasItalics) b.Italic(italic);
    b << italic << " " << after;
    citations.push_back(std::move(b).Finish());
    paths.push_back((dir / (std::to_string(i) + ".rtf")).string());
    std::ofstream(paths.back(), std::ios::binary) << CitationToRtf(citations.back());
  }

  const std::vector<std::string> read = ReadAllWithPandoc(dir, paths);
  ASSERT_EQ(read.size(), citations.size());
  int failures = 0;
  for (std::size_t i = 0; i < citations.size() && failures < 10; ++i) {
    const Citation& c = citations[i];
    std::string expected = c.text;
    if (c.HasItalics()) {
      expected.insert(c.italicEnd, "]]");
      expected.insert(c.italicBegin, "[[");
    }
    const std::string got = ParagraphText(read[i]);
    if (Fold(got) != Fold(expected)) {
      ++failures;
      ADD_FAILURE() << "case " << i << "\nentry:    " << c.text << "\nexpected: " << Fold(expected)
                    << "\npandoc:   " << Fold(got);
    }
  }
  std::filesystem::remove_all(dir);
}

// --- Forms whose saved data round-trips through a fresh control ---

const FormDescription& FormAt(std::size_t i) {
  const auto print = PrintForms();
  return i < print.size() ? *print[i] : *WebForms()[i - print.size()];
}

// A name as a user types it: no tabs (a tab moves the focus) and no line breaks.
std::string Name(std::mt19937& random) {
  std::string name = Words(random, std::uniform_int_distribution<int>(0, 2)(random));
  std::erase(name, '\t');
  return name;
}

testing::FormInput RandomInput(std::mt19937& random, const FormDescription& form) {
  testing::FormInput input;
  std::uniform_int_distribution<int> words(0, 8), digits(1, 9999), coin(0, 1), people(0, 4);
  std::uniform_int_distribution<int> year(1600, 2200), month(1, 12), day(1, 28);
  for (const FieldDescription& f : form.fields) {
    switch (f.kind) {
      case FieldKind::Edit: input.texts.emplace_back(f.name, Words(random, words(random))); break;
      // A spin edit keeps a number; left blank, a fresh control would show its default instead.
      case FieldKind::SpinEdit: input.texts.emplace_back(f.name, std::to_string(digits(random))); break;
      case FieldKind::DateEdit:
        input.dates.emplace_back(std::string(f.name),
                                 CivilDate{year(random), static_cast<unsigned>(month(random)), static_cast<unsigned>(day(random))});
        break;
    }
  }
  if (!form.radios.empty() && coin(random)) {
    input.radio = form.radios[std::uniform_int_distribution<std::size_t>(0, form.radios.size() - 1)(random)].name;
  }
  for (const auto& [list, has] : {std::pair{&input.authors, form.hasAuthors}, {&input.editors, form.hasEditors}}) {
    for (int n = has ? people(random) : 0; n > 0; --n) {
      const std::string middle = coin(random) ? std::string(1, static_cast<char>('a' + digits(random) % 26)) : "";
      list->push_back({Name(random), Name(random), middle});
    }
  }
  return input;
}

// Fills `form` with generated input and returns its saved data.
std::string FillAtRandom(std::mt19937& random, TSourceForm& form) {
  const testing::FormInput input = RandomInput(random, form.Description());
  testing::Fill(form, input);
  // A date picked in the calendar shows in its field, as a loaded one does.
  for (const auto& [name, date] : input.dates) form.DateField(name).ShowDate();
  return form.SavedData();
}

TEST(Property, GeneratedFormsSavedDataRoundTripsThroughAFreshControl) {
  HeadlessPlatform port;
  port.SetNow(OleFromCivil({2024, 3, 15}) + 0.4375);
  ScopedPlatform use(port);
  std::mt19937 random(kSeed);
  int failures = 0;
  for (int i = 0; i < kCases && failures < 10; ++i) {
    const FormDescription& description = FormAt(static_cast<std::size_t>(i) % 10);
    TSourceForm form(description);
    const std::string saved = FillAtRandom(random, form);
    TSourceForm fresh(description);
    fresh.SetSavedData(saved);
    if (fresh.SavedData() != saved) {
      ++failures;
      ADD_FAILURE() << "case " << i << " (" << description.className << ")\nsaved:\n" << saved << "\nagain:\n"
                    << fresh.SavedData();
    }
  }
}

// The same generated forms, read from their saved data into a plain record (without a form): the
// record gives back the saved data and the form's own entries. Its CSL-JSON item reads back to the
// same saved data without a warning; every item validates against the CSL-JSON schema, and pandoc's
// CSL-JSON reader and writer keep every one of its variables (all but Citara's own "custom").
TEST(Property, GeneratedFormsRoundTripThroughCslJsonAndOtherReadersKeepEveryVariable) {
  HeadlessPlatform port;
  const OleDate now = OleFromCivil({2024, 3, 15}) + 0.4375;
  port.SetNow(now);
  ScopedPlatform use(port);
  std::mt19937 random(kSeed);
  const auto dir = std::filesystem::temp_directory_path() / ("citara_csl_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string array;
  CslArrayWriter writer;
  int failures = 0;
  for (int i = 0; i < kCases && failures < 10; ++i) {
    const FormDescription& description = FormAt(static_cast<std::size_t>(i) % 10);
    TSourceForm form(description);
    const std::string saved = FillAtRandom(random, form);

    SourceValues values(description, now);
    ReadSavedData(saved, values, now);
    const std::string item = CslItemJson(values, std::to_string(i));
    const CslImportedItem back = ReadCslItem(item, now);
    const bool same = SavedDataText(values) == saved && description.mla(values) == form.MlaCitation() &&
                      description.apa(values) == form.ApaCitation() && &back.values.Form() == &description &&
                      back.warnings.empty() && SavedDataText(back.values) == saved;
    if (!same) {
      ++failures;
      ADD_FAILURE() << "case " << i << " (" << description.className << ")\nsaved:\n" << saved << "\nitem:\n" << item
                    << "\nwarnings: " << back.warnings.size() << (back.warnings.empty() ? "" : " " + back.warnings[0])
                    << "\nagain:\n" << SavedDataText(back.values);
    }
    writer.Add(array, values, std::to_string(i));
  }
  writer.Finish(array);
  const auto items = dir / "items.json", read = dir / "pandoc.json", check = dir / "check.py";
  std::ofstream(items, std::ios::binary) << array;
  // pandoc's reader sets typography as it reads (a run of spaces and tabs becomes one space, quotes
  // and apostrophes become typographic ones, a pair of single quotes double ones) and splits names
  // anew into particles, given name, family name and suffix by its own rules; the values are
  // compared after the same changes, a name by the letters and digits of all its parts.
  std::ofstream(check) << R"(import json, re, sys, jsonschema
def name(n):
    return sorted(c for part in n.values() if isinstance(part, str) for c in part if c.isalnum())
def norm(v, key=""):
    if key in ("author", "editor"):
        return [name(n) for n in v]
    if isinstance(v, str):
        return re.sub("[\u2018\u2019\u201c\u201d\"']", "'", re.sub(r"[ \t]+", " ", v))
    if isinstance(v, dict):
        return {k: norm(x, k) for k, x in v.items() if k != "custom"}
    if isinstance(v, list):
        return [norm(x) for x in v]
    return v
schema, items, read = (json.load(open(p, encoding="utf-8")) for p in sys.argv[1:4])
jsonschema.Draft7Validator(schema).validate(items)
assert len(items) == len(read), (len(items), len(read))
differ = [(a, b) for a, b in zip(items, read) if norm(a) != norm(b)]
for a, b in differ[:5]:
    print("differs:", json.dumps(a, ensure_ascii=False), "\npandoc: ", json.dumps(b, ensure_ascii=False))
print("checked", len(items), "items,", len(differ), "differ")
)";
  const std::string command = "pandoc -f csljson -t csljson " + items.string() + " -o " + read.string() +
                              " && python3 " + check.string() + " " CITARA_SOURCE_DIR "/collection/schema/csl-data.json " +
                              items.string() + " " + read.string() + " >" + (dir / "result.txt").string() + " 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream result(dir / "result.txt");
  const std::string report((std::istreambuf_iterator<char>(result)), std::istreambuf_iterator<char>());
  EXPECT_EQ(status, 0) << report;
  EXPECT_EQ(report, "checked " + std::to_string(kCases) + " items, 0 differ\n");
  std::filesystem::remove_all(dir);
}

// The contributors read the plain way: one search of the list per key, from index 0 until the
// first index without a "Last" key.
ContributorList LoadContributorsKeyByKey(std::string_view prefix, const TIniList& ini) {
  ContributorList list;
  for (std::size_t i = 0;; ++i) {
    const std::string key = "*" + std::string(prefix) + std::to_string(i);
    if (!HasListValue(ini, key + "Last")) return list;
    list.push_back({GetListValue(ini, key + "Last", ""), GetListValue(ini, key + "First", ""),
                    GetListValue(ini, key + "MI", "")});
  }
}

TEST(Property, GeneratedContributorKeysLoadAsTheKeyByKeySearchReadsThem) {
  std::mt19937 random(20261210);
  const auto pick = [&](std::initializer_list<std::string_view> from) {
    return std::string(*(from.begin() + std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)));
  };
  const auto anyCase = [&](std::string word) {
    for (char& c : word) {
      if (random() % 4 == 0) c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
    }
    return word;
  };
  for (int round = 0; round < 10000; ++round) {
    std::string text;
    const int lines = static_cast<int>(random() % 12);
    for (int line = 0; line < lines; ++line) {
      std::string index = std::to_string(random() % 5);
      if (random() % 10 == 0) index = "0" + index;
      text += pick({"*", "*", "*", "", "**"}) + anyCase(pick({"Author", "Author", "Editor", "Auth"})) + index +
              anyCase(pick({"Last", "First", "MI", "Last", "LastX", ""})) + pick({"=", "=", "=", "", "=="}) +
              pick({"Smith", "", "a=b", "Zoë"}) + "\r\n";
    }
    TIniList ini;
    ini.SetText(text);
    ASSERT_EQ(LoadContributors("Author", ini), LoadContributorsKeyByKey("Author", ini)) << text;
  }
}

}  // namespace
}  // namespace citara
