// Runs the built citara binary as a user would and checks its output and exit status.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

// Runs `citara ARGS` with `input` on standard input.
Result Citara(const std::string& args, const std::string& input = "") {
  // Files of this process and call alone: CTest runs the cases of this program side by side.
  static int calls = 0;
  const std::string base = ::testing::TempDir() + "citara_cli_" + std::to_string(getpid()) + "_" + std::to_string(++calls);
  const std::string in = base + ".in", out = base + ".out", err = base + ".err";
  std::ofstream(in, std::ios::binary) << input;
  const std::string command = std::string(CITARA_BINARY) + " " + args + " <" + in + " >" + out + " 2>" + err;
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
            "Please enter all the necessary data.\nFirst blank required field: PlaceEdit\n");
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
      {"entry --control Book --style mla /no/such/file", "", 1, "citara: cannot read \"/no/such/file\""},
      {"entry --control Book --style mla", "*Date=x\r\n", 0, nullptr},  // a book has no date edit
      {"entry --control Magazine --style mla", "*Date=yesterday\r\n", 1,
       "citara: cannot load the saved data: the value \"yesterday\" of \"*Date\" is not a number"},
      {"saved-data --control WebArticle", "*DateRetrieved=99999999\r\n", 1,
       "citara: cannot load the saved data: the value \"99999999\" of \"*DateRetrieved\" is not a date from 1 January "
       "100 to 31 December 9999"},
      {"entry --control Pamphlet --style mla", "", 2,
       "citara: unknown control \"Pamphlet\" (choose from Book, Encyclopedia, Journal, Magazine, Newspaper, Other, "
       "WebArticle, PersonalSite, ProfessionalSite, Newsgroup)"},
      {"entry --control Book", "", 2, "citara: --style mla|apa is required with entry"},
      {"entry --control Book --style chicago", "", 2, "citara: unknown style \"chicago\" (mla or apa)"},
      {"entry --control Book --style mla --format html", "", 2, "citara: unknown format \"html\" (rtf, text or marked)"},
      {"entry --style mla", "", 2, "citara: --control NAME is required"},
      {"", "", 2, "citara: no command given (entry, saved-data or validate)"},
      {"print --control Book", "", 2, "citara: unknown command \"print\" (entry, saved-data or validate)"},
      {"saved-data --control Book --style mla", "", 2, "citara: --style and --format go with the entry command only"},
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

TEST(Cli, HelpDescribesTheCommands) {
  for (const char* args : {"--help", "-h", "entry --help"}) {
    const Result r = Citara(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("Usage: citara COMMAND --control NAME")) << args;
    for (const char* word : {"entry", "saved-data", "validate", "--style", "--format", "marked", "Newsgroup"}) {
      EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
  }
}

}  // namespace
