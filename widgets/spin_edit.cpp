#include "widgets/spin_edit.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace citara {
namespace {

// The whole number a text names, when it names one that a long long holds.
std::optional<long long> NumberIn(const std::string& text) {
  long long parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return parsed;
}

}  // namespace

void TFlatNumericEdit::FilterChar(char32_t& ch) {
  if (ch != U'\b' && (ch < U'0' || ch > U'9')) ch = 0;
}

void TFlatSpinEdit::SetValue(long long value) {
  value_ = Limited(value);
  SetText(std::to_string(value_));
}

void TFlatSpinEdit::SetLimits(long long minValue, long long maxValue) {
  minValue_ = minValue;
  maxValue_ = std::max(minValue, maxValue);
  value_ = Limited(value_);
}

long long TFlatSpinEdit::Limited(long long value) const {
  if (minValue_ == 0 && maxValue_ == 0) return value;
  return std::clamp(value, minValue_, maxValue_);
}

void TFlatSpinEdit::StepUp() {
  if (value_ < std::numeric_limits<long long>::max()) SetValue(value_ + 1);
  else SetValue(value_);
}

void TFlatSpinEdit::StepDown() {
  if (value_ > std::numeric_limits<long long>::min()) SetValue(value_ - 1);
  else SetValue(value_);
}

bool TFlatSpinEdit::DoExit() {
  if (const auto number = NumberIn(Text()); number && Limited(*number) != *number) SetValue(value_);
  return TFlatNumericEdit::DoExit();
}

void TFlatSpinEdit::FilterKeyDown(Key& key, ShiftState shift) {
  TFlatNumericEdit::FilterKeyDown(key, shift);
  if (key == VK_UP) StepUp();
  if (key == VK_DOWN) StepDown();
}

void TFlatSpinEdit::TextChanged() {
  if (const auto number = NumberIn(Text())) value_ = Limited(*number);
  TFlatNumericEdit::TextChanged();
}

}  // namespace citara
