#include "cli/citara_cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "citara_version.h"
#include "cli/input.h"
#include "collection/csl_json.h"
#include "collection/forms.h"
#include "core/quoted.h"
#include "core/saved_data.h"
#include "core/source_form.h"
#include "core/source_values.h"
#include "list/list_writers.h"
#include "list/works_cited.h"
#include "widgets/platform.h"

namespace citara {
namespace {

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A failure already reported on standard error: only the exit status is left to give.
struct Reported {
  int status;
};

// --- What the commands are made of: styles, output formats, input formats ---

// A style is the entry rule it runs: the classic rules the controls give, and the current
// editions beside them.
struct Style {
  std::string_view name;
  EntryRule FormDescription::*rule;
};
constexpr Style kStyles[] = {
    {"mla", &FormDescription::mla}, {"apa", &FormDescription::apa},
    {"mla9", &FormDescription::mla9}, {"apa7", &FormDescription::apa7},
};

Citation EntryOf(const Style& style, const SourceValues& values) { return (values.Form().*style.rule)(values); }

// An output format writes one entry alone (a saved-data text in) or a run of entries (CSL-JSON in:
// one line per entry, or one RTF document with a paragraph per entry).
struct Format {
  std::string_view name;
  void (*one)(std::string& out, const Citation& c);
  void (*begin)(std::string& out);
  void (*item)(std::string& out, const Citation& c);
  void (*end)(std::string& out);
};
constexpr Format kFormats[] = {
    {"rtf", [](std::string& o, const Citation& c) { o += CitationToRtf(c); },
     [](std::string& o) { o += RtfDocumentStart(); }, [](std::string& o, const Citation& c) { AppendRtfParagraph(o, c); },
     [](std::string& o) { o += RtfDocumentEnd(); }},
    {"text", [](std::string& o, const Citation& c) { o += CitationToText(c); }, [](std::string&) {},
     [](std::string& o, const Citation& c) { o.append(CitationToText(c)).append("\n"); }, [](std::string&) {}},
    {"marked", [](std::string& o, const Citation& c) { o += CitationToMarked(c); }, [](std::string&) {},
     [](std::string& o, const Citation& c) { o.append(CitationToMarked(c)).append("\n"); }, [](std::string&) {}},
};

constexpr std::string_view kSavedData = "saved-data", kCslJson = "csl-json";
constexpr std::string_view kInputFormats[] = {kSavedData, kCslJson};

template <class Row, std::size_t N>
std::string Names(const Row (&rows)[N], std::string_view last = " or ", std::string_view separator = ", ") {
  std::string out;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) out += i + 1 == N ? last : separator;
    if constexpr (std::is_same_v<Row, std::string_view>) out += rows[i];
    else out += rows[i].name;
  }
  return out;
}

template <class Row, std::size_t N>
const Row& Named(const Row (&rows)[N], std::string_view name, std::string_view what) {
  for (const Row& row : rows) {
    if (EqualsIgnoringAsciiCase(row.name, name)) return row;
  }
  throw UsageError("unknown " + std::string(what) + " " + Quoted(name) + " (" + Names(rows) + ")");
}

// --- The command line ---

enum OptionBit : unsigned {
  kControlOption = 1, kStyleOption = 2, kFormatOption = 4, kFromOption = 8, kOutputDirOption = 16,
  kStrictOption = 32, kOneFile = 64, kManyFiles = 128, kOutputOption = 256,
};

struct Invocation {
  std::string command;
  std::string control, style, format, from, outputDir, output;
  bool strict = false;
  std::vector<std::string> files;
};

struct Io {
  std::FILE* in;
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  std::string_view name;
  std::string_view usage;    // one way of calling it a line, each after "citara "
  std::string_view summary;  // one line
  std::string_view details;  // the command's help, after its usage
  std::string_view examples;  // one a line, after "citara "
  unsigned options;
  int (*run)(const Invocation&, Io&);
};

int RunEntry(const Invocation&, Io&);
int RunSavedData(const Invocation&, Io&);
int RunValidate(const Invocation&, Io&);
int RunCslJson(const Invocation&, Io&);
int RunList(const Invocation&, Io&);

constexpr unsigned kSourceOptions = kControlOption | kFromOption | kStrictOption | kOneFile;

constexpr Command kCommands[] = {
    {"entry", "entry [--from saved-data] --control NAME --style STYLE [--format FORMAT] [FILE]\n"
              "entry --from csl-json --style STYLE [--format FORMAT] [FILE]",
     "print the entry of a source, or of every item of a CSL-JSON document",
     "STYLE is mla or apa (the entries the controls give) or mla9 or apa7 (MLA 9th and APA 7th\n"
     "edition). FORMAT is rtf (the default: the control's rich text), text (the plain\n"
     "entry) or marked (the plain entry with its italic part between asterisks). From a saved-data\n"
     "text nothing else is printed, not even a final newline. From CSL-JSON every item gives its\n"
     "entry in order: one line each in text and marked, one RTF document with a paragraph per\n"
     "entry in rtf.\n",
     "entry --control Book --style mla --format marked examples/book.txt\n"
     "entry --from csl-json --style apa --format text sources.json\n"
     "entry --from csl-json --style mla sources.json > works-cited.rtf\n",
     kSourceOptions | kStyleOption | kFormatOption, RunEntry},
    {"saved-data", "saved-data [--from saved-data] --control NAME [FILE]\n"
                   "saved-data --from csl-json [--output-dir DIR] [FILE]",
     "print the saved-data text of a source (the round trip of what was loaded)",
     "From CSL-JSON, a document of one item prints that item's saved-data text; with --output-dir\n"
     "DIR every item is written to DIR/<index>-<control>.txt (1-Book.txt, 2-Journal.txt, ...),\n"
     "DIR made when it is missing.\n",
     "saved-data --control Book examples/book.txt\n"
     "saved-data --from csl-json one-item.json\n"
     "saved-data --from csl-json --output-dir sources sources.json\n",
     kSourceOptions | kOutputDirOption, RunSavedData},
    {"validate", "validate [--from saved-data] --control NAME [FILE]\n"
                 "validate --from csl-json [FILE]",
     "check the required fields",
     "Exits 0 when every required field is filled. Otherwise prints the required-field message and\n"
     "the key of the first blank field (for CSL-JSON: of every item that fails, by its position\n"
     "and id) on standard error and exits 1.\n",
     "validate --control Journal examples/journal.txt\n"
     "validate --from csl-json --strict sources.json\n",
     kSourceOptions, RunValidate},
    {"csl-json", "csl-json --control NAME [FILE...]",
     "print saved-data texts as one CSL-JSON array",
     "Each FILE is the saved-data text of one source of kind NAME (standard input when no FILE is\n"
     "named); the items are printed as one CSL-JSON array, each with the file's name as its id\n"
     "(without its folder and extension; made unique with -2, -3, ...).\n",
     "csl-json --control Book examples/book.txt > sources.json\n"
     "csl-json --control Journal a.txt b.txt c.txt > journals.json\n",
     kControlOption | kStrictOption | kManyFiles, RunCslJson},
    {"list", "list --style STYLE [--format FORMAT] [--from saved-data] [--control NAME] [--output FILE] [FILE...]\n"
             "       citara list --from csl-json --style STYLE [--format FORMAT] [--output FILE] [FILE...]",
     "print the sorted list of works cited of many sources",
     "Every source of every FILE gives its entry; the entries are sorted by the style's rule (MLA:\n"
     "\"Works Cited\", a later work of the same authors beginning \"---. \"; APA: \"References\", the\n"
     "works of the same authors and year lettered \"(1998a)\", \"(1998b)\") and printed under the\n"
     "heading. FORMAT is rtf (the default: a hanging indent of half an inch, double spacing),\n"
     "html (a standalone page), markdown or text (the heading, then one line per entry). A\n"
     "saved-data FILE is of kind NAME, or without --control of the kind its file name says\n"
     "(book.txt, webarticle.txt). A source whose required fields are not all filled is listed all\n"
     "the same, with a warning naming it and its first blank field. --output FILE writes the list\n"
     "to FILE instead of standard output.\n",
     "list --style mla --format html examples/*.txt > works-cited.html\n"
     "list --from csl-json --style apa --format rtf --output references.rtf sources.json\n",
     kControlOption | kFromOption | kStrictOption | kManyFiles | kStyleOption | kFormatOption | kOutputOption, RunList},
};

struct OptionHelp {
  unsigned bit;  // 0: every command's
  std::string_view name;
  std::string_view value;  // "NAME", or empty for a flag
  std::string (*description)();
};
const OptionHelp kOptionHelp[] = {
    {kControlOption, "--control", "NAME",
     [] { return "the kind of control of a saved-data text (any case): " + FormNames(); }},
    {kFromOption, "--from", "FORMAT", [] { return std::string("the input: saved-data (the default) or csl-json"); }},
    {kStyleOption, "--style", "STYLE", [] { return std::string(Names(kStyles)); }},
    {kFormatOption, "--format", "FORMAT", [] { return Names(kFormats) + " (the default: rtf)"; }},
    {kOutputDirOption, "--output-dir", "DIR", [] { return std::string("with --from csl-json: one file per item in DIR"); }},
    {kOutputOption, "--output", "FILE", [] { return std::string("list: write the list to FILE instead of standard output"); }},
    {kStrictOption, "--strict", "", [] { return std::string("warnings are errors: nothing is printed and the exit status is 1"); }},
    {0, "-h, --help", "", [] { return std::string("show the help (citara COMMAND --help: the command's own)"); }},
    {0, "--version", "", [] { return std::string("show citara's version"); }},
    {0, "--", "", [] { return std::string("ends the options: every argument after it is a FILE"); }},
};

// `text` folded at spaces into lines of at most `width` bytes, each after `indent` but the first.
std::string Folded(const std::string& text, std::size_t width, const std::string& indent) {
  std::string out, line;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      out += line + "\n" + indent;
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return out + line;
}

// The options of the commands in `bits` (every option for ~0u), one a line.
std::string OptionsHelp(unsigned bits) {
  std::string help;
  const std::string indent(21, ' ');
  for (const OptionHelp& o : kOptionHelp) {
    if (o.bit && !(o.bit & bits)) continue;
    std::string head = "  " + std::string(o.name) + (o.value.empty() ? "" : " " + std::string(o.value));
    head.resize(std::max<std::size_t>(head.size() + 1, indent.size()), ' ');
    help += head + Folded(o.description(), 78 - indent.size(), indent) + "\n";
  }
  return help;
}

// Each line of `lines` after `prefix`.
std::string Prefixed(std::string_view lines, std::string_view prefix) {
  std::string out;
  for (std::size_t start = 0; start < lines.size();) {
    const std::size_t end = lines.find('\n', start);
    out.append(prefix).append(lines.substr(start, end - start)).append("\n");
    start = end == std::string_view::npos ? lines.size() : end + 1;
  }
  return out;
}

std::string GeneralHelp() {
  std::string help = "Usage: citara COMMAND [OPTIONS] [FILE]\n\n";
  help +=
      "Reads sources (a saved-data text as a host's SavedData holds it, or a CSL-JSON document of a\n"
      "reference manager) from FILE, or from standard input when FILE is absent or \"-\", and prints\n"
      "what the controls make of them. Options may come before or after the command.\n\nCommands:\n";
  for (const Command& c : kCommands) {
    std::string name(c.name);
    name.resize(12, ' ');
    help += "  " + name + std::string(c.summary) + "\n";
  }
  help += "\n";
  for (const Command& c : kCommands) {
    help += Prefixed(c.usage, "  citara ");
  }
  help += "\nOptions:\n" + OptionsHelp(~0u) +
      "\n"
      "Warnings name the lines and values that load but perhaps not as meant (a contributor after a\n"
      "gap in the numbering, a date format the control does not know, a year that is not a number,\n"
      "an unknown key) and what a CSL-JSON item holds that has no place in its control.\n"
      "Inputs larger than " + std::to_string(kMaxInputBytes >> 20) + " MiB are refused; UTF-16 text is read by its byte-order mark.\n"
      "\n"
      "Exit status: 0 success, 1 an input could not be read or loaded, failed validation, an output\n"
      "could not be written, or --strict found warnings; 2 a wrong command line.\n"
      "\nExamples:\n";
  for (const Command& c : kCommands) help += Prefixed(c.examples, "  citara ");
  help += "\ncitara COMMAND --help shows a command's own help.\n";
  return help;
}

std::string CommandHelp(const Command& c) {
  std::string summary(c.summary);
  summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
  const std::string usage = Prefixed(c.usage, "       citara ");
  return "Usage:" + usage.substr(6) + "\n" + summary + ".\n\n" + std::string(c.details) + "\nOptions:\n" +
         OptionsHelp(c.options) + "\nExamples:\n" + Prefixed(c.examples, "  citara ") +
         "\nSee citara --help for the exit status and what warnings name.\n";
}

const Command* FindCommand(std::string_view name) {
  for (const Command& c : kCommands) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::string CommandNames() {
  std::string out;
  for (std::size_t i = 0; i < std::size(kCommands); ++i) {
    if (i > 0) out += i + 1 == std::size(kCommands) ? " or " : ", ";
    out += kCommands[i].name;
  }
  return out;
}

// The names of a span of rows: "mla or apa", "mla|apa".
template <class Row>
std::string RowNames(std::span<const Row> rows, std::string_view last = " or ", std::string_view separator = ", ") {
  std::string out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) out += i + 1 == rows.size() ? last : separator;
    out += rows[i].name;
  }
  return out;
}

void CheckListOptions(const Invocation& inv) {
  if (inv.style.empty()) throw UsageError("--style " + RowNames(ListStyles(), "|", "|") + " is required with list");
  if (!FindListStyle(inv.style)) {
    throw UsageError("unknown style " + Quoted(inv.style) + " (" + RowNames(ListStyles()) + ")");
  }
  if (!FindListWriter(inv.format)) {
    throw UsageError("unknown format " + Quoted(inv.format) + " (" + RowNames(ListWriters()) + ")");
  }
}

// Parses the arguments after the command. Returns false when help was asked for.

// Where the command stands among the arguments: the first that is neither an option nor an
// option's value, so that options may come before it as well as after. None after "--".
std::optional<std::size_t> CommandPosition(std::span<const std::string_view> args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--") return std::nullopt;
    if (arg.size() < 2 || arg[0] != '-') return i;
    const bool takesValue = std::any_of(std::begin(kOptionHelp), std::end(kOptionHelp),
                                        [&](const OptionHelp& o) { return !o.value.empty() && o.name == arg; });
    if (takesValue) ++i;
  }
  return std::nullopt;
}

bool AsksForHelp(std::span<const std::string_view> args) {
  for (std::string_view arg : args) {
    if (arg == "--") return false;
    if (arg == "-h" || arg == "--help") return true;
  }
  return false;
}

// Parses the arguments around the command. Returns false when help was asked for.
bool ParseOptions(const Command& command, std::vector<std::string> args, Invocation& inv) {
  CLI::App app{std::string(command.summary), "citara " + std::string(command.name)};
  app.set_help_flag();
  app.allow_extras();
  bool help = false;
  app.add_flag("-h,--help", help);
  app.add_option("--control", inv.control);
  app.add_option("--style", inv.style);
  app.add_option("--format", inv.format);
  app.add_option("--from", inv.from);
  app.add_option("--output-dir", inv.outputDir);
  app.add_option("--output", inv.output);
  app.add_flag("--strict", inv.strict);
  app.add_option("FILE", inv.files);
  std::reverse(args.begin(), args.end());
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    std::string what = e.what();
    if (const std::size_t colon = what.find(':'); e.get_name() == "ArgumentMismatch" && colon != std::string::npos &&
                                                   what.starts_with("--")) {
      throw UsageError(what.substr(0, colon) + " needs a value");
    }
    throw UsageError(what);
  }
  if (help) return false;
  bool optionsEnded = false;  // after "--" every argument is a file
  for (const std::string& extra : app.remaining()) {
    if (!optionsEnded && extra == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && extra.size() > 1 && extra[0] == '-') throw UsageError("unknown option " + Quoted(extra));
    inv.files.push_back(extra);
  }
  for (const OptionHelp& option : kOptionHelp) {
    if (option.bit && app.count(std::string(option.name)) && !(command.options & option.bit)) {
      std::string takers;
      for (const Command& c : kCommands) {
        if (!(c.options & option.bit)) continue;
        takers += takers.empty() ? "" : " and ";
        takers += c.name;
      }
      throw UsageError(std::string(option.name) + " goes with " + takers + " only");
    }
  }
  if (!(command.options & kManyFiles) && inv.files.size() > 1) {
    throw UsageError("more than one input file (" + Quoted(inv.files[0]) + " and " + Quoted(inv.files[1]) + ")");
  }
  if (inv.from.empty()) inv.from = kSavedData;
  const std::string_view* from = std::find_if(std::begin(kInputFormats), std::end(kInputFormats),
                                              [&](std::string_view f) { return EqualsIgnoringAsciiCase(f, inv.from); });
  if (from == std::end(kInputFormats)) {
    throw UsageError("unknown input format " + Quoted(inv.from) + " (" + Names(kInputFormats) + ")");
  }
  inv.from = *from;
  const bool csl = inv.from == kCslJson;
  if (command.options & kControlOption) {
    if (csl && !inv.control.empty()) {
      throw UsageError("--control goes with --from saved-data only: a CSL-JSON item names its own kind");
    }
    if (!csl && inv.control.empty() && command.run != RunList) throw UsageError("--control NAME is required");
    if (!csl && !inv.control.empty() && !FindForm(inv.control)) {
      throw UsageError("unknown control " + Quoted(inv.control) + " (choose from " + FormNames() + ")");
    }
  }
  if (command.options & kStyleOption) {
    if (inv.format.empty()) inv.format = "rtf";
    if (command.run == RunList) {
      CheckListOptions(inv);
    } else {
      if (inv.style.empty()) throw UsageError("--style " + Names(kStyles, "|", "|") + " is required with entry");
      Named(kStyles, inv.style, "style");
      Named(kFormats, inv.format, "format");
    }
  }
  if (!csl && !inv.outputDir.empty()) throw UsageError("--output-dir goes with --from csl-json only");
  if (inv.files.empty()) inv.files.push_back("-");
  return true;
}

// --- Reading sources ---

// Output written in pieces: handed to the stream whenever it has grown, and checked at the end.
class Sink {
 public:
  explicit Sink(std::ostream& out) : out_(out) {}
  std::string& Text() { return text_; }
  void Flush(bool always = false) {
    if (!always && text_.size() < (1u << 16)) return;
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

 private:
  std::ostream& out_;
  std::string text_;
};

std::string ItemLabel(std::size_t index, const std::string& id) {
  return "item " + std::to_string(index) + (id.empty() ? "" : " (" + Quoted(id) + ")");
}

struct Source {
  const SourceValues& values;
  std::size_t index;                    // from 1
  const std::string* itemId = nullptr;  // a CSL-JSON item's id; null for a saved-data file
  std::string fileName;                 // the saved-data file's name as messages give it
  // How messages name it: "item 3 (\"smith1998\")", or the saved-data file's name.
  std::string Label() const { return itemId ? ItemLabel(index, *itemId) : fileName; }
};

void PrintWarnings(Io& io, const std::string& where, const LoadWarnings& warnings) {
  std::vector<LoadWarning> shown = warnings.shown;  // in the order of the lines
  std::stable_sort(shown.begin(), shown.end(), [](const LoadWarning& a, const LoadWarning& b) { return a.line < b.line; });
  for (const LoadWarning& w : shown) {
    io.err << "citara: warning: " << where << " line " << w.line << ": " << w.message << "\n";
  }
  if (warnings.more) io.err << "citara: warning: " << where << ": " << warnings.more << " more warnings\n";
}

// The values of a saved-data text of kind `form`, as a fresh control loading it holds them; its
// warnings are printed. Returns the number of warnings.
std::size_t LoadSavedDataFile(const std::string& path, const FormDescription& form, Io& io, std::optional<SourceValues>& values) {
  const std::string text = ReadInput(path, io.in);
  const OleDate now = LocalNow();
  values.emplace(form, now);
  LoadWarnings warnings;
  ReadSavedData(text, *values, now, &warnings);
  PrintWarnings(io, InputName(path), warnings);
  return warnings.Count();
}

// Reads the sources the invocation names (one saved-data text, or the items of a CSL-JSON
// document), printing their warnings, and hands each to `onSource`. With --strict, a first pass
// counts the warnings, and none is handed on when there are any. A CSL-JSON document is read in
// one pass (twice with --strict): when it turns out not to be JSON, this throws at the fault,
// after the items before it were handed on.
//
// Output streams as the items are read, so a broken document's output ends with its last whole
// item and the run fails with the fault's place; files are written only from a whole document.
int ForEachSource(const Invocation& inv, Io& io, const std::function<void(const Source&)>& onSource) {
  const std::string& path = inv.files.front();
  if (inv.from == kSavedData) {
    std::optional<SourceValues> values;
    const std::size_t warnings = LoadSavedDataFile(path, *FindForm(inv.control), io, values);
    if (inv.strict && warnings) throw Reported{kExitFailure};
    onSource({*values, 1, nullptr, InputName(path)});
    return kExitOk;
  }
  const std::string text = ReadInput(path, io.in);
  const OleDate now = LocalNow();
  int status = kExitOk;
  std::size_t warnings = 0;
  // Warnings are printed as each item is read; with --strict a first pass only counts them, and
  // the items are handed on by a second pass when there are none.
  const auto pass = [&](bool warn, bool handOn) {
    ReadCslJson(
        text, now,
        [&](CslImportedItem& item) {
          if (warn && !item.warnings.empty()) {
            const std::string label = ItemLabel(item.index, item.id);
            for (const std::string& w : item.warnings) io.err << "citara: warning: " << label << ": " << w << "\n";
            warnings += item.warnings.size();
          }
          if (handOn) onSource({item.values, item.index, &item.id, {}});
        },
        [&](std::size_t, const std::string& message) {
          if (warn) io.err << "citara: " << message << "\n";
          status = kExitFailure;
        });
  };
  if (inv.strict) {
    pass(true, false);
    if (warnings) throw Reported{kExitFailure};
    pass(false, true);
  } else {
    pass(true, true);
  }
  return status;
}

// --- The commands ---

int RunEntry(const Invocation& inv, Io& io) {
  const Style& style = Named(kStyles, inv.style, "style");
  const Format& format = Named(kFormats, inv.format, "format");
  Sink sink(io.out);
  const bool many = inv.from == kCslJson;
  if (many) format.begin(sink.Text());
  std::size_t written = 0;
  const auto finish = [&] {
    if (many) format.end(sink.Text());
    sink.Flush(true);
  };
  int status = kExitOk;
  try {
    status = ForEachSource(inv, io, [&](const Source& source) {
      const Citation entry = EntryOf(style, source.values);
      if (many) format.item(sink.Text(), entry);
      else format.one(sink.Text(), entry);
      ++written;
      sink.Flush();
    });
  } catch (const CslJsonError&) {
    if (written) finish();  // the entries of the whole items before the fault, as a whole document
    throw;
  }
  finish();
  return status;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.flush();
  if (!file) throw InputError("cannot write " + Quoted(path.string()) + ": " + std::strerror(errno));
}

int RunSavedData(const Invocation& inv, Io& io) {
  if (!inv.outputDir.empty()) {
    const std::filesystem::path dir(inv.outputDir);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir)) {
      throw InputError("cannot make the folder " + Quoted(inv.outputDir) + (ec ? ": " + ec.message() : ""));
    }
    std::vector<std::pair<std::string, std::string>> files;  // name, text: written once all are read
    const int status = ForEachSource(inv, io, [&](const Source& source) {
      files.emplace_back(std::to_string(source.index) + "-" + std::string(source.values.Form().className) + ".txt",
                         SavedDataText(source.values));
    });
    for (const auto& [name, text] : files) WriteFile(dir / name, text);
    return status;
  }
  std::optional<std::string> text;
  std::size_t count = 0;
  const int status = ForEachSource(inv, io, [&](const Source& source) {
    if (++count == 1) text = SavedDataText(source.values);
  });
  if (count > 1) {
    io.err << "citara: the CSL-JSON holds " << count << " items; name a folder for their files with --output-dir DIR\n";
    return kExitUsage;
  }
  if (!text) {
    io.err << "citara: the CSL-JSON holds no items\n";
    return kExitFailure;
  }
  io.out << *text;
  return status;
}

int RunValidate(const Invocation& inv, Io& io) {
  std::size_t failed = 0;
  const bool many = inv.from == kCslJson;
  int status = ForEachSource(inv, io, [&](const Source& source) {
    const FieldDescription* blank = FirstBlankRequiredField(source.values);
    if (!blank) return;
    if (++failed == 1 && !many) io.err << kRequiredFieldsMessage << "\n";
    if (many) {
      io.err << "citara: " << source.Label() << ": the " << source.values.Form().className << "'s required field "
             << Quoted(blank->caption) << " is blank\n";
    } else {
      io.err << "First blank required field: " << Quoted(blank->caption) << "\n";
    }
  });
  if (failed && many) io.err << kRequiredFieldsMessage << "\n";
  return failed ? kExitFailure : status;
}

// The id of a source read from `path`: the file's name without its folder and extension, made
// unique among the run's ids; the position for standard input.
std::string SourceId(const std::string& path, std::size_t index, std::set<std::string>& used) {
  std::string id = path == "-" ? std::to_string(index) : std::filesystem::path(path).stem().string();
  if (id.empty()) id = std::to_string(index);
  std::string unique = id;
  for (int n = 2; used.contains(unique); ++n) unique = id + "-" + std::to_string(n);
  used.insert(unique);
  return unique;
}

int RunCslJson(const Invocation& inv, Io& io) {
  const FormDescription& form = *FindForm(inv.control);
  if (inv.strict) {
    std::size_t warnings = 0;
    for (const std::string& path : inv.files) {
      std::optional<SourceValues> values;
      warnings += LoadSavedDataFile(path, form, io, values);
    }
    if (warnings) throw Reported{kExitFailure};
  }
  Sink sink(io.out);
  CslArrayWriter writer;
  std::set<std::string> used;
  std::ostringstream discard;
  Io quiet{io.in, io.out, inv.strict ? discard : io.err};  // warnings were printed by the first pass
  for (std::size_t i = 0; i < inv.files.size(); ++i) {
    std::optional<SourceValues> values;
    LoadSavedDataFile(inv.files[i], form, quiet, values);
    writer.Add(sink.Text(), *values, SourceId(inv.files[i], i + 1, used));
    sink.Flush();
  }
  writer.Finish(sink.Text());
  sink.Flush(true);
  return kExitOk;
}

// The kind of a saved-data file of a list: --control NAME, or the kind its file name says
// ("examples/webarticle.txt" is a WebArticle).
const FormDescription& ListFileForm(const Invocation& inv, const std::string& path) {
  if (!inv.control.empty()) return *FindForm(inv.control);
  if (path == "-") throw UsageError("--control NAME is required to list standard input");
  if (const FormDescription* form = FindForm(std::filesystem::path(path).stem().string())) return *form;
  throw UsageError("the name of " + Quoted(path) + " names no control (" + FormNames() + "); give --control NAME");
}

int RunList(const Invocation& inv, Io& io) {
  for (const std::string& path : inv.files) {
    if (inv.from == kSavedData) ListFileForm(inv, path);  // a wrong file name is found before any is read
  }
  WorksCitedBuilder builder(*FindListStyle(inv.style));
  std::size_t warnings = 0;
  int status = kExitOk;
  const auto add = [&](const SourceValues& values, const std::string& label) {
    if (const FieldDescription* blank = FirstBlankRequiredField(values)) {
      io.err << "citara: warning: " << label << ": the " << values.Form().className << "'s required field "
             << Quoted(blank->caption) << " is blank; it is listed all the same\n";
      ++warnings;
    }
    builder.Add(values);
  };
  for (const std::string& path : inv.files) {
    if (inv.from == kSavedData) {
      std::optional<SourceValues> values;
      warnings += LoadSavedDataFile(path, ListFileForm(inv, path), io, values);
      add(*values, InputName(path));
      continue;
    }
    // One pass over the document: nothing is written before every item is read, so --strict can
    // still refuse the list after the last warning.
    const std::string text = ReadInput(path, io.in);
    const std::string file = inv.files.size() > 1 ? InputName(path) + " " : "";
    ReadCslJson(
        text, LocalNow(),
        [&](CslImportedItem& item) {
          const std::string label = file + ItemLabel(item.index, item.id);
          for (const std::string& w : item.warnings) io.err << "citara: warning: " << label << ": " << w << "\n";
          warnings += item.warnings.size();
          add(item.values, label);
        },
        [&](std::size_t, const std::string& message) {
          io.err << "citara: " << file << message << "\n";
          status = kExitFailure;
        });
  }
  if (inv.strict && warnings) throw Reported{kExitFailure};
  const WorksCited list = std::move(builder).Finish();
  const ListWriter& writer = *FindListWriter(inv.format);
  std::ofstream file;
  if (!inv.output.empty()) {
    file.open(inv.output, std::ios::binary);
    if (!file) throw InputError("cannot write " + Quoted(inv.output) + ": " + std::strerror(errno));
  }
  Sink sink(inv.output.empty() ? io.out : file);
  writer.begin(sink.Text(), list.heading);
  for (const Citation& entry : list.entries) {
    writer.entry(sink.Text(), entry);
    sink.Flush();
  }
  writer.end(sink.Text());
  sink.Flush(true);
  if (!inv.output.empty()) {
    file.close();
    if (!file) throw InputError("cannot write " + Quoted(inv.output) + ": " + std::strerror(errno));
  }
  return status;
}

// The exit status after the output is flushed: a write that failed is an error of its own.
int Flushed(Io& io, int status) {
  io.out.flush();
  if (!io.out) {
    const int error = errno;
    io.err << "citara: cannot write the output" << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return kExitFailure;
  }
  return status;
}

}  // namespace

int RunCitara(std::span<const std::string_view> args, std::FILE* in, std::ostream& out, std::ostream& err) {
  Io io{in, out, err};
  try {
    if (!args.empty() && args.front() == "--version") {
      out << "citara " CITARA_VERSION "\n";
      return Flushed(io, kExitOk);
    }
    const std::optional<std::size_t> at = CommandPosition(args);
    if (!at) {
      if (AsksForHelp(args)) {
        out << GeneralHelp();
        return Flushed(io, kExitOk);
      }
      throw UsageError("no command given (" + CommandNames() + ")");
    }
    const std::string_view name = args[*at];
    if (name == "help") {
      const Command* command = *at + 1 < args.size() ? FindCommand(args[*at + 1]) : nullptr;
      out << (command ? CommandHelp(*command) : GeneralHelp());
      return Flushed(io, kExitOk);
    }
    const Command* command = FindCommand(name);
    if (!command) throw UsageError("unknown command " + Quoted(name) + " (" + CommandNames() + ")");
    std::vector<std::string> options(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(*at));
    options.insert(options.end(), args.begin() + static_cast<std::ptrdiff_t>(*at) + 1, args.end());
    Invocation inv;
    inv.command = command->name;
    if (!ParseOptions(*command, std::move(options), inv)) {
      out << CommandHelp(*command);
      return Flushed(io, kExitOk);
    }
    return Flushed(io, command->run(inv, io));
  } catch (const UsageError& e) {
    err << "citara: " << e.what() << "\n" << "Try 'citara --help'.\n";
    return kExitUsage;
  } catch (const Reported& r) {
    err << "citara: --strict: the warnings above are errors; nothing was written\n";
    return r.status;
  } catch (const std::exception& e) {
    err << "citara: " << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace citara
