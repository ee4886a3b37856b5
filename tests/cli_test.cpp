// Runs the built citara binary as a user would and checks its output and exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Result {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Examples() { return std::string(CITARA_SOURCE_DIR) + "/examples/"; }

// Runs `citara ARGS` with `input` on standard input and `redirect` (say ">/dev/full") as the
// shell's last word on the command.
Result CitaraRedirected(const std::string& args, const std::string& input, const std::string& redirect);

// Runs `citara ARGS` with `input` on standard input.
Result Citara(const std::string& args, const std::string& input = "") { return CitaraRedirected(args, input, ""); }

Result CitaraRedirected(const std::string& args, const std::string& input, const std::string& redirect) {
  // Files of this process and call alone: CTest runs the cases of this program side by side.
  static int calls = 0;
  const std::string base = ::testing::TempDir() + "citara_cli_" + std::to_string(getpid()) + "_" + std::to_string(++calls);
  const std::string in = base + ".in", out = base + ".out", err = base + ".err";
  std::ofstream(in, std::ios::binary) << input;
  const std::string command =
      std::string(CITARA_BINARY) + " " + args + " <" + in + " >" + out + " 2>" + err + " " + redirect;
  const int raw = std::system(command.c_str());
  Result result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
  for (const std::string& file : {in, out, err}) std::remove(file.c_str());
  return result;
}

TEST(Cli, PrintsEntriesInEachFormatAndNothingElse) {
  const std::string book = Examples() + "book.txt";
  static const struct {
    const char* args;
    const char* expected;
  } cases[] = {
      {"entry --control Book --style mla --format marked ",
       "Smith, John Q. *The Biography of Benjamin Franklin*. Ed. Ann Brown. vol. 2. 3rd ed. New York: Harbor Books, "
       "1998. 12-15. "},
      {"entry --control BOOK --style APA --format text ",
       "Smith, J. Q. (1998). The biography of Benjamin Franklin (3rd ed., Vol. 2, pp. 12-15). New York: Harbor Books."},
      {"entry --format=marked --style=apa --control=book ",
       "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). New York: Harbor Books."},
  };
  for (const auto& c : cases) {
    const Result r = Citara(c.args + book);
    EXPECT_EQ(r.status, 0) << c.args << r.err;
    EXPECT_EQ(r.out, c.expected) << c.args;
    EXPECT_EQ(r.err, "");
  }
  const Result rtf = Citara("entry --control book --style mla " + book);
  EXPECT_TRUE(rtf.out.starts_with("{\\rtf1")) << rtf.out;
  EXPECT_TRUE(rtf.out.ends_with("}\r\n"));
  EXPECT_NE(rtf.out.find("\\i The Biography of Benjamin Franklin\\rtlch\\fcs1\\ai0\\ltrch\\fcs0\\i0 "), std::string::npos);
}

TEST(Cli, ReadsStandardInputAndRoundTripsSavedData) {
  const std::string text = "Title:=a tale\r\nPlace of Printing:=Boston\r\nPublishing Company:=Harbor Books\r\nYear:=2001\r\n";
  EXPECT_EQ(Citara("entry --control Book --style mla --format text", text).out, "A Tale. Boston: Harbor Books, 2001. ");
  EXPECT_EQ(Citara("entry --control Book --style apa --format text -", "\xEF\xBB\xBF" + text).out,
            "A tale. (2001). Boston: Harbor Books.");

  const Result saved = Citara("saved-data --control Book", text);
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_TRUE(saved.out.starts_with("Title:=a tale\r\nPlace of Printing:=Boston\r\n")) << saved.out;
  EXPECT_EQ(Citara("saved-data --control Book", saved.out).out, saved.out);
}

TEST(Cli, ValidateReportsTheFirstBlankRequiredField) {
  const Result ok = Citara("validate --control Journal " + Examples() + "journal.txt");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out + ok.err, "");

  const Result blank = Citara("validate --control Book", "Title:=a tale\r\nYear:=2001\r\n");
  EXPECT_EQ(blank.status, 1);
  EXPECT_EQ(blank.out, "");
  EXPECT_EQ(blank.err,
            "The yellow fields are required for this type of reference.  At least one of the required fields is blank.  "
            "Please enter all the necessary data.\nFirst blank required field: \"Place of Printing:\"\n");
}

TEST(Cli, EveryExampleGivesBothEntriesAndValidates) {
  for (const char* name : {"book", "encyclopedia", "journal", "magazine", "newspaper", "other", "webarticle",
                           "personalsite", "professionalsite", "newsgroup"}) {
    const std::string file = Examples() + name + ".txt";
    for (const char* style : {"mla", "apa"}) {
      const Result r = Citara(std::string("entry --control ") + name + " --style " + style + " --format marked " + file);
      EXPECT_EQ(r.status, 0) << name << r.err;
      EXPECT_FALSE(r.out.empty()) << name;
    }
    EXPECT_EQ(Citara(std::string("validate --control ") + name + " " + file).status, 0) << name;
  }
}

TEST(Cli, BadInputAndBadCommandLines) {
  static const struct {
    const char* args;
    const char* input;
    int status;
    const char* err;  // the first line of standard error
  } cases[] = {
      {"entry --control Book --style mla /no/such/file", "", 1,
       "citara: cannot read \"/no/such/file\": No such file or directory"},
      {"entry --control Book --style mla", "*Date=x\r\n", 0, nullptr},  // a book has no date edit
      {"entry --control Magazine --style mla", "*Date=yesterday\r\n", 1,
       "citara: cannot load the saved data: the value \"yesterday\" of \"*Date\" is not a number"},
      {"saved-data --control WebArticle", "*DateRetrieved=99999999\r\n", 1,
       "citara: cannot load the saved data: the value \"99999999\" of \"*DateRetrieved\" is not a date from 1 January "
       "100 to 31 December 9999"},
      {"entry --control Pamphlet --style mla", "", 2,
       "citara: unknown control \"Pamphlet\" (choose from Book, Encyclopedia, Journal, Magazine, Newspaper, Other, "
       "WebArticle, PersonalSite, ProfessionalSite, Newsgroup)"},
      {"entry --control Book", "", 2, "citara: --style mla|apa|mla9|apa7 is required with entry"},
      {"entry --control Book --style chicago", "", 2, "citara: unknown style \"chicago\" (mla, apa, mla9 or apa7)"},
      {"entry --control Book --style mla --format html", "", 2, "citara: unknown format \"html\" (rtf, text or marked)"},
      {"entry --style mla", "", 2, "citara: --control NAME is required"},
      {"", "", 2, "citara: no command given (entry, saved-data, validate, csl-json or list)"},
      {"print --control Book", "", 2, "citara: unknown command \"print\" (entry, saved-data, validate, csl-json or list)"},
      {"saved-data --control Book --style mla", "", 2, "citara: --style goes with entry and list only"},
      {"validate --control Book --format text", "", 2, "citara: --format goes with entry and list only"},
      {"entry --from csl-json --control Book --style mla", "", 2,
       "citara: --control goes with --from saved-data only: a CSL-JSON item names its own kind"},
      {"entry --from bibtex --control Book --style mla", "", 2,
       "citara: unknown input format \"bibtex\" (saved-data or csl-json)"},
      {"saved-data --control Book --output-dir out", "", 2, "citara: --output-dir goes with --from csl-json only"},
      {"csl-json", "", 2, "citara: --control NAME is required"},
      {"--control Book --style mla", "", 2, "citara: no command given (entry, saved-data, validate, csl-json or list)"},
      {"--control Book -- entry", "", 2, "citara: no command given (entry, saved-data, validate, csl-json or list)"},
      {"--control Book entry", "", 2, "citara: --style mla|apa|mla9|apa7 is required with entry"},
      {"saved-data --control Book --verbose", "", 2, "citara: unknown option \"--verbose\""},
      {"saved-data --control Book a b", "", 2, "citara: more than one input file (\"a\" and \"b\")"},
      {"entry --control", "", 2, "citara: --control needs a value"},
  };
  for (const auto& c : cases) {
    const Result r = Citara(c.args, c.input);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    if (c.err) {
      EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.err) << c.args;
      EXPECT_EQ(r.out, "") << c.args;
    }
  }
  // A failed load leaves nothing half-printed, and usage errors point at the help.
  EXPECT_NE(Citara("entry", "").err.find("Try 'citara --help'."), std::string::npos);
}

const char* const kTaleForHelp = "Title:=a tale\r\nPlace of Printing:=Boston\r\nPublishing Company:=Harbor Books\r\nYear:=2001\r\n";

TEST(Cli, HelpDescribesTheCommands) {
  for (const char* args : {"--help", "-h", "help"}) {
    const Result r = Citara(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("Usage: citara COMMAND [OPTIONS] [FILE]")) << args;
    for (const char* word : {"entry", "saved-data", "validate", "csl-json", "--style", "--format", "--from",
                             "--output-dir", "--strict", "marked", "Newsgroup", "256 MiB"}) {
      EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
  }
  // Each command has its own help, with --help anywhere among its options.
  static const struct {
    const char* args;
    const char* usage;
  } commands[] = {
      {"entry --help", "Usage: citara entry [--from saved-data] --control NAME --style STYLE"},
      {"entry --control Book -h", "Usage: citara entry"},
      {"help saved-data", "Usage: citara saved-data"},
      {"validate --help", "Usage: citara validate"},
      {"csl-json --help", "Usage: citara csl-json --control NAME [FILE...]"},
  };
  for (const auto& c : commands) {
    const Result r = Citara(c.args);
    EXPECT_EQ(r.status, 0) << c.args;
    EXPECT_TRUE(r.out.starts_with(c.usage)) << c.args << "\n" << r.out;
  }
  // A command's help lists the options it takes, and only those, and shows examples of it.
  static const struct {
    const char* command;
    std::vector<const char*> options, others;
  } options[] = {
      {"entry", {"--control NAME", "--from FORMAT", "--style STYLE", "--format FORMAT", "--strict"}, {"--output-dir"}},
      {"saved-data", {"--control NAME", "--from FORMAT", "--output-dir DIR", "--strict"}, {"--style", "--format"}},
      {"validate", {"--control NAME", "--from FORMAT", "--strict"}, {"--style", "--output-dir"}},
      {"csl-json", {"--control NAME", "--strict"}, {"--from", "--style", "--output-dir"}},
  };
  for (const auto& c : options) {
    const std::string help = Citara(std::string(c.command) + " --help").out;
    for (const char* o : c.options) EXPECT_NE(help.find("\n  " + std::string(o) + " "), std::string::npos) << c.command << " " << o;
    for (const char* o : {"-h, --help", "--"}) EXPECT_NE(help.find("\n  " + std::string(o) + " "), std::string::npos) << c.command << " " << o;
    for (const char* o : c.others) EXPECT_EQ(help.find(o), std::string::npos) << c.command << " " << o;
    EXPECT_NE(help.find("Examples:\n  citara " + std::string(c.command) + " "), std::string::npos) << help;
    EXPECT_NE(Citara("--help").out.find("\n  citara " + std::string(c.command) + " --"), std::string::npos) << c.command;
    // No line of the help is wider than a terminal.
    for (std::size_t start = 0, end; (end = help.find('\n', start)) != std::string::npos; start = end + 1) {
      EXPECT_LE(end - start, 100u) << help.substr(start, end - start);
    }
  }
  // Options may come before the command, and help asked for before it is the command's.
  EXPECT_TRUE(Citara("--help entry").out.starts_with("Usage: citara entry"));
  EXPECT_EQ(Citara("--control Book --style mla --format text entry", kTaleForHelp).out, "A Tale. Boston: Harbor Books, 2001. ");
}

TEST(Cli, VersionIsTheProjectsVersion) {
  const Result r = Citara("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string("citara ") + CITARA_PROJECT_VERSION + "\n");
  EXPECT_EQ(r.err, "");
  EXPECT_NE(Citara("--help").out.find("--version"), std::string::npos);
}

// A folder of this process's own for files a case writes.
std::filesystem::path Scratch(const std::string& name) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / ("citara_cli_" + std::to_string(getpid()) + "_" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void Write(const std::filesystem::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

const std::string kTale = "Title:=a tale\r\nPlace of Printing:=Boston\r\nPublishing Company:=Harbor Books\r\nYear:=2001\r\n";

TEST(Cli, AnOutputThatCannotBeWrittenIsAnError) {
  static const struct {
    const char* redirect;
    const char* err;
  } cases[] = {
      {">/dev/full", "citara: cannot write the output: No space left on device\n"},
      {">&-", "citara: cannot write the output: Bad file descriptor\n"},
  };
  for (const auto& c : cases) {
    for (const char* args : {"entry --control Book --style mla", "saved-data --control Book", "--help",
                             "csl-json --control Book"}) {
      const Result r = CitaraRedirected(args, kTale, c.redirect);
      EXPECT_EQ(r.status, 1) << args << " " << c.redirect;
      EXPECT_EQ(r.err, c.err) << args << " " << c.redirect;
    }
  }
}

// `text` as UTF-16 with its byte-order mark.
std::string Utf16(std::string_view text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) {  // ASCII, and one "é" written as U+00E9
    const unsigned unit = c == '@' ? 0xE9 : static_cast<unsigned char>(c);
    out += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
    out += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
  }
  return out;
}

TEST(Cli, ReadsUtf16ByItsByteOrderMarkAndRefusesOtherBinary) {
  const std::string text = "Title:=caf@ tales\r\nPlace of Printing:=Boston\r\nPublishing Company:=Harbor Books\r\nYear:=2001\r\n";
  for (bool bigEndian : {false, true}) {
    const Result r = Citara("entry --control Book --style mla --format text", Utf16(text, bigEndian));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Café Tales. Boston: Harbor Books, 2001. ");
  }
  static const struct {
    std::string input;
    const char* err;
  } refused[] = {
      {std::string("Title:=a\0b\r\n", 12),
       "citara: standard input holds a NUL byte at byte 9: it is not text (UTF-16 text needs its byte-order mark)\n"},
      {std::string("T\0i\0t\0", 6),
       "citara: standard input holds a NUL byte at byte 2: it is not text (UTF-16 text needs its byte-order mark)\n"},
      {"Title:=caf\xE9\r\n", "citara: standard input is not UTF-8 text (byte 0xE9 at byte 11); save it as UTF-8 or UTF-16\n"},
      {std::string("\xFF\xFE\x00\xD8", 4), "citara: standard input is UTF-16 text with a lone surrogate at byte 2\n"},
  };
  for (const auto& c : refused) {
    const Result r = Citara("entry --control Book --style mla", c.input);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
}

TEST(Cli, InputsOverTheLimitAreRefusedBeforeTheyAreReadWhole) {
  const std::string command = "head -c 268435457 /dev/zero | " + std::string(CITARA_BINARY) +
                              " saved-data --control Book >/dev/null 2>" + ::testing::TempDir() + "limit.err";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(Slurp(::testing::TempDir() + "limit.err"), "citara: standard input is larger than 256 MiB, the most citara reads\n");
}

TEST(Cli, MemoryStaysWithinThreeTimesTheInput) {
#ifdef CITARA_SANITIZED
  GTEST_SKIP() << "the sanitizers' shadow memory needs more address space than any input";
#endif
  // Short lines once cost 64 bytes of memory per byte of input: 50 MB of line breaks took 3.4 GB.
  // The tool runs with its address space limited to three times its input (a static program,
  // so the limit is what it allocates).
  const auto dir = Scratch("memory");
  static const struct {
    const char* name;
    std::string line;
    const char* args;
  } cases[] = {
      {"line breaks", "\n", "saved-data --control Book"},
      {"short lines", "x\n", "entry --control Journal --style apa"},
      {"blank contributors", "*Author0Last=\n*Author0First=\n*Author0MI=\n", "saved-data --control Book"},
  };
  for (const auto& c : cases) {
    std::string text;
    text.reserve(50u << 20);
    while (text.size() + c.line.size() <= (50u << 20)) text += c.line;
    const auto file = dir / "input.txt";
    Write(file, text);
    text = {};
    const std::string command = "ulimit -v " + std::to_string(3 * (50u << 20) / 1024) + " && " + CITARA_BINARY + " " +
                                c.args + " " + file.string() + " >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << c.name;
  }
  std::filesystem::remove_all(dir);
}

TEST(Cli, ManyContributorsLoadAndSaveInOrder) {
  // Loading once searched the list once per key, and saving replaced each key by a search: time in N².
  std::string text = "Title:=a tale\r\n";
  constexpr int kAuthors = 100000;
  for (int i = 0; i < kAuthors; ++i) {
    const std::string n = std::to_string(i);
    text += "*Author" + n + "Last=Last" + n + "\r\n*Author" + n + "First=First\r\n*Author" + n + "MI=Q\r\n";
  }
  const Result r = Citara("saved-data --control Journal", text);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("*PrimaryName100000=Last99999, First Q\r\n*APAPrimaryName1=Last0, F. Q\r\n"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("*Author99999Last=Last99999\r\n*Author99999First=First\r\n*Author99999MI=Q\r\n"));
  EXPECT_EQ(Citara("saved-data --control Journal", r.out).out, r.out);
}

TEST(Cli, WarningsNameTheLinesThatLoadButPerhapsNotAsMeant) {
  static const struct {
    const char* control;
    const char* input;
    const char* warnings;
  } cases[] = {
      {"Book", "*Author0Last=Smith\r\n*Author0First=\r\n*Author0MI=\r\n*Author2Last=Roe\r\n*Author2First=Ann\r\n",
       "citara: warning: standard input line 4: \"*Author2Last\" is not loaded: the authors end at entry 1 (there is no "
       "\"*Author1Last\")\n"
       "citara: warning: standard input line 5: \"*Author2First\" is not loaded: the authors end at entry 1 (there is no "
       "\"*Author1Last\")\n"},
      {"Other", "*Editor0First=Ann\r\n",
       "citara: warning: standard input line 1: \"*Editor0First\" is not loaded: there is no \"*Editor0Last\"\n"},
      {"Magazine", "*DateFormat=month only\r\n",
       "citara: warning: standard input line 1: \"*DateFormat\" holds \"month only\", none of the Magazine form's choices "
       "(\"Month and Day\", \"Month Only\"); \"Month and Day\" stays selected\n"},
      {"Book", "Year:=199x\r\n",
       "citara: warning: standard input line 1: \"Year:\" holds \"199x\", not a number; taken as typed\n"},
      {"Book", "Journal:=Harbor Review\r\nTitle:=a\r\ntitle:=b\r\n",
       "citara: warning: standard input line 1: \"Journal:\" is not a key of the Book form; ignored\n"
       "citara: warning: standard input line 3: \"title:\" is given again; the first one (line 2) counts\n"},
      // The entries' RTF lines and the other derived lines are no warning.
      {"Book", "*Title=A Tale\r\n*PrimaryName1=Smith\r\n*MLACitaragraphy={\\rtf1\r\nx=y\r\n}\r\n*MLACitaragraphyEND\r\n", ""},
  };
  for (const auto& c : cases) {
    const Result r = Citara(std::string("saved-data --control ") + c.control, c.input);
    EXPECT_EQ(r.status, 0) << c.input;
    EXPECT_EQ(r.err, c.warnings) << c.input;
    EXPECT_FALSE(r.out.empty());
    if (*c.warnings == 0) continue;
    const Result strict = Citara(std::string("saved-data --strict --control ") + c.control, c.input);
    EXPECT_EQ(strict.status, 1);
    EXPECT_EQ(strict.out, "");
    EXPECT_TRUE(strict.err.ends_with("citara: --strict: the warnings above are errors; nothing was written\n")) << strict.err;
  }
}

TEST(Cli, MessagesQuoteAShortEscapedPrefixOfAValue) {
  const Result huge = Citara("entry --control Magazine --style mla", "*Date=" + std::string(10'000'000, 'x') + "\r\n");
  EXPECT_EQ(huge.status, 1);
  EXPECT_EQ(huge.err, "citara: cannot load the saved data: the value \"" + std::string(60, 'x') +
                          "\"... (10000000 bytes) of \"*Date\" is not a number\n");
  const Result escaped = Citara("entry --control Magazine --style mla", "*Date=\x1b[2J\x07\"1\\\r\n");
  EXPECT_EQ(escaped.err, "citara: cannot load the saved data: the value \"\\x1B[2J\\x07\\\"1\\\\\" of \"*Date\" is not a number\n");
  const Result control = Citara("entry --style mla --control \"$(printf 'Bo\\033ok')\"");
  EXPECT_EQ(control.err.substr(0, control.err.find(" (")), "citara: unknown control \"Bo\\x1Bok\"");
}

TEST(Cli, FileNamesFoldersAndClosedInputs) {
  const auto dir = Scratch("names");
  Write(dir / "help", kTale);
  Write(dir / "-x", kTale);
  const std::string in = "cd " + dir.string() + " && ";
  static const struct {
    const char* args;
    const char* redirect;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {"entry --control Book --style mla --format text help", "", 0, "A Tale. Boston: Harbor Books, 2001. ", ""},
      {"entry --control Book --style mla --format text -- -x", "", 0, "A Tale. Boston: Harbor Books, 2001. ", ""},
      {"entry --control Book --style mla -x help", "", 2, "", "citara: unknown option \"-x\"\nTry 'citara --help'.\n"},
      {"entry --control Book --style mla .", "", 1, "", "citara: cannot read \".\": it is a folder\n"},
      {"entry --control Book --style mla", "<&-", 1, "", "citara: cannot read standard input: Bad file descriptor\n"},
      {"validate --control Book", "", 0, "", ""},
  };
  for (const auto& c : cases) {
    const std::string base = ::testing::TempDir() + "names_" + std::to_string(getpid());
    const std::string command = in + CITARA_BINARY + " " + c.args + " <" + (dir / "help").string() + " >" + base +
                                ".out 2>" + base + ".err " + c.redirect;
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.args;
    EXPECT_EQ(Slurp(base + ".out"), c.out) << c.args;
    EXPECT_EQ(Slurp(base + ".err"), c.err) << c.args;
  }
  std::filesystem::remove_all(dir);
}

TEST(Cli, CslJsonCarriesSourcesOutAndBackIn) {
  const auto dir = Scratch("csl");
  const std::string names[] = {"book", "encyclopedia", "journal", "magazine", "newspaper", "other", "webarticle",
                               "personalsite", "professionalsite", "newsgroup"};
  std::string files, expectedMarked;
  for (const std::string& name : names) {
    const std::string file = Examples() + name + ".txt";
    const Result csl = Citara("csl-json --control " + name + " " + file);
    ASSERT_EQ(csl.status, 0) << csl.err;
    EXPECT_EQ(csl.err, "");
    Write(dir / (name + ".json"), csl.out);
    const Result back = Citara("saved-data --from csl-json " + (dir / (name + ".json")).string());
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, Citara("saved-data --control " + name + " " + file).out) << name;
    expectedMarked += Citara("entry --style apa --format marked --control " + name + " " + file).out + "\n";
  }
  // Several saved-data texts of one kind make one array; the ids are the files' names, kept unique.
  const Result two = Citara("csl-json --control Book " + Examples() + "book.txt " + Examples() + "book.txt -", kTale);
  ASSERT_EQ(two.status, 0) << two.err;
  for (const char* id : {"\"id\": \"book\"", "\"id\": \"book-2\"", "\"id\": \"3\""}) {
    EXPECT_NE(two.out.find(id), std::string::npos) << id;
  }
  EXPECT_TRUE(two.out.starts_with("[\n  {\n    \"id\": \"book\",\n    \"type\": \"book\",")) << two.out;

  // A document of all ten: an entry per line, an RTF paragraph per entry, a file per item.
  std::string all = "[";
  for (const std::string& name : names) {
    std::string item = Slurp((dir / (name + ".json")).string());
    item = item.substr(item.find('{'), item.rfind('}') - item.find('{') + 1);
    all += (all.size() > 1 ? "," : "") + item;
  }
  all += "]";
  Write(dir / "all.json", all);
  const std::string allFile = (dir / "all.json").string();
  EXPECT_EQ(Citara("entry --from csl-json --style apa --format marked " + allFile).out, expectedMarked);
  const Result rtf = Citara("entry --from csl-json --style mla " + allFile);
  EXPECT_TRUE(rtf.out.starts_with("{\\rtf1")) << rtf.out;
  EXPECT_EQ(std::count(rtf.out.begin(), rtf.out.end(), '{'), 3 + 0) << "one document, not ten";

  const Result several = Citara("saved-data --from csl-json " + allFile);
  EXPECT_EQ(several.status, 2);
  EXPECT_EQ(several.err, "citara: the CSL-JSON holds 10 items; name a folder for their files with --output-dir DIR\n");
  const Result written = Citara("saved-data --from csl-json --output-dir " + (dir / "out").string() + " " + allFile);
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(Slurp((dir / "out" / "3-Journal.txt").string()),
            Citara("saved-data --control journal " + Examples() + "journal.txt").out);
  EXPECT_EQ(Slurp((dir / "out" / "10-Newsgroup.txt").string()),
            Citara("saved-data --control newsgroup " + Examples() + "newsgroup.txt").out);
  // A document that breaks after whole items writes no file.
  const Result broken = Citara("saved-data --from csl-json --output-dir " + (dir / "broken").string() + " -",
                               R"([{"type": "book", "title": "a tale"}, {"id": )");
  EXPECT_EQ(broken.status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "broken"));

  EXPECT_EQ(Citara("validate --from csl-json " + allFile).status, 0);
  const Result invalid = Citara("validate --from csl-json -",
                                R"([{"id": "a", "type": "book", "title": "x", "publisher": "P", "publisher-place": "Q"},
                                    {"id": "b", "type": "article-journal", "title": "t"}])");
  EXPECT_EQ(invalid.status, 1);
  EXPECT_EQ(invalid.err,
            "citara: item 2 (\"b\"): the Journal's required field \"Journal:\" is blank\n"
            "The yellow fields are required for this type of reference.  At least one of the required fields is blank.  "
            "Please enter all the necessary data.\n");
  std::filesystem::remove_all(dir);
}

TEST(Cli, CslJsonThatCannotBeReadAndItemsWithWarnings) {
  static const struct {
    const char* args;
    const char* input;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {"entry --from csl-json --style apa --format text", "[{\"id\": 1,]", 1, "",
       "citara: the CSL-JSON is not valid JSON at line 1, column 11: missing a name for object member\n"},
      // Output streams: a broken document's entries end with its last whole item, and the run fails.
      {"entry --from csl-json --style apa --format text", "[{\"type\": \"book\", \"title\": \"a tale\"}, {\"id\": 1,]", 1,
       "A tale. (1998). : .\n", "citara: the CSL-JSON is not valid JSON at line 1, column 48: missing a name for object member\n"},
      {"entry --from csl-json --style apa --format rtf", "[{\"type\": \"book\", \"title\": \"a tale\"}, {\"id\": 1,]", 1,
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}\r\n"
       "\\viewkind4\\uc1\\pard\\rtlch\\fcs1\\af0\\afs16\\ltrch\\fcs0\\f0\\fs16 \\rtlch\\fcs1\\ai\\ltrch\\fcs0\\i A tale."
       "\\rtlch\\fcs1\\ai0\\ltrch\\fcs0\\i0  (1998). : .\\par\r\n}\r\n",
       "citara: the CSL-JSON is not valid JSON at line 1, column 48: missing a name for object member\n"},
      {"entry --strict --from csl-json --style apa --format text", "[{\"type\": \"book\", \"title\": \"a tale\"}, {\"id\": 1,]",
       1, "", "citara: the CSL-JSON is not valid JSON at line 1, column 48: missing a name for object member\n"},
      {"entry --from csl-json --style apa --format text", "\"a book\"", 1, "",
       "citara: the CSL-JSON holds neither an item nor an array of items\n"},
      {"entry --from csl-json --style apa --format text", "[3, {\"type\": \"book\", \"title\": \"a tale\", \"issued\": "
       "{\"date-parts\": [[2001]]}}]", 1, "A tale. (2001). : .\n", "citara: item 1 is not an object; ignored\n"},
      {"entry --from csl-json --style apa --format text", "{\"id\": \"x\", \"type\": \"book\", \"title\": \"a tale\", \"ISBN\": \"1-2\"}",
       0, "A tale. (1998). : .\n", "citara: warning: item 1 (\"x\"): \"ISBN\" has no place in the Book form\n"},
      {"entry --strict --from csl-json --style apa --format text", "{\"id\": \"x\", \"type\": \"book\", \"ISBN\": \"1-2\"}",
       1, "", "citara: warning: item 1 (\"x\"): \"ISBN\" has no place in the Book form\n"
       "citara: --strict: the warnings above are errors; nothing was written\n"},
      // A DOI, which the current editions show, is no warning, so --strict takes it.
      {"entry --strict --from csl-json --style apa7 --format text", "{\"id\": \"x\", \"type\": \"book\", \"title\": \"a tale\", "
       "\"publisher\": \"P\", \"issued\": {\"date-parts\": [[2001]]}, \"DOI\": \"10.1/x\"}",
       0, "A tale. (2001). P. https://doi.org/10.1/x\n", ""},
  };
  for (const auto& c : cases) {
    const Result r = Citara(c.args, c.input);
    EXPECT_EQ(r.status, c.status) << c.input << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.input;
    EXPECT_EQ(r.err, c.err) << c.input;
  }
}

// --- The current editions ---

// The paragraph pandoc reads from an RTF document, its emphasis written between asterisks; empty
// when pandoc is missing. pandoc folds runs of spaces, which these entries do not have.
std::string ReadRtfWithPandoc(const std::string& rtf) {
  static int calls = 0;
  const std::string path = ::testing::TempDir() + "citara_cli_pandoc_" + std::to_string(getpid()) + "_" +
                           std::to_string(++calls) + ".rtf";
  std::ofstream(path, std::ios::binary) << rtf;
  FILE* pipe = popen(("pandoc -f rtf -t html --wrap=none " + path).c_str(), "r");
  std::string html;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) html.append(buf, n);
  pclose(pipe);
  std::remove(path.c_str());
  while (!html.empty() && (html.back() == '\n' || html.back() == '\r')) html.pop_back();
  if (html.starts_with("<p>")) html.erase(0, 3);
  if (html.ends_with("</p>")) html.resize(html.size() - 4);
  static const std::pair<std::string_view, std::string_view> kReplace[] = {
      {"<em>", "*"}, {"</em>", "*"}, {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
  for (const auto& [from, to] : kReplace) {
    for (std::size_t at = 0; (at = html.find(from, at)) != std::string::npos; at += to.size()) html.replace(at, from.size(), to);
  }
  return html;
}

// Every example of the editions, from the bundled example of its form: the marked entry, the
// plain text (the same without asterisks) and the RTF, read back by pandoc to the marked entry.
struct EditionExample {
  const char *control, *style, *marked;
};
constexpr EditionExample kEditionExamples[] = {
    {"book", "apa7", "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (A. Brown, Ed.; 3rd ed., Vol. 2). Harbor Books."},
    {"encyclopedia", "apa7", "Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233–235). Harbor Press."},
    {"journal", "apa7", "Carver, E. M., & Ostrowski, P. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101–118."},
    {"magazine", "apa7", "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Monthly, 12*, 23–25."},
    {"newspaper", "apa7", "Zola, É. (2001, September 9). City council votes on the harbor plan. *Harbor Daily News*, A1."},
    {"other", "apa7", "Trail Society. (1999, May). *A guide to the coastal trail: Maps and notes*."},
    {"webarticle", "apa7", "Carver, E. M. (2000, March 3). *The rising tide*. Coastal Science Online. http://www.example.com/tides.html"},
    {"personalsite", "apa7", "Carver, E. M. (2000, June). [Home page]. Retrieved March 4, 2001, from http://www.example.com/~carver/"},
    {"professionalsite", "apa7", "Harbor University. (2000, November 20). *Harbor research center*. Retrieved March 4, 2001, from http://www.example.edu/harbor/"},
    {"newsgroup", "apa7", "Carver, E. M. (2000, February 14). *Tide tables for the north shore* [Online forum post]. news:sci.example.tides"},
    {"book", "mla9", "Smith, John Q. *The Biography of Benjamin Franklin*. Edited by Ann Brown, 3rd ed., vol. 2, Harbor Books, 1998."},
    {"encyclopedia", "mla9", "Carver, Ellen M. \"Ocean Tides.\" *New Harbor Encyclopedia*, vol. 12, Harbor Press, 1997, pp. 233–35."},
    {"journal", "mla9", "Carver, Ellen M., and Paweł Ostrowski. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies*, vol. 14, no. 2, 1996, pp. 101–18."},
    {"magazine", "mla9", "Carver, Ellen M. \"Ocean Tides.\" *Harbor Monthly*, vol. 12, 12 Jan. 1997, pp. 23–25."},
    {"newspaper", "mla9", "Zola, Émile. \"City Council Votes on the Harbor Plan.\" *Harbor Daily News*, 9 Sept. 2001, p. A1."},
    {"other", "mla9", "*A Guide to the Coastal Trail: Maps and Notes*. Trail Society, May 1999."},
    {"webarticle", "mla9", "Carver, Ellen M. \"The Rising Tide.\" *Coastal Science Online*, 3 Mar. 2000, www.example.com/tides.html. Accessed 4 Mar. 2001."},
    {"personalsite", "mla9", "Carver, Ellen M. Home page. June 2000, www.example.com/~carver/. Accessed 4 Mar. 2001."},
    {"professionalsite", "mla9", "*Harbor Research Center*. Harbor University, 20 Nov. 2000, www.example.edu/harbor/. Accessed 4 Mar. 2001."},
    {"newsgroup", "mla9", "Carver, Ellen M. \"Tide Tables for the North Shore.\" 14 Feb. 2000, news:sci.example.tides. Accessed 4 Mar. 2001."},
};

std::string Unmarked(std::string marked) {
  std::erase(marked, '*');
  return marked;
}

TEST(Cli, EveryEditionExampleInTextMarkedAndRtf) {
  const bool pandoc = std::system("pandoc --version >/dev/null 2>&1") == 0;
  for (const EditionExample& e : kEditionExamples) {
    const std::string args = std::string("entry --control ") + e.control + " --style " + e.style;
    const std::string file = " " + Examples() + e.control + ".txt";
    const Result marked = Citara(args + " --format marked" + file);
    EXPECT_EQ(marked.status, 0) << marked.err;
    EXPECT_EQ(marked.out, e.marked) << e.control << " " << e.style;
    EXPECT_EQ(marked.err, "");
    EXPECT_EQ(Citara(args + " --format text" + file).out, Unmarked(e.marked)) << e.control << " " << e.style;
    const Result rtf = Citara(args + " --format rtf" + file);
    EXPECT_TRUE(rtf.out.starts_with("{\\rtf1")) << rtf.out;
    if (pandoc) {
      EXPECT_EQ(ReadRtfWithPandoc(rtf.out), e.marked) << e.control << " " << e.style;
    }
  }
  if (!pandoc) GTEST_SKIP() << "pandoc is not installed: the RTF was not read back";
}

// The same examples from CSL-JSON (the examples carried out and back in), in one run per style,
// and a DOI read from CSL-JSON as the location.
TEST(Cli, EditionsFromCslJsonAndTheDoi) {
  for (const char* style : {"apa7", "mla9"}) {
    std::string all = "[", expected;
    for (const EditionExample& e : kEditionExamples) {
      if (std::string_view(e.style) != style) continue;
      const Result csl = Citara(std::string("csl-json --control ") + e.control + " " + Examples() + e.control + ".txt");
      ASSERT_EQ(csl.status, 0) << csl.err;
      all += (all.size() > 1 ? "," : "") + csl.out.substr(csl.out.find('{'), csl.out.rfind('}') - csl.out.find('{') + 1);
      expected += std::string(e.marked) + "\n";
    }
    all += "]";
    const Result r = Citara(std::string("entry --from csl-json --format marked --style ") + style, all);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected) << style;
  }
  const std::string journal = R"({"id": "j", "type": "article-journal", "title": "tidal energy and coastal towns",
      "container-title": "journal of coastal studies", "author": [{"family": "Carver", "given": "Ellen"}],
      "volume": "14", "issue": "2", "page": "101-118", "issued": {"date-parts": [[1996]]}, "DOI": "10.1000/xyz"})";
  EXPECT_EQ(Citara("entry --from csl-json --style apa7 --format marked", journal).out,
            "Carver, E. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101–118. "
            "https://doi.org/10.1000/xyz\n");
  EXPECT_EQ(Citara("entry --from csl-json --style mla9 --format marked", journal).out,
            "Carver, Ellen. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies*, vol. 14, no. 2, 1996, "
            "pp. 101–18, https://doi.org/10.1000/xyz.\n");
  // The classic styles have no place for it.
  EXPECT_EQ(Citara("entry --from csl-json --style apa --format marked", journal).out,
            "Carver, E. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101-118.\n");
}

}  // namespace

namespace {

std::string AllExamples() {
  std::string files;
  for (const char* name : {"book", "encyclopedia", "journal", "magazine", "newspaper", "other", "webarticle",
                           "personalsite", "professionalsite", "newsgroup"}) {
    files += " " + Examples() + name + ".txt";
  }
  return files;
}

}  // namespace

TEST(Cli, ListPrintsTheSortedListOfTheExamplesUnderItsHeading) {
  const Result mla = Citara("list --style mla --format text" + AllExamples());
  EXPECT_EQ(mla.status, 0) << mla.err;
  EXPECT_EQ(mla.err, "");
  EXPECT_EQ(mla.out,
            "Works Cited\n\n"
            "Carver, Ellen M. Home page. June 2000 <http://www.example.com/~carver/>.\n\n"
            "---. \"Ocean Tides.\" Harbor Monthly 12 Jan. 1997. 23-25.\n\n"
            "---. \"Ocean Tides.\" New Harbor Encyclopedia. vol. 12. 1997 ed.\n\n"
            "---. \"The Rising Tide.\" Coastal Science Online. 3 Mar. 2000 <http://www.example.com/tides.html>.\n\n"
            "---. \"Tide Tables for the North Shore.\" Online posting. 14 Feb. 2000 <news:sci.example.tides>.\n\n"
            "Carver, Ellen M., and Paweł Ostrowski. \"Tidal Energy and Coastal Towns.\" Journal of Coastal Studies "
            "14.2 (1996): 101-118.\n\n"
            "Harbor Research Center. Harbor University. 20 Nov. 2000 <http://www.example.edu/harbor/>.\n\n"
            "Smith, John Q. The Biography of Benjamin Franklin. Ed. Ann Brown. vol. 2. 3rd ed. New York: Harbor Books, "
            "1998. 12-15. \n\n"
            "Trail Society. A Guide to the Coastal Trail: Maps and Notes. Portland, ME: Trail Society, May 1999. \n\n"
            "Zola, Émile. \"City Council Votes on the Harbor Plan.\" Harbor Daily News 9 Sept. 2001: A1.\n\n");
  const Result apa = Citara("list --style APA --format text" + AllExamples());
  EXPECT_EQ(apa.status, 0) << apa.err;
  EXPECT_TRUE(apa.out.starts_with("References\n\nCarver, E. M. (1997a). Ocean tides. In New harbor encyclopedia"));
  EXPECT_NE(apa.out.find("\n\nCarver, E. M. (1997b, January 12). Ocean tides."), std::string::npos);
  EXPECT_NE(apa.out.find("\n\nCarver, E. M. (2000c, February 14). Tide tables"), std::string::npos);
  // The same list from CSL-JSON made of the examples, and in RTF, with its heading and layout.
  const Result json = Citara("csl-json --control Book " + Examples() + "book.txt");
  const std::string path = ::testing::TempDir() + "citara_list_" + std::to_string(getpid()) + ".json";
  std::ofstream(path, std::ios::binary) << json.out;
  const Result rtf = Citara("list --from csl-json --style mla " + path);
  EXPECT_EQ(rtf.status, 0) << rtf.err;
  EXPECT_TRUE(rtf.out.starts_with("{\\rtf1"));
  EXPECT_NE(rtf.out.find("\\pard\\qc\\sl480\\slmult1"), std::string::npos);
  EXPECT_NE(rtf.out.find("\\pard\\fi-720\\li720\\sl480\\slmult1\\rtlch\\fcs1\\af0\\afs16\\ltrch\\fcs0\\f0\\fs16 Smith, John Q. "),
            std::string::npos);
  std::remove(path.c_str());
}

TEST(Cli, ListNamesSourcesWithBlankRequiredFieldsAndStrictFails) {
  const std::string json =
      R"([{"id": "a", "type": "book", "title": "tides", "author": [{"family": "Young", "given": "Ann"}], "issued": {"date-parts": [[2010]]}},
          {"id": "b", "type": "book", "title": "maps", "author": [{"family": "Carver", "given": "Ellen"}], "publisher": "P", "publisher-place": "Q", "issued": {"date-parts": [[2000]]}}])";
  const Result r = Citara("list --from csl-json --style mla --format text", json);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Works Cited\n\nCarver, Ellen. Maps. Q: P, 2000. \n\nYoung, Ann. Tides. : , 2010. \n\n");
  EXPECT_EQ(r.err,
            "citara: warning: item 1 (\"a\"): the Book's required field \"Place of Printing:\" is blank; it is listed "
            "all the same\n");
  const Result strict = Citara("list --from csl-json --style mla --format text --strict", json);
  EXPECT_EQ(strict.status, 1);
  EXPECT_EQ(strict.out, "");
  EXPECT_NE(strict.err.find("--strict: the warnings above are errors; nothing was written"), std::string::npos);
  // A saved-data text is of the kind --control names; its warnings name the file.
  const Result saved = Citara("list --control book --style apa --format text", "Title:=tides\n");
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(saved.err,
            "citara: warning: standard input: the Book's required field \"Place of Printing:\" is blank; it is listed "
            "all the same\n");
}

TEST(Cli, ListWritesToItsOutputFileAndRefusesWrongCommandLines) {
  const std::string path = ::testing::TempDir() + "citara_list_" + std::to_string(getpid()) + ".html";
  const Result r = Citara("list --style apa --format html --output " + path + " " + Examples() + "book.txt");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string html = Slurp(path);
  EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
  EXPECT_NE(html.find("<p class=\"entry\">Smith, J. Q. (1998). <i>The biography of Benjamin Franklin</i> (3rd ed."),
            std::string::npos);
  std::remove(path.c_str());
  static const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"list --format text", "citara: --style mla|apa|mla9|apa7 is required with list\n"},
      {"list --style chicago", "citara: unknown style \"chicago\" (mla, apa, mla9 or apa7)\n"},
      {"list --style mla --format docx", "citara: unknown format \"docx\" (rtf, html, markdown or text)\n"},
      {"list --style mla", "citara: --control NAME is required to list standard input\n"},
      {"list --style mla /tmp/sources.txt",
       "citara: the name of \"/tmp/sources.txt\" names no control (Book, Encyclopedia, Journal, Magazine, Newspaper, "
       "Other, WebArticle, PersonalSite, ProfessionalSite, Newsgroup); give --control NAME\n"},
      {"entry --control book --style mla --output x.rtf", "citara: --output goes with list only\n"},
      {"list --style mla --output-dir x", "citara: --output-dir goes with saved-data only\n"},
  };
  for (const auto& c : cases) {
    const Result bad = Citara(c.args);
    EXPECT_EQ(bad.status, 2) << c.args;
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, std::string(c.message) + "Try 'citara --help'.\n") << c.args;
  }
  const Result unwritable = Citara("list --control book --style mla --output /nonexistent/x.rtf", "Title:=t\n");
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("citara: cannot write \"/nonexistent/x.rtf\": No such file or directory"), std::string::npos);
}
