#include "widgets/flat_edit.h"

#include <algorithm>

#include "widgets/platform.h"
#include "widgets/unicode.h"

namespace citara {
namespace {

// Byte offset of the code point at index `chars` (the end when beyond it).
std::size_t ByteOffset(std::string_view text, int chars) {
  std::size_t pos = 0;
  for (int i = 0; i < chars && pos < text.size(); ++i) pos += Utf8Length(text, pos);
  return pos;
}

}  // namespace

TFlatEdit::TFlatEdit(std::string name) : Control(std::move(name)) {
  SetColor(clWindow);
  SetTabStop(true);
}

int TFlatEdit::Length() const { return static_cast<int>(CodePointCount(Text())); }

void TFlatEdit::Select(int start, int length) {
  const int size = Length();
  selStart_ = std::clamp(start, 0, size);
  selLength_ = std::clamp(length, 0, size - selStart_);
}

void TFlatEdit::SelectAll() { Select(0, Length()); }

std::string TFlatEdit::SelText() const {
  const std::size_t from = ByteOffset(Text(), selStart_);
  const std::size_t to = ByteOffset(Text(), selStart_ + selLength_);
  return Text().substr(from, to - from);
}

void TFlatEdit::CutToClipboard() {
  if (selLength_ == 0) return;
  CopyToClipboard();
  ReplaceSelection({});
}

void TFlatEdit::CopyToClipboard() {
  if (selLength_ > 0) CurrentPlatform().SetClipboardText(SelText());
}

void TFlatEdit::PasteFromClipboard() {
  const std::string clip = CurrentPlatform().ClipboardText();
  std::string accepted;
  for (std::size_t pos = 0; pos < clip.size();) {
    char32_t ch = DecodeUtf8(clip, pos);
    if (ch == U'\r' || ch == U'\n') break;  // a single-line field takes the first line
    FilterChar(ch);
    if (ch != 0) AppendUtf8(accepted, ch);
  }
  ReplaceSelection(accepted);
}

void TFlatEdit::ReplaceSelection(std::string_view text) {
  std::string_view insert = text;
  if (maxLength_ > 0) {
    const int room = std::max(0, maxLength_ - (Length() - selLength_));
    insert = insert.substr(0, ByteOffset(insert, room));
  }
  const std::size_t from = ByteOffset(Text(), selStart_);
  const std::size_t to = ByteOffset(Text(), selStart_ + selLength_);
  std::string changed = Text();
  changed.replace(from, to - from, insert);
  caretAfterEdit_ = selStart_ + static_cast<int>(CodePointCount(insert));
  SetText(std::move(changed));
  caretAfterEdit_ = -1;
}

void TFlatEdit::TextChanged() {
  Select(caretAfterEdit_ >= 0 ? caretAfterEdit_ : 0, 0);
  if (OnChange) OnChange(*this);
}

void TFlatEdit::EraseBefore() {
  if (selLength_ == 0) {
    if (selStart_ == 0) return;
    Select(selStart_ - 1, 1);
  }
  ReplaceSelection({});
}

void TFlatEdit::EraseAfter() {
  if (selLength_ == 0) {
    if (selStart_ >= Length()) return;
    Select(selStart_, 1);
  }
  ReplaceSelection({});
}

void TFlatEdit::FilterChar(char32_t& ch) {
  if (upperCaseOnly_) ch = CurrentPlatform().UpperCase(ch);
}

void TFlatEdit::KeyDown(Key& key, ShiftState shift) {
  Control::KeyDown(key, shift);
  if (key != 0) FilterKeyDown(key, shift);
  const int collapsedLeft = selStart_, collapsedRight = selStart_ + selLength_;
  switch (key) {
    case VK_LEFT: Select(selLength_ > 0 ? collapsedLeft : selStart_ - 1, 0); break;
    case VK_RIGHT: Select(selLength_ > 0 ? collapsedRight : selStart_ + 1, 0); break;
    case VK_HOME: Select(0, 0); break;
    case VK_END: Select(Length(), 0); break;
    case VK_DELETE: EraseAfter(); break;
    default: break;
  }
}

void TFlatEdit::KeyPress(char32_t& ch) {
  Control::KeyPress(ch);
  if (ch != 0) FilterChar(ch);
  if (ch == U'\b') {
    EraseBefore();
  } else if (ch >= 0x20 && ch != 0x7F) {
    std::string typed;
    AppendUtf8(typed, ch);
    ReplaceSelection(typed);
  }
}

}  // namespace citara
