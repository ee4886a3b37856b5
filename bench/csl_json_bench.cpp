// Speed of a run over many sources: 100,000 generated CSL-JSON items of the ten kinds mixed, read
// (parse and map), their entries made by the rules on their values and written, in one process.
// Each benchmark runs the whole document once per iteration, in one style and one format; the
// counters give items (entries) per second, parse included; FourEntriesAnItem makes all four
// entries of each item (MLA and APA, RTF and text) from one read. SavedDataOfManyAuthors shows the
// saved data of N contributors read and written in time linear in N.
//
//   build/native/bench/csl_json_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
//   build/native/bench/csl_json_bench --write FILE   # writes the document, for bench/csl-json
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "collection/csl_json.h"
#include "collection/forms.h"
#include "collection/rapidjson.h"
#include "core/citation.h"
#include "core/saved_data.h"

namespace citara {
namespace {

constexpr int kItems = 100000;

// A document of `count` items as a writer's sources: every field filled with short phrases, one to
// three authors (and an editor where the form has editors), dates in every detail.
std::string GeneratedDocument(int count) {
  static constexpr std::string_view kWords[] = {"the", "history", "of", "coastal", "tides", "harbor", "science",
                                                "review", "studies", "new", "world", "maps", "and", "notes"};
  static constexpr std::string_view kNames[] = {"Smith", "Carver", "Doe", "Roe", "Brown", "García", "Müller", "Øster"};
  std::mt19937 random(20261210);
  const auto words = [&](int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out.append(i ? " " : "").append(kWords[random() % std::size(kWords)]);
    return out;
  };
  const OleDate now = OleFromCivil({2024, 3, 15});
  std::string document;
  CslArrayWriter writer;
  for (int i = 0; i < count; ++i) {
    const FormDescription& form = *AllForms()[static_cast<std::size_t>(i) % AllForms().size()];
    SourceValues values(form, now);
    for (std::size_t f = 0; f < form.fields.size(); ++f) {
      switch (form.fields[f].kind) {
        case FieldKind::Edit: values.SetText(f, words(2 + static_cast<int>(random() % 5))); break;
        case FieldKind::SpinEdit: values.SetText(f, std::to_string(1900 + random() % 120)); break;
        case FieldKind::DateEdit:
          values.SetDate(f, OleFromCivil({static_cast<int>(1950 + random() % 70), 1 + static_cast<unsigned>(random() % 12),
                                          1 + static_cast<unsigned>(random() % 28)}));
          break;
      }
    }
    if (!form.radios.empty()) values.SelectRadio(random() % form.radios.size());
    ContributorList people;
    for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n) {
      people.push_back({std::string(kNames[random() % std::size(kNames)]), "Ann", random() % 2 ? "Q" : ""});
    }
    if (form.hasAuthors) values.SetAuthors(people);
    if (form.hasEditors) values.SetEditors({people.front()});
    writer.Add(document, values, "item" + std::to_string(i));
  }
  writer.Finish(document);
  return document;
}

const std::string& Document() {
  static const std::string document = GeneratedDocument(kItems);
  return document;
}

struct Format {
  const char* name;
  void (*write)(std::string& out, const Citation& c);
};
constexpr Format kFormats[] = {
    {"rtf", [](std::string& out, const Citation& c) { AppendRtfParagraph(out, c); }},
    {"text", [](std::string& out, const Citation& c) { out.append(c.text).append("\n"); }},
};

void Entries(benchmark::State& state) {
  const bool apa = state.range(0) == 1;
  const Format& format = kFormats[state.range(1)];
  const std::string& document = Document();
  std::size_t bytes = 0;
  std::string out;
  for (auto _ : state) {
    ReadCslJson(
        document, OleFromCivil({2024, 3, 15}),
        [&](CslImportedItem& item) {
          const FormDescription& form = item.values.Form();
          format.write(out, apa ? form.apa(item.values) : form.mla(item.values));
          if (out.size() > (1u << 16)) {  // handed on as a writer to standard output would
            bytes += out.size();
            out.clear();
          }
        },
        [](std::size_t, const std::string&) {});
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kItems);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
  state.SetLabel(std::string(apa ? "apa " : "mla ") + format.name + ", " + std::to_string(document.size() >> 20) + " MiB");
}
BENCHMARK(Entries)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Every item read once and given all four of its entries: MLA and APA, each written as RTF and as
// text. The counter entries_per_second counts four entries an item (items_per_second one).
void FourEntriesAnItem(benchmark::State& state) {
  const std::string& document = Document();
  std::string rtf, text;
  for (auto _ : state) {
    ReadCslJson(
        document, OleFromCivil({2024, 3, 15}),
        [&](CslImportedItem& item) {
          const FormDescription& form = item.values.Form();
          for (const Citation& entry : {form.mla(item.values), form.apa(item.values)}) {
            AppendRtfParagraph(rtf, entry);
            text.append(entry.text).append("\n");
          }
          if (rtf.size() > (1u << 16)) {  // handed on as a writer to standard output would
            rtf.clear();
            text.clear();
          }
        },
        [](std::size_t, const std::string&) {});
    benchmark::DoNotOptimize(rtf.data());
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(state.iterations() * kItems);
  state.counters["entries_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kItems * 4), benchmark::Counter::kIsRate);
}
BENCHMARK(FourEntriesAnItem)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The parse and the mapping alone, without the rules and the writer.
void ReadOnly(benchmark::State& state) {
  const std::string& document = Document();
  for (auto _ : state) {
    std::size_t n = 0;
    ReadCslJson(document, OleFromCivil({2024, 3, 15}), [&](CslImportedItem&) { ++n; }, [](std::size_t, const std::string&) {});
    benchmark::DoNotOptimize(n);
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(ReadOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// rapidjson's reader over the document once, building nothing: the least that a read of the
// document costs.
void LexOnce(benchmark::State& state) {
  const std::string& document = Document();
  for (auto _ : state) {
    rapidjson::Reader reader;
    rapidjson::StringStream stream(document.c_str());
    rapidjson::BaseReaderHandler<> nothing;
    benchmark::DoNotOptimize(reader.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag>(stream, nothing));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(LexOnce)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A saved-data text of N authors read into a source's values and written again: time linear in N
// (reading once searched the list once per key, and saving replaced each key by a search).
void SavedDataOfManyAuthors(benchmark::State& state) {
  std::string text = "Article Title:=a tale\r\nJournal:=harbor review\r\n";
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    const std::string n = std::to_string(i);
    text += "*Author" + n + "Last=Carver" + n + "\r\n*Author" + n + "First=Ellen\r\n*Author" + n + "MI=M\r\n";
  }
  const FormDescription& journal = *FindForm("Journal");
  for (auto _ : state) {
    SourceValues values(journal, 0);
    ReadSavedData(text, values, 0);
    benchmark::DoNotOptimize(SavedDataText(values));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(SavedDataOfManyAuthors)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
}  // namespace citara

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
    std::ofstream(argv[2], std::ios::binary) << citara::Document();
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
