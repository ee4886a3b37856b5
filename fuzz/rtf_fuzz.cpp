// Fuzzes the RTF writer: any bytes as an entry, any run of it in italics. The document must read
// back, with the strict reader of rtf_read_back.h, to exactly the entry and exactly that run.
//
// Input: two bytes that place the italic run (its start and its length, each modulo what is left),
// then the entry.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/citation.h"
#include "rtf_read_back.h"

namespace {

[[noreturn]] void Finding(const char* what, const std::string& entry, const std::string& rtf) {
  std::fprintf(stderr, "RTF finding: %s\nentry: %s\nrtf: %s\n", what, entry.c_str(), rtf.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace citara;
  if (size < 2) return 0;
  const std::string entry(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t begin = data[0] % (entry.size() + 1);
  const std::size_t length = data[1] % (entry.size() - begin + 1);
  // Searching from `begin` finds the run exactly there.
  const Citation citation = FindItalicRun(entry, std::string_view(entry).substr(begin, length), begin);
  if (citation.HasItalics() && (citation.italicBegin != begin || citation.italicEnd != begin + length)) {
    Finding("the italic run is not where it was joined", entry, "");
  }
  const std::string rtf = CitationToRtf(citation);
  const fuzz::ReadBack back = fuzz::ReadCitationRtf(rtf);
  if (!back.error.empty()) Finding(back.error.c_str(), entry, rtf);
  if (back.citation.text != entry) Finding("the text read back differs", entry, rtf);
  if (back.citation.HasItalics() != citation.HasItalics() ||
      (citation.HasItalics() && (back.citation.italicBegin != citation.italicBegin ||
                                 back.citation.italicEnd != citation.italicEnd))) {
    Finding("the italic run read back differs", entry, rtf);
  }
  for (const char ch : rtf) {
    if (static_cast<unsigned char>(ch) >= 0x80) Finding("a byte outside ASCII in the document", entry, rtf);
  }
  return 0;
}
