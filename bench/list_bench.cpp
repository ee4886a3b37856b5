// The stages of a list of works cited on its own, over the sources of a CSL-JSON document (bench/
// works-cited passes the one bench/csl_json_bench writes, 100,000 items of the ten kinds mixed):
// the entries and their sort keys (WorksCitedBuilder::Add), the sort with its "---. " and year
// letters (Finish), and each writer. The document is read once, before any benchmark; `citara
// list` adds that reading to these (bench/works-cited times the whole process).
//
//   build/native/bench/list_bench --input FILE --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "collection/csl_json.h"
#include "list/list_writers.h"
#include "list/works_cited.h"
#include "widgets/dates.h"

namespace citara {
namespace {

std::vector<SourceValues>& Sources() {
  static std::vector<SourceValues> sources;
  return sources;
}

WorksCitedBuilder Built(const ListStyle& style) {
  WorksCitedBuilder builder(style);
  for (const SourceValues& source : Sources()) builder.Add(source);
  return builder;
}

void BM_EntriesAndKeys(benchmark::State& state, const char* style) {
  for (auto _ : state) {
    WorksCitedBuilder builder = Built(*FindListStyle(style));
    benchmark::DoNotOptimize(builder.Size());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Sources().size()));
}

void BM_Sort(benchmark::State& state, const char* style) {
  for (auto _ : state) {
    state.PauseTiming();
    WorksCitedBuilder builder = Built(*FindListStyle(style));
    state.ResumeTiming();
    WorksCited list = std::move(builder).Finish();
    benchmark::DoNotOptimize(list.entries.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Sources().size()));
}

void BM_Writer(benchmark::State& state, const char* format) {
  const WorksCited list = Built(*FindListStyle("mla")).Finish();
  const ListWriter& writer = *FindListWriter(format);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = WriteWorksCited(writer, list);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(list.entries.size()));
  state.counters["bytes"] = static_cast<double>(bytes);
}

}  // namespace
}  // namespace citara

int main(int argc, char** argv) {
  using namespace citara;
  std::string input;
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--input") == 0 && i + 1 < argc) input = argv[++i];
    else rest.push_back(argv[i]);
  }
  if (input.empty()) {
    std::cerr << "usage: list_bench --input FILE [benchmark options]  (FILE: csl_json_bench --write FILE)\n";
    return 2;
  }
  std::ifstream file(input, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  ReadCslJson(text.str(), OleFromCivil({2024, 3, 15}), [](CslImportedItem& item) { Sources().push_back(std::move(item.values)); },
              [](std::size_t, const std::string&) {});
  for (const char* style : {"mla", "apa"}) {
    benchmark::RegisterBenchmark((std::string("EntriesAndKeys/") + style).c_str(), BM_EntriesAndKeys, style)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("Sort/") + style).c_str(), BM_Sort, style)->Unit(benchmark::kMillisecond);
  }
  for (const char* format : {"rtf", "html", "markdown", "text"}) {
    benchmark::RegisterBenchmark((std::string("Writer/") + format).c_str(), BM_Writer, format)->Unit(benchmark::kMillisecond);
  }
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
