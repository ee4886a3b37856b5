// A short seeded run of the random form actions (fuzz/form_actions.h) on every kind of form; the
// form-actions fuzz target runs the same driver for as long as it is given.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "form_actions.h"

namespace citara {
namespace {

TEST(FormActions, SeededRunsOnEveryFormBreakNoRule) {
  constexpr int kRunsPerForm = 6;
  constexpr std::size_t kActionsPerRun = 1500;
  std::mt19937 random(21);
  std::uniform_int_distribution<int> byte(0, 255);
  std::size_t total = 0;
  for (int form = 0; form < 10; ++form) {
    for (int run = 0; run < kRunsPerForm; ++run) {
      std::vector<std::uint8_t> input(1 + 2 * kActionsPerRun);
      input[0] = static_cast<std::uint8_t>(form);
      for (std::size_t i = 1; i < input.size(); ++i) input[i] = static_cast<std::uint8_t>(byte(random));
      const fuzz::FormActionsResult result = fuzz::RunFormActions(input.data(), input.size());
      total += result.actions;
      ASSERT_FALSE(result.finding.has_value()) << *result.finding;
    }
  }
  EXPECT_EQ(total, 10u * kRunsPerForm * kActionsPerRun);
}

}  // namespace
}  // namespace citara
