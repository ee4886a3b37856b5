// Fuzzes a source form with random user and host actions (fuzz/form_actions.h): any broken rule,
// crash or sanitizer report is a finding. At exit it prints how many actions it performed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "form_actions.h"

namespace {

unsigned long long actions = 0;

void PrintActions() { std::fprintf(stderr, "form actions performed: %llu\n", actions); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool printing = std::atexit(PrintActions) == 0;
  (void)printing;
  const citara::fuzz::FormActionsResult result = citara::fuzz::RunFormActions(data, size);
  actions += result.actions;
  if (result.finding) {
    std::fprintf(stderr, "form-actions finding: %s\n", result.finding->c_str());
    std::abort();
  }
  return 0;
}
