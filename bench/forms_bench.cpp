// Speed of the ten source forms, each filled once as a writer would fill it (every field, three
// authors, one editor where the form has an editor list): one complete entry per iteration (the
// form's rule, then the RTF writer), the same entry asked for again on the unchanged form, and one
// read and one write of the saved-data text; and the entry of each style (the classic ones and
// the current editions) from the form's values.
//
//   build/native/bench/forms_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>

#include "core/source_form.h"
#include "core/source_values.h"
#include "print/print_forms.h"
#include "web/web_forms.h"
#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"
#include "widgets/tool_button.h"

namespace citara {
namespace {

// The ten forms in one order: Book .. Other, then WebArticle .. Newsgroup.
const FormDescription& FormAt(std::size_t i) {
  const auto print = PrintForms();
  return i < print.size() ? *print[i] : *WebForms()[i - print.size()];
}
constexpr int kFormCount = 10;

// What a writer types into a field of that name; other text fields get a plain phrase.
std::string_view TextFor(std::string_view field) {
  static const struct {
    std::string_view field, text;
  } texts[] = {
      {"TitleEdit", "the biography of benjamin franklin: a study of his life"},
      {"SeriesEdit", "studies in american history"},
      {"PlaceEdit", "New York"},
      {"CompanyEdit", "Harbor Books"},
      {"YearEdit", "1998"},
      {"VolumeEdit", "2"},
      {"EditionEdit", "3"},
      {"PagesEdit", "12-15"},
      {"IssueEdit", "4"},
      {"URLEdit", "http://www.example.com/history/franklin.htm"},
      {"MessageNumberEdit", "42"},
  };
  for (const auto& t : texts) {
    if (t.field == field) return t.text;
  }
  return "the pennsylvania gazette of philadelphia";
}

void TypeContributors(TAuthorForm* sub, std::initializer_list<Contributor> people) {
  if (!sub) return;
  for (const Contributor& person : people) {
    sub->LastNameEdit().TypeText(person.last);
    sub->FirstNameEdit().TypeText(person.first);
    sub->MIEdit().TypeText(person.middleInitial);
    sub->AddButton().Click();
  }
}

// A form of the given kind with every field filled, three authors and one editor.
std::unique_ptr<TSourceForm> FilledForm(const FormDescription& description) {
  auto form = std::make_unique<TSourceForm>(description);
  for (const FieldDescription& f : description.fields) {
    if (f.kind == FieldKind::DateEdit) {
      form->DateField(f.name).SetDate(OleFromCivil({2001, 3, 4}));
    } else {
      form->Field(f.name).SetText(std::string(TextFor(f.name)));
    }
  }
  TypeContributors(form->AuthorForm(), {{"Smith", "John", "Q"}, {"Doe", "Jane", ""}, {"Roe", "Richard", "P"}});
  TypeContributors(form->EditorForm(), {{"Brown", "Ann", ""}});
  return form;
}

// Every benchmark runs with its own headless port, so that no dialog or clock of the machine
// takes part.
struct Filled {
  HeadlessPlatform port;
  ScopedPlatform use{port};
  std::unique_ptr<TSourceForm> form;
  explicit Filled(std::size_t i) : form(FilledForm(FormAt(i))) { port.SetNow(OleFromCivil({2001, 3, 4})); }
};

void Label(benchmark::State& state, std::string_view what) {
  state.SetLabel(std::string(FormAt(static_cast<std::size_t>(state.range(0))).className) + std::string(what));
}

// One complete entry made afresh: the form's rule, then the RTF writer.
void BM_Entry(benchmark::State& state) {
  Filled f(static_cast<std::size_t>(state.range(0)));
  const bool apa = state.range(1) != 0;
  Label(state, apa ? " APA" : " MLA");
  for (auto _ : state) {
    benchmark::DoNotOptimize(CitationToRtf(apa ? f.form->ApaCitation() : f.form->MlaCitation()));
  }
}
BENCHMARK(BM_Entry)->ArgsProduct({benchmark::CreateDenseRange(0, kFormCount - 1, 1), {0, 1}});

// The RTF entry asked for again with nothing changed, as a host refreshing a preview asks: the
// remembered entry after comparing what its rule read.
void BM_RepeatedRequest(benchmark::State& state) {
  Filled f(static_cast<std::size_t>(state.range(0)));
  const bool apa = state.range(1) != 0;
  Label(state, apa ? " APA" : " MLA");
  for (auto _ : state) benchmark::DoNotOptimize(apa ? f.form->GetAPACitaraInfo() : f.form->GetMLACitaraInfo());
}
BENCHMARK(BM_RepeatedRequest)->ArgsProduct({benchmark::CreateDenseRange(0, kFormCount - 1, 1), {0, 1}});

// One entry of each of the four styles made from the form's values (a SourceValues record, as a
// CSL-JSON document or a list gives them), then the RTF writer: the classic rules beside the
// current editions, on the same values.
void BM_StyleEntry(benchmark::State& state) {
  Filled f(static_cast<std::size_t>(state.range(0)));
  static constexpr struct {
    std::string_view name;
    EntryRule FormDescription::*rule;
  } kStyles[] = {{" mla", &FormDescription::mla}, {" apa", &FormDescription::apa},
                 {" mla9", &FormDescription::mla9}, {" apa7", &FormDescription::apa7}};
  const auto& style = kStyles[state.range(1)];
  Label(state, style.name);
  const SourceValues values = ReadValues(*f.form);
  const EntryRule rule = values.Form().*style.rule;
  for (auto _ : state) benchmark::DoNotOptimize(CitationToRtf(rule(values)));
}
BENCHMARK(BM_StyleEntry)->ArgsProduct({benchmark::CreateDenseRange(0, kFormCount - 1, 1), {0, 1, 2, 3}});

void BM_SavedDataRead(benchmark::State& state) {
  Filled f(static_cast<std::size_t>(state.range(0)));
  Label(state, "");
  for (auto _ : state) benchmark::DoNotOptimize(f.form->SavedData());
}
BENCHMARK(BM_SavedDataRead)->DenseRange(0, kFormCount - 1);

void BM_SavedDataWrite(benchmark::State& state) {
  Filled f(static_cast<std::size_t>(state.range(0)));
  Label(state, "");
  const std::string saved = f.form->SavedData();
  for (auto _ : state) {
    f.form->SetSavedData(saved);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SavedDataWrite)->DenseRange(0, kFormCount - 1);

}  // namespace
}  // namespace citara
