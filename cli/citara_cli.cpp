#include "cli/citara_cli.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/saved_data.h"
#include "core/source_form.h"
#include "print/print_forms.h"
#include "web/web_forms.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"

namespace citara {
namespace {

constexpr std::string_view kHelp = R"(Usage: citara COMMAND --control NAME [OPTIONS] [FILE]

Loads a saved-data text (from FILE, or from standard input when FILE is absent or "-") into a
fresh control of kind NAME, exactly as a host's SavedData write does, and prints what the control
answers.

Commands:
  entry       print the entry: --style mla|apa (required), --format rtf|text|marked
              (rtf, the default, is the control's rich text; text is the plain entry; marked is
              the plain entry with its italic part between asterisks). Nothing else is printed,
              not even a final newline.
  saved-data  print the control's saved-data text (the round trip of what was loaded)
  validate    check the required fields: exit 0 when all are filled; otherwise print the
              required-field message and the first blank field on standard error and exit 1

NAME is one of Book, Encyclopedia, Journal, Magazine, Newspaper, Other, WebArticle,
PersonalSite, ProfessionalSite, Newsgroup (any case).

Options:
  --control NAME   the kind of control
  --style STYLE    mla or apa (entry only)
  --format FORMAT  rtf, text or marked (entry only)
  -h, --help       show this help

Exit status: 0 success, 1 the input could not be read or loaded (or failed validation),
2 wrong command line.

Example:
  citara entry --control Book --style mla --format marked examples/book.txt
)";

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  std::string command;
  std::string control;
  std::string style;
  std::string format = "rtf";
  std::optional<std::string> file;
  bool help = false;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::vector<const FormDescription*> AllForms() {
  std::vector<const FormDescription*> forms(PrintForms().begin(), PrintForms().end());
  forms.insert(forms.end(), WebForms().begin(), WebForms().end());
  return forms;
}

const FormDescription& FormNamed(std::string_view name) {
  std::string known;
  for (const FormDescription* form : AllForms()) {
    if (EqualsIgnoringCase(form->className, name)) return *form;
    known += known.empty() ? "" : ", ";
    known += form->className;
  }
  throw UsageError("unknown control \"" + std::string(name) + "\" (choose from " + known + ")");
}

Options Parse(std::span<const std::string_view> args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "-h" || arg == "--help" || arg == "help") {
      o.help = true;
      continue;
    }
    if (arg.starts_with("--") && arg.size() > 2) {
      std::string_view name = arg.substr(2);
      std::string value;
      if (const std::size_t eq = name.find('='); eq != std::string_view::npos) {
        value = name.substr(eq + 1);
        name = name.substr(0, eq);
      } else if (name == "control" || name == "style" || name == "format") {
        if (i + 1 >= args.size()) throw UsageError("--" + std::string(name) + " needs a value");
        value = args[++i];
      }
      if (name == "control") o.control = value;
      else if (name == "style") o.style = value;
      else if (name == "format") o.format = value;
      else throw UsageError("unknown option \"" + std::string(arg) + "\"");
      continue;
    }
    if (o.command.empty()) o.command = arg;
    else if (!o.file) o.file = std::string(arg);
    else throw UsageError("more than one input file (\"" + *o.file + "\" and \"" + std::string(arg) + "\")");
  }
  if (o.help) return o;
  if (o.command.empty()) throw UsageError("no command given (entry, saved-data or validate)");
  if (o.command != "entry" && o.command != "saved-data" && o.command != "validate") {
    throw UsageError("unknown command \"" + o.command + "\" (entry, saved-data or validate)");
  }
  if (o.control.empty()) throw UsageError("--control NAME is required");
  FormNamed(o.control);
  if (o.command == "entry") {
    if (o.style.empty()) throw UsageError("--style mla|apa is required with entry");
    if (!EqualsIgnoringCase(o.style, "mla") && !EqualsIgnoringCase(o.style, "apa")) {
      throw UsageError("unknown style \"" + o.style + "\" (mla or apa)");
    }
    if (o.format != "rtf" && o.format != "text" && o.format != "marked") {
      throw UsageError("unknown format \"" + o.format + "\" (rtf, text or marked)");
    }
  } else if (!o.style.empty() || o.format != "rtf") {
    throw UsageError("--style and --format go with the entry command only");
  }
  return o;
}

// The saved-data text to load. Throws std::runtime_error when the file cannot be read.
std::string ReadInput(const std::optional<std::string>& file, std::istream& in) {
  std::string text;
  if (!file || *file == "-") {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    std::ifstream stream(*file, std::ios::binary);
    if (!stream) throw std::runtime_error("cannot read \"" + *file + "\"");
    text.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    if (stream.bad()) throw std::runtime_error("cannot read \"" + *file + "\"");
  }
  // A byte-order mark that an editor put in front of the text is not part of the data.
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

int Run(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
  const std::string text = ReadInput(o.file, in);
  HeadlessPlatform port;
  ScopedPlatform use(port);
  TSourceForm form(FormNamed(o.control));
  form.SetSavedData(text);

  if (o.command == "entry") {
    const Citation citation = form.CitationIn(EqualsIgnoringCase(o.style, "apa") ? CitationStyle::APA : CitationStyle::MLA);
    if (o.format == "rtf") out << CitationToRtf(citation);
    else if (o.format == "text") out << CitationToText(citation);
    else out << CitationToMarked(citation);
  } else if (o.command == "saved-data") {
    out << form.SavedData();
  } else {
    if (form.ValidateData() == kAutomationTrue) return kExitOk;
    const TFlatEdit* blank = FirstBlankRequiredField(form);
    err << port.Dialogs().back().text << "\n";
    if (blank) err << "First blank required field: " << blank->Name() << "\n";
    return kExitFailure;
  }
  return out.good() ? kExitOk : kExitFailure;
}

}  // namespace

int RunCitara(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err) {
  try {
    const Options options = Parse(args);
    if (options.help) {
      out << kHelp;
      return kExitOk;
    }
    return Run(options, in, out, err);
  } catch (const UsageError& e) {
    err << "citara: " << e.what() << "\n" << "Try 'citara --help'.\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    err << "citara: " << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace citara
