// Random user and host actions on a source form, for the form-actions fuzz target and its seeded
// run among the native tests.
//
// The bytes pick a form (the first one, modulo ten) and then, two at a time, an action and its
// argument: Tab and Shift+Tab, a click on any control of the form (fields, radio buttons, the
// sub-forms' fields and buttons), an Alt accelerator, a typed character, an editing key, Ctrl+X,
// C or V, a date field's drop-down and the keys and clicks of its calendar, the answer the next
// dialog gets, the clipboard's text, Reset, a SavedData read written back, a SavedData put of a
// line a host may store, and both entries. Keys go to the calendar while one is dropped down.
//
// After every few actions, and after every read, the form must hold: a read showed no message
// and left each sub-form on its first entry with a header that names it; the focus is on a usable
// control of the form; the saved data loads into a fresh form, which gives the same saved data
// (but for the date fields' display texts, whose format the text does not keep; and when a field
// with a default text was left blank, the fresh form's text may differ by that default); a fresh
// form of that text gives it again, and the same entries. Run returns the first broken rule (with the actions that led to it), if any.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace citara::fuzz {

struct FormActionsResult {
  std::size_t actions = 0;            // actions performed
  std::optional<std::string> finding;  // the broken rule, when one broke
};

FormActionsResult RunFormActions(const std::uint8_t* data, std::size_t size);

}  // namespace citara::fuzz
