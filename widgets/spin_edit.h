// The number fields of the edit family. TFlatNumericEdit takes only the digits 0 to 9 from the
// keyboard and the clipboard. TFlatSpinEdit holds a whole number with step 1: its text is the
// number, its up and down buttons (and the Up and Down keys) step it, and setting a text that is
// a number sets the value (another text, such as an empty one, leaves the value as it was).
//
// With limits set, the value always lies within them: a text outside them (typed or set) gives
// the nearest limit as the value, a step never leaves them, and leaving the field shows the
// value when its text names a number outside them. A step never overflows, limits or none.
#pragma once

#include <string>

#include "widgets/flat_edit.h"

namespace citara {

class TFlatNumericEdit : public TFlatEdit {
 public:
  explicit TFlatNumericEdit(std::string name) : TFlatEdit(std::move(name)) {}

 protected:
  void FilterChar(char32_t& ch) override;
};

class TFlatSpinEdit : public TFlatNumericEdit {
 public:
  explicit TFlatSpinEdit(std::string name) : TFlatNumericEdit(std::move(name)) {}

  long long Value() const { return value_; }
  // Sets the value (kept within the limits when there are any) and shows it as the text.
  void SetValue(long long value);
  // Limits of the value; both 0 (the default) means no limits.
  void SetLimits(long long minValue, long long maxValue);
  long long MinValue() const { return minValue_; }
  long long MaxValue() const { return maxValue_; }

  // The spin buttons: one step up or down (none past the limits or the range of long long).
  void StepUp();
  void StepDown();

  bool DoExit() override;

 protected:
  void FilterKeyDown(Key& key, ShiftState shift) override;
  void TextChanged() override;

 private:
  long long Limited(long long value) const;

  long long value_ = 0;
  long long minValue_ = 0;
  long long maxValue_ = 0;
};

}  // namespace citara
