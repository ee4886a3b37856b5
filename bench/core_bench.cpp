// Speed of the core text rules: one call per iteration.
#include <benchmark/benchmark.h>

#include "core/citation.h"
#include "core/contributors.h"
#include "core/formatting.h"

namespace citara {
namespace {

void BM_CapitalizeTitle(benchmark::State& state) {
  const std::string title = "the biography of benjamin franklin: a study of his life";  // 56 characters
  const CitationStyle style = static_cast<CitationStyle>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(CapitalizeTitle(title + "...", style));
}
BENCHMARK(BM_CapitalizeTitle)->Arg(0)->Arg(1);

// A title in Greek, Cyrillic and accented Latin: every letter goes through the case and letter tables.
void BM_CapitalizeTitleNonAscii(benchmark::State& state) {
  const std::string title = "ιστορία της τέχνης: ένας οδηγός για όλους και τη ζωή: études";  // 60 characters
  const CitationStyle style = static_cast<CitationStyle>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(CapitalizeTitle(title, style));
}
BENCHMARK(BM_CapitalizeTitleNonAscii)->Arg(0)->Arg(1);

void BM_FormatPrimaryNames3(benchmark::State& state) {
  const ContributorList authors = {{"Smith", "John", "Q"}, {"Doe", "Jane", ""}, {"Roe", "Richard", "P"}};
  const CitationStyle style = static_cast<CitationStyle>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(FormatPrimaryNames(authors, style));
}
BENCHMARK(BM_FormatPrimaryNames3)->Arg(0)->Arg(1);

void BM_MakeCitationRtf150(benchmark::State& state) {
  const std::string entry =
      "Smith, John Q., Jane Doe, and Richard Roe. The Biography of Benjamin Franklin. Ed. Ann Brown. "
      "vol. 2. 3rd ed. New York: Harbor Books, 1998. 12-15. ";
  for (auto _ : state) benchmark::DoNotOptimize(MakeCitationRtf(entry, "The Biography of Benjamin Franklin", 43));
}
BENCHMARK(BM_MakeCitationRtf150);

}  // namespace
}  // namespace citara
