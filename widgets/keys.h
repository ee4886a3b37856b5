// Keyboard vocabulary of the component model: Windows virtual-key codes and the shift state.
//
// Key events carry a `Key` by reference: a handler that sets it to 0 swallows the key, so the
// control's own handling of it does not run. Character events carry one Unicode code point the
// same way. The codes are the platform's own, so a Win32 port passes them through unchanged.
#pragma once

#include <cstdint>

namespace citara {

using Key = std::uint16_t;

inline constexpr Key VK_BACK = 8;
inline constexpr Key VK_TAB = 9;
inline constexpr Key VK_RETURN = 13;
inline constexpr Key VK_ESCAPE = 27;
inline constexpr Key VK_SPACE = 32;
inline constexpr Key VK_PRIOR = 33;  // Page Up
inline constexpr Key VK_NEXT = 34;   // Page Down
inline constexpr Key VK_END = 35;
inline constexpr Key VK_HOME = 36;
inline constexpr Key VK_LEFT = 37;
inline constexpr Key VK_UP = 38;
inline constexpr Key VK_RIGHT = 39;
inline constexpr Key VK_DOWN = 40;
inline constexpr Key VK_DELETE = 46;
inline constexpr Key VK_0 = 48;  // '0'..'9' are 48..57, 'A'..'Z' are 65..90
inline constexpr Key VK_NUMPAD0 = 96;  // the keypad digits are 96..105
// The key code of a character that no key of the keyboard types directly (an injected character).
inline constexpr Key VK_PACKET = 0xE7;

// Which of Shift, Alt and Ctrl are held, as bits.
enum class ShiftState : unsigned { None = 0, Shift = 1, Alt = 2, Ctrl = 4 };

constexpr ShiftState operator|(ShiftState a, ShiftState b) {
  return static_cast<ShiftState>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// True when every bit of `bits` is held in `state`: Has(shift, ShiftState::Ctrl).
constexpr bool Has(ShiftState state, ShiftState bits) {
  return (static_cast<unsigned>(state) & static_cast<unsigned>(bits)) == static_cast<unsigned>(bits) &&
         bits != ShiftState::None;
}

// The digit 0..9 a key types, for the main keyboard's and the keypad's digit keys; -1 otherwise.
constexpr int DigitOfKey(Key key) {
  if (key >= VK_0 && key <= VK_0 + 9) return key - VK_0;
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return key - VK_NUMPAD0;
  return -1;
}

}  // namespace citara
