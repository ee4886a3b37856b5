// TFlatEdit: the flat single-line edit field, the base of the whole edit family (numeric, spin,
// link and date edits), which ClearPlusEdits and the required-field check treat alike.
//
// It holds a text, a selection (start and length, in characters: code points), an optional
// maximum length and an upper-case-only option, and offers clear and clipboard cut, copy and
// paste of the selection. Typing inserts at the caret, replacing the selection; Backspace and
// Delete remove a character or the selection; Left, Right, Home and End move the caret. Setting
// the text from code puts the caret at the start, as the platform's edit does.
//
// Kinds refine it through three hooks: FilterKeyDown (a key going down, before the edit acts on
// it), FilterChar (a typed or pasted character; 0 discards it) and TextChanged.
#pragma once

#include <string>
#include <string_view>

#include "widgets/control.h"

namespace citara {

class TFlatEdit : public Control {
 public:
  explicit TFlatEdit(std::string name);

  // --- Selection (characters) ---
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  // Selects `length` characters from `start`, both clamped to the text.
  void Select(int start, int length);
  void SetSelStart(int start) { Select(start, 0); }
  void SelectAll();
  std::string SelText() const;

  // At most this many characters can be typed or pasted; 0 means no limit. Text set from code is
  // not cut.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length) { maxLength_ = length; }
  // Typed and pasted letters are raised to upper case.
  bool UpperCaseOnly() const { return upperCaseOnly_; }
  void SetUpperCaseOnly(bool upper) { upperCaseOnly_ = upper; }

  // --- Operations ---
  // Empties the text.
  virtual void Clear() { SetText({}); }
  // Clipboard operations on the selection through the platform port. Copy and cut do nothing
  // without a selection; paste replaces the selection with the clipboard's first line.
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();

  // Fires after every change of the text, typed or set.
  NotifyEvent OnChange;

  void KeyDown(Key& key, ShiftState shift) override;
  void KeyPress(char32_t& ch) override;

 protected:
  virtual void FilterKeyDown(Key& key, ShiftState shift) { (void)key, (void)shift; }
  // The base raises the character when UpperCaseOnly is set.
  virtual void FilterChar(char32_t& ch);
  void TextChanged() override;
  // Replaces the selection with `text` (cut to the maximum length) and puts the caret after it.
  void ReplaceSelection(std::string_view text);

 private:
  int Length() const;
  void EraseBefore();
  void EraseAfter();

  int selStart_ = 0;
  int selLength_ = 0;
  int maxLength_ = 0;
  bool upperCaseOnly_ = false;
  int caretAfterEdit_ = -1;  // >= 0 while an edit of the user's changes the text
};

}  // namespace citara
