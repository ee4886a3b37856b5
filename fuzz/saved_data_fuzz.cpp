// Fuzzes the saved-data text: any text loaded into a fresh control of each of the ten kinds, then
// both entries and a saved-data read.
//
// Input: one byte that picks the control (modulo ten: Book .. Other, WebArticle .. Newsgroup), then
// the text. The entries are checked again after the control reloads its own saved data. A load may refuse the text with SavedDataError; the control must then be exactly as it
// was (its saved data that of a fresh control). After a load, each entry's RTF must read back to
// that entry, and the control's saved-data text must load again and give back the same text (a
// fresh control loaded with it would hold the same: the text names every filled field, and no field
// a load can fill is blank in a fresh control but for those the text leaves out). Any other
// exception, a crash or a sanitizer report is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/saved_data.h"
#include "core/source_form.h"
#include "print/print_forms.h"
#include "rtf_read_back.h"
#include "web/web_forms.h"
#include "widgets/platform.h"

namespace {

using namespace citara;

const FormDescription& FormAt(std::size_t i) {
  const auto print = PrintForms();
  return i < print.size() ? *print[i] : *WebForms()[i - print.size()];
}

[[noreturn]] void Finding(const FormDescription& form, const char* what, const std::string& detail) {
  std::fprintf(stderr, "saved-data finding (%.*s): %s\n%s\n", static_cast<int>(form.className.size()),
               form.className.data(), what, detail.c_str());
  std::abort();
}

void CheckEntry(const FormDescription& description, TSourceForm& form, CitationStyle style) {
  const Citation citation = form.CitationIn(style);
  const std::string rtf = IsApa(style) ? form.GetAPACitaraInfo() : form.GetMLACitaraInfo();
  const fuzz::ReadBack back = fuzz::ReadCitationRtf(rtf);
  if (!back.error.empty()) Finding(description, back.error.c_str(), rtf);
  if (back.citation.text != citation.text) Finding(description, "the entry's RTF reads back to other text", rtf);
  if (back.citation.HasItalics() != citation.HasItalics() ||
      (citation.HasItalics() &&
       (back.citation.italicBegin != citation.italicBegin || back.citation.italicEnd != citation.italicEnd))) {
    Finding(description, "the entry's RTF has another italic run", rtf);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const FormDescription& description = FormAt(data[0] % 10);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  HeadlessPlatform port;
  port.SetNow(OleFromCivil({2001, 3, 4}));  // a text without dates loads today: make it one day
  ScopedPlatform use(port);

  // The saved data of a fresh control of each kind, made once: building a control costs more than
  // anything else here.
  static std::string fresh[10];
  std::string& before = fresh[data[0] % 10];
  TSourceForm form(description);
  if (before.empty()) before = form.SavedData();
  try {
    form.SetSavedData(text);
  } catch (const SavedDataError&) {
    if (form.SavedData() != before) Finding(description, "a refused text changed the control", std::string(text));
    return 0;
  }
  CheckEntry(description, form, CitationStyle::MLA);
  CheckEntry(description, form, CitationStyle::APA);

  const std::string saved = form.SavedData();
  try {
    form.SetSavedData(saved);
  } catch (const SavedDataError& e) {
    Finding(description, "a control refuses its own saved data", e.what() + std::string("\n") + saved);
  }
  if (form.SavedData() != saved) Finding(description, "the saved data changes on a second round", saved);
  // The entries asked for again after the load: a kept entry must still be the one the rule makes.
  CheckEntry(description, form, CitationStyle::MLA);
  CheckEntry(description, form, CitationStyle::APA);
  return 0;
}
