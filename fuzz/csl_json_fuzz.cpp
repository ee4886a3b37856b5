// Fuzzes the CSL-JSON import: any bytes read as a CSL-JSON document; every item that reads becomes
// a source of its form, then both of its entries, its saved data and its CSL-JSON item again.
//
// Findings: a crash, a sanitizer report or an exception other than CslJsonError; an entry whose
// RTF does not read back to it; a form holding the item's values (ApplyValues) whose entries or
// saved data differ from those made on the values alone; saved data that does not read back to the
// same values; an exported item that Citara reads back to other values, or exports again to other
// text (the export of an import is a fixed point).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "collection/csl_json.h"
#include "collection/forms.h"
#include "core/saved_data.h"
#include "core/source_form.h"
#include "rtf_read_back.h"
#include "widgets/platform.h"

namespace {

using namespace citara;

constexpr OleDate kNow = 36954.5;  // 4 March 2001 at noon: an item without a date reads as today

[[noreturn]] void Finding(const SourceValues& values, const char* what, const std::string& detail) {
  std::fprintf(stderr, "csl-json finding (%.*s): %s\n%s\n", static_cast<int>(values.Form().className.size()),
               values.Form().className.data(), what, detail.c_str());
  std::abort();
}

void CheckRtf(const SourceValues& values, const Citation& citation) {
  const std::string rtf = CitationToRtf(citation);
  const fuzz::ReadBack back = fuzz::ReadCitationRtf(rtf);
  if (!back.error.empty()) Finding(values, back.error.c_str(), rtf);
  if (!(back.citation == citation)) Finding(values, "the entry's RTF reads back to another entry", rtf);
}

// One form of each kind, made once: building a form costs more than anything else here.
TSourceForm& FormOf(const FormDescription& description) {
  static std::unique_ptr<TSourceForm> forms[10];
  for (std::size_t i = 0; i < AllForms().size(); ++i) {
    if (AllForms()[i] != &description) continue;
    if (!forms[i]) forms[i] = std::make_unique<TSourceForm>(description);
    return *forms[i];
  }
  std::abort();
}

void CheckItem(const CslImportedItem& item) {
  const SourceValues& values = item.values;
  const FormDescription& form = values.Form();
  const Citation mla = form.mla(values), apa = form.apa(values);
  CheckRtf(values, mla);
  CheckRtf(values, apa);
  // The current editions read the same values (and the DOI and other variables kept beside them).
  CheckRtf(values, form.mla9(values));
  CheckRtf(values, form.apa7(values));
  const std::string saved = SavedDataText(values);

  // The form holding the same values answers the same.
  TSourceForm& live = FormOf(form);
  ApplyValues(live, values);
  if (!(live.MlaCitation() == mla) || !(live.ApaCitation() == apa)) {
    Finding(values, "a form holding the values makes other entries", CitationToMarked(mla) + "\n" + CitationToMarked(live.MlaCitation()));
  }
  if (live.SavedData() != saved) Finding(values, "a form holding the values saves other data", saved + "\n" + live.SavedData());

  // The saved data reads back to the same values.
  SourceValues reread(form, kNow);
  ReadSavedData(saved, reread, kNow);
  if (SavedDataText(reread) != saved) Finding(values, "the saved data reads back to other values", saved);

  // The item exported, read back and exported again.
  const std::string exported = CslItemJson(values, item.id);
  const CslImportedItem back = ReadCslItem(exported, kNow);
  if (&back.values.Form() != &form || SavedDataText(back.values) != saved || back.values.CslVariables() != values.CslVariables()) {
    Finding(values, "the exported item reads back to other values", exported);
  }
  if (CslItemJson(back.values, back.id) != exported) Finding(values, "the exported item exports again to other text", exported);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HeadlessPlatform port;
  port.SetNow(kNow);
  ScopedPlatform use(port);
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    ReadCslJson(text, kNow, CheckItem, [](std::size_t, const std::string&) {});
  } catch (const CslJsonError&) {
  }
  return 0;
}
