#include "widgets/spin_edit.h"

#include <algorithm>
#include <charconv>

namespace citara {

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

void TFlatSpinEdit::FilterKeyDown(Key& key, ShiftState shift) {
  TFlatNumericEdit::FilterKeyDown(key, shift);
  if (key == VK_UP) StepUp();
  if (key == VK_DOWN) StepDown();
}

void TFlatSpinEdit::TextChanged() {
  const std::string& text = Text();
  long long parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (!text.empty() && error == std::errc{} && end == text.data() + text.size()) value_ = parsed;
  TFlatNumericEdit::TextChanged();
}

}  // namespace citara
