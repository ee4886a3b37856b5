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

struct Style {
  std::string_view name;
  CitationStyle style;
};
constexpr Style kStyles[] = {{"mla", CitationStyle::MLA}, {"apa", CitationStyle::APA}};

Citation EntryOf(const Style& style, const SourceValues& values) {
  return IsApa(style.style) ? values.Form().apa(values) : values.Form().mla(values);
}

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
std::string Names(const Row (&rows)[N], std::string_view last = " or ") {
  std::string out;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) out += i + 1 == N ? last : ", ";
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
  kStrictOption = 32, kOneFile = 64, kManyFiles = 128,
};

struct Invocation {
  std::string command;
  std::string control, style, format, from, outputDir;
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
  std::string_view usage;    // after "citara "
  std::string_view summary;  // one line
  std::string_view details;  // the command's help, after its usage
  unsigned options;
  int (*run)(const Invocation&, Io&);
};

int RunEntry(const Invocation&, Io&);
int RunSavedData(const Invocation&, Io&);
int RunValidate(const Invocation&, Io&);
int RunCslJson(const Invocation&, Io&);

constexpr unsigned kSourceOptions = kControlOption | kFromOption | kStrictOption | kOneFile;

constexpr Command kCommands[] = {
    {"entry", "entry [--from saved-data] --control NAME --style STYLE [--format FORMAT] [FILE]\n"
              "       citara entry --from csl-json --style STYLE [--format FORMAT] [FILE]",
     "print the entry of a source, or of every item of a CSL-JSON document",
     "STYLE is mla or apa. FORMAT is rtf (the default: the control's rich text), text (the plain\n"
     "entry) or marked (the plain entry with its italic part between asterisks). From a saved-data\n"
     "text nothing else is printed, not even a final newline. From CSL-JSON every item gives its\n"
     "entry in order: one line each in text and marked, one RTF document with a paragraph per\n"
     "entry in rtf.\n",
     kSourceOptions | kStyleOption | kFormatOption, RunEntry},
    {"saved-data", "saved-data [--from saved-data] --control NAME [FILE]\n"
                   "       citara saved-data --from csl-json [--output-dir DIR] [FILE]",
     "print the saved-data text of a source (the round trip of what was loaded)",
     "From CSL-JSON, a document of one item prints that item's saved-data text; with --output-dir\n"
     "DIR every item is written to DIR/<index>-<control>.txt (1-Book.txt, 2-Journal.txt, ...),\n"
     "DIR made when it is missing.\n",
     kSourceOptions | kOutputDirOption, RunSavedData},
    {"validate", "validate [--from saved-data] --control NAME [FILE]\n"
                 "       citara validate --from csl-json [FILE]",
     "check the required fields",
     "Exits 0 when every required field is filled. Otherwise prints the required-field message and\n"
     "the key of the first blank field (for CSL-JSON: of every item that fails, by its position\n"
     "and id) on standard error and exits 1.\n",
     kSourceOptions, RunValidate},
    {"csl-json", "csl-json --control NAME [FILE...]",
     "print saved-data texts as one CSL-JSON array",
     "Each FILE is the saved-data text of one source of kind NAME (standard input when no FILE is\n"
     "named); the items are printed as one CSL-JSON array, each with the file's name as its id.\n",
     kControlOption | kStrictOption | kManyFiles, RunCslJson},
};

constexpr struct {
  unsigned bit;
  std::string_view name;
} kOptionNames[] = {
    {kControlOption, "--control"}, {kStyleOption, "--style"},           {kFormatOption, "--format"},
    {kFromOption, "--from"},       {kOutputDirOption, "--output-dir"}, {kStrictOption, "--strict"},
};

std::string GeneralHelp() {
  std::string help = "Usage: citara COMMAND [OPTIONS] [FILE]\n\n";
  help +=
      "Reads sources (a saved-data text as a host's SavedData holds it, or a CSL-JSON document of a\n"
      "reference manager) from FILE, or from standard input when FILE is absent or \"-\", and prints\n"
      "what the controls make of them.\n\nCommands:\n";
  for (const Command& c : kCommands) {
    std::string name(c.name);
    name.resize(12, ' ');
    help += "  " + name + std::string(c.summary) + "\n";
  }
  help += "\n";
  for (const Command& c : kCommands) help += "  citara " + std::string(c.usage) + "\n";
  help +=
      "\nOptions:\n"
      "  --control NAME     the kind of control of a saved-data text: " + FormNames() + "\n"
      "                     (any case)\n"
      "  --from FORMAT      saved-data (the default) or csl-json\n"
      "  --style STYLE      " + Names(kStyles) + "\n"
      "  --format FORMAT    " + Names(kFormats) + "\n"
      "  --output-dir DIR   saved-data from CSL-JSON: one file per item in DIR\n"
      "  --strict           warnings are errors: nothing is printed and the exit status is 1\n"
      "  -h, --help         show this help (citara COMMAND --help: the command's own)\n"
      "  --version          show citara's version\n"
      "  --                 ends the options: every argument after it is a FILE\n"
      "\n"
      "Warnings name the lines and values that load but perhaps not as meant (a contributor after a\n"
      "gap in the numbering, a date format the control does not know, a year that is not a number,\n"
      "an unknown key) and what a CSL-JSON item holds that has no place in its control.\n"
      "Inputs larger than " + std::to_string(kMaxInputBytes >> 20) + " MiB are refused; UTF-16 text is read by its byte-order mark.\n"
      "\n"
      "Exit status: 0 success, 1 an input could not be read or loaded, failed validation, an output\n"
      "could not be written, or --strict found warnings; 2 a wrong command line.\n"
      "\nExamples:\n"
      "  citara entry --control Book --style mla --format marked examples/book.txt\n"
      "  citara csl-json --control Book examples/book.txt > sources.json\n"
      "  citara entry --from csl-json --style apa --format text sources.json\n";
  return help;
}

std::string CommandHelp(const Command& c) {
  return "Usage: citara " + std::string(c.usage) + "\n\n" + std::string(c.summary) + ".\n\n" + std::string(c.details) +
         "\nSee citara --help for the options, the control names and the exit status.\n";
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

// Parses the arguments after the command. Returns false when help was asked for.
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
  for (const auto& option : kOptionNames) {
    if (app.count(std::string(option.name)) && !(command.options & option.bit)) {
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
    if (!csl && inv.control.empty()) throw UsageError("--control NAME is required");
    if (!csl && !FindForm(inv.control)) {
      throw UsageError("unknown control " + Quoted(inv.control) + " (choose from " + FormNames() + ")");
    }
  }
  if (command.options & kStyleOption) {
    if (inv.style.empty()) throw UsageError("--style " + Names(kStyles, "|") + " is required with entry");
    Named(kStyles, inv.style, "style");
    if (inv.format.empty()) inv.format = "rtf";
    Named(kFormats, inv.format, "format");
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

struct Source {
  const SourceValues& values;
  std::size_t index;  // from 1
  std::string label;  // how messages name it: "item 3 (\"smith1998\")" or the file's name
};

void PrintWarnings(Io& io, const std::string& where, const LoadWarnings& warnings) {
  std::vector<LoadWarning> shown = warnings.shown;  // in the order of the lines
  std::stable_sort(shown.begin(), shown.end(), [](const LoadWarning& a, const LoadWarning& b) { return a.line < b.line; });
  for (const LoadWarning& w : shown) {
    io.err << "citara: warning: " << where << " line " << w.line << ": " << w.message << "\n";
  }
  if (warnings.more) io.err << "citara: warning: " << where << ": " << warnings.more << " more warnings\n";
}

std::string ItemLabel(std::size_t index, const std::string& id) {
  return "item " + std::to_string(index) + (id.empty() ? "" : " (" + Quoted(id) + ")");
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
// counts the warnings, and none is handed on when there are any.
int ForEachSource(const Invocation& inv, Io& io, const std::function<void(const Source&)>& onSource) {
  const std::string& path = inv.files.front();
  if (inv.from == kSavedData) {
    std::optional<SourceValues> values;
    const std::size_t warnings = LoadSavedDataFile(path, *FindForm(inv.control), io, values);
    if (inv.strict && warnings) throw Reported{kExitFailure};
    onSource({*values, 1, InputName(path)});
    return kExitOk;
  }
  const std::string text = ReadInput(path, io.in);
  const OleDate now = LocalNow();
  int status = kExitOk;
  std::size_t warnings = 0;
  const auto pass = [&](bool handOn) {
    ReadCslJson(
        text, now,
        [&](CslImportedItem& item) {
          const std::string label = ItemLabel(item.index, item.id);
          if (!handOn) {
            for (const std::string& w : item.warnings) io.err << "citara: warning: " << label << ": " << w << "\n";
            warnings += item.warnings.size();
            return;
          }
          onSource({item.values, item.index, label});
        },
        [&](std::size_t, const std::string& message) {
          if (!handOn) io.err << "citara: " << message << "\n";
          status = kExitFailure;
        });
  };
  pass(false);
  if (inv.strict && warnings) throw Reported{kExitFailure};
  pass(true);
  return status;
}

// --- The commands ---

int RunEntry(const Invocation& inv, Io& io) {
  const Style& style = Named(kStyles, inv.style, "style");
  const Format& format = Named(kFormats, inv.format, "format");
  Sink sink(io.out);
  const bool many = inv.from == kCslJson;
  if (many) format.begin(sink.Text());
  const int status = ForEachSource(inv, io, [&](const Source& source) {
    const Citation entry = EntryOf(style, source.values);
    if (many) format.item(sink.Text(), entry);
    else format.one(sink.Text(), entry);
    sink.Flush();
  });
  if (many) format.end(sink.Text());
  sink.Flush(true);
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
    return ForEachSource(inv, io, [&](const Source& source) {
      const std::string name = std::to_string(source.index) + "-" + std::string(source.values.Form().className) + ".txt";
      WriteFile(dir / name, SavedDataText(source.values));
    });
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
      io.err << "citara: " << source.label << ": the " << source.values.Form().className << "'s required field "
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
    if (args.empty()) throw UsageError("no command given (" + CommandNames() + ")");
    const std::string_view first = args.front();
    if (first == "--version") {
      out << "citara " CITARA_VERSION "\n";
      return Flushed(io, kExitOk);
    }
    if (first == "-h" || first == "--help" || first == "help") {
      const Command* command = (first == "help" && args.size() > 1) ? FindCommand(args[1]) : nullptr;
      out << (command ? CommandHelp(*command) : GeneralHelp());
      return Flushed(io, kExitOk);
    }
    const Command* command = FindCommand(first);
    if (!command) {
      if (first.starts_with("-")) throw UsageError("no command given (" + CommandNames() + "): the command comes first");
      throw UsageError("unknown command " + Quoted(first) + " (" + CommandNames() + ")");
    }
    Invocation inv;
    inv.command = command->name;
    if (!ParseOptions(*command, std::vector<std::string>(args.begin() + 1, args.end()), inv)) {
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
