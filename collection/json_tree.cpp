#include "collection/json_tree.h"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <unordered_set>

#include "collection/rapidjson.h"
#include "widgets/unicode.h"

namespace citara {

using Kind = JsonValue::Kind;

JsonValue::Kind JsonValue::GetKind() const { return tree_->At(node_).kind; }

std::string_view JsonValue::Text() const {
  const JsonTree::Node& n = tree_->At(node_);
  return n.kind == Kind::String ? tree_->TextAt(n.textOffset, n.textLength) : std::string_view();
}

std::optional<long long> JsonValue::Integer() const {
  const JsonTree::Node& n = tree_->At(node_);
  if (n.kind == Kind::Integer) return n.integer;
  if (n.kind == Kind::Unsigned && n.unsignedInteger <= static_cast<std::uint64_t>(std::numeric_limits<long long>::max())) {
    return static_cast<long long>(n.unsignedInteger);
  }
  return std::nullopt;
}

double JsonValue::Number() const {
  const JsonTree::Node& n = tree_->At(node_);
  switch (n.kind) {
    case Kind::Integer: return static_cast<double>(n.integer);
    case Kind::Unsigned: return static_cast<double>(n.unsignedInteger);
    case Kind::Float: return n.number;
    default: return 0;
  }
}

std::string JsonValue::NumberText() const {
  const JsonTree::Node& n = tree_->At(node_);
  switch (n.kind) {
    case Kind::Integer: return std::to_string(n.integer);
    case Kind::Unsigned: return std::to_string(n.unsignedInteger);
    case Kind::Float: {
      rapidjson::StringBuffer out;
      rapidjson::Writer<rapidjson::StringBuffer> writer(out);
      writer.Double(n.number);
      return std::string(out.GetString(), out.GetSize());
    }
    default: return {};
  }
}

std::size_t JsonValue::Size() const { return tree_->At(node_).size; }

std::vector<JsonValue> JsonValue::Elements() const {
  std::vector<JsonValue> elements;
  elements.reserve(Size());
  ForEach([&](std::string_view, JsonValue v) { elements.push_back(v); });
  return elements;
}

std::optional<JsonValue> JsonValue::Find(std::string_view key) const {
  const JsonTree::Node& self = tree_->At(node_);
  if (self.kind != Kind::Object) return std::nullopt;
  for (std::uint32_t child = node_ + 1; child < self.end; child = tree_->At(child).end) {
    const JsonTree::Node& n = tree_->At(child);
    if (!n.shadowed && SameKey(tree_->TextAt(n.keyOffset, n.keyLength), key)) return JsonValue(*tree_, child);
  }
  return std::nullopt;
}

// The handler rapidjson's reader calls: builds each value to hand on into the tree.
class JsonTreeBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, JsonTreeBuilder> {
 public:
  // `surrogateEscapes`: the text may hold an escape of a low surrogate ("\udc00"), so its strings
  // are checked for one without its pair.
  JsonTreeBuilder(JsonTree& tree, const std::function<void(JsonValue, std::size_t)>& onValue, bool surrogateEscapes)
      : tree_(tree), onValue_(onValue), surrogateEscapes_(surrogateEscapes) {
    tree_.nodes_.clear();
    tree_.texts_.clear();
  }

  // True when the reading stopped at a container nested more than kMaxJsonDepth deep.
  bool TooDeep() const { return tooDeep_; }
  // True when a string held a UTF-16 surrogate written as an escape without its pair ("\udc00"),
  // which the reader lets through as bytes that are not UTF-8.
  bool LoneSurrogate() const { return loneSurrogate_; }

  bool Null() { return Scalar(Kind::Null); }
  bool Bool(bool) { return Scalar(Kind::Boolean); }
  bool Int(int v) { return Signed(v); }
  bool Int64(std::int64_t v) { return Signed(v); }
  bool Uint(unsigned v) { return Unsigned(v); }
  bool Uint64(std::uint64_t v) { return Unsigned(v); }
  bool Double(double v) {
    if (Building()) Add(Kind::Float).number = v;
    return Ended();
  }
  bool String(const char* text, rapidjson::SizeType length, bool) {
    if (!CheckSurrogates(text, length)) return false;
    if (Building()) {
      JsonTree::Node& n = Add(Kind::String);
      n.textOffset = Append(text, length);
      n.textLength = length;
    }
    return Ended();
  }
  bool StartObject() {
    if (depth_ >= kMaxJsonDepth) return tooDeep_ = true, false;
    return Open(Kind::Object);
  }
  bool StartArray() {
    if (depth_ >= kMaxJsonDepth) return tooDeep_ = true, false;
    if (depth_ == 0 && !started_) {
      started_ = topArray_ = true;
      ++depth_;
      return true;
    }
    return Open(Kind::Array);
  }
  bool Key(const char* text, rapidjson::SizeType length, bool) {
    if (!CheckSurrogates(text, length)) return false;
    if (Building()) {
      keyOffset_ = Append(text, length);
      keyLength_ = length;
    }
    return true;
  }
  bool EndObject(rapidjson::SizeType) { return Close(); }
  bool EndArray(rapidjson::SizeType) {
    if (topArray_ && depth_ == 1) {
      --depth_;
      return true;
    }
    return Close();
  }

 private:
  // The depth at which a value to hand on starts: inside the top-level array, or the top itself.
  std::uint32_t HandedDepth() const { return topArray_ ? 1 : 0; }
  bool Building() const { return depth_ >= HandedDepth(); }

  bool Signed(std::int64_t v) {
    if (Building()) Add(Kind::Integer).integer = v;
    return Ended();
  }
  bool Unsigned(std::uint64_t v) {
    if (Building()) Add(Kind::Unsigned).unsignedInteger = v;
    return Ended();
  }

  // UTF-8 of a code point from U+D800 to U+DFFF starts with 0xED and a byte of 0xA0 or more; the
  // reader checks the bytes of the text itself, so only an escape can have made one.
  bool CheckSurrogates(const char* text, rapidjson::SizeType length) {
    if (!surrogateEscapes_) return true;
    for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, '\xED', text + length - p)));) {
      if (++p < text + length && static_cast<unsigned char>(*p) >= 0xA0) {
        loneSurrogate_ = true;
        return false;
      }
    }
    return true;
  }

  JsonTree::Node& Add(Kind kind) {
    started_ = true;
    if (!open_.empty()) {
      JsonTree::Node& parent = tree_.nodes_[open_.back()];
      ++parent.size;
    }
    JsonTree::Node& n = tree_.nodes_.emplace_back();
    n.kind = kind;
    n.integer = 0;
    if (!open_.empty() && tree_.nodes_[open_.back()].kind == Kind::Object) {
      n.keyOffset = keyOffset_;
      n.keyLength = keyLength_;
    }
    n.end = static_cast<std::uint32_t>(tree_.nodes_.size());
    return n;
  }

  std::uint32_t Append(const char* text, std::size_t length) {
    if (tree_.texts_.size() + length > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("a JSON value of more than 4 GiB of text");
    }
    const auto offset = static_cast<std::uint32_t>(tree_.texts_.size());
    tree_.texts_.append(text, length);
    return offset;
  }

  bool Scalar(Kind kind) {
    if (Building()) Add(kind);
    return Ended();
  }

  bool Open(Kind kind) {
    if (Building()) {
      Add(kind);
      open_.push_back(static_cast<std::uint32_t>(tree_.nodes_.size() - 1));
    }
    started_ = true;
    ++depth_;
    return true;
  }

  bool Close() {
    --depth_;
    if (Building()) {
      const std::uint32_t node = open_.back();
      open_.pop_back();
      tree_.nodes_[node].end = static_cast<std::uint32_t>(tree_.nodes_.size());
      if (tree_.nodes_[node].kind == Kind::Object) MarkShadowed(node);
    }
    return Ended();
  }

  // A value ended: when it is one to hand on, the tree holds it whole.
  bool Ended() {
    if (depth_ != HandedDepth()) return true;
    onValue_(tree_.Root(), topArray_ ? ++handed_ : 0);
    tree_.nodes_.clear();
    tree_.texts_.clear();
    return true;
  }

  // Marks the members of an object whose key a later member repeats, so that each key counts once.
  void MarkShadowed(std::uint32_t object) {
    JsonTree::Node& self = tree_.nodes_[object];
    if (self.size < 2) return;
    members_.clear();
    for (std::uint32_t child = object + 1; child < self.end; child = tree_.nodes_[child].end) members_.push_back(child);
    const auto keyOf = [&](std::uint32_t child) {
      const JsonTree::Node& n = tree_.nodes_[child];
      return tree_.TextAt(n.keyOffset, n.keyLength);
    };
    std::uint32_t shadowed = 0;
    if (members_.size() <= 32) {
      // Keys compared by a tag of their length and end bytes first: most pairs differ there.
      std::uint32_t tags[32];
      for (std::size_t i = 0; i < members_.size(); ++i) {
        const std::string_view key = keyOf(members_[i]);
        tags[i] = key.empty() ? 0 : static_cast<std::uint32_t>(key.size()) << 16 |
                                        static_cast<std::uint32_t>(static_cast<unsigned char>(key.front())) << 8 |
                                        static_cast<unsigned char>(key.back());
      }
      for (std::size_t i = 0; i + 1 < members_.size(); ++i) {
        for (std::size_t j = i + 1; j < members_.size(); ++j) {
          if (tags[i] == tags[j] && SameKey(keyOf(members_[i]), keyOf(members_[j]))) {
            tree_.nodes_[members_[i]].shadowed = true;
            ++shadowed;
            break;
          }
        }
      }
    } else {
      std::unordered_set<std::string_view> later;
      for (std::size_t i = members_.size(); i-- > 0;) {
        if (!later.insert(keyOf(members_[i])).second) {
          tree_.nodes_[members_[i]].shadowed = true;
          ++shadowed;
        }
      }
    }
    self.size -= shadowed;
  }

  JsonTree& tree_;
  const std::function<void(JsonValue, std::size_t)>& onValue_;
  bool surrogateEscapes_;
  std::size_t handed_ = 0;  // the elements of a top-level array handed on
  bool started_ = false, topArray_ = false, loneSurrogate_ = false, tooDeep_ = false;
  std::uint32_t depth_ = 0;
  std::vector<std::uint32_t> open_;  // the containers being read, innermost last
  std::vector<std::uint32_t> members_;
  std::uint32_t keyOffset_ = 0, keyLength_ = 0;
};

namespace {

// True when `text` holds "\\u" and a hexadecimal number from DC00 to DFFF: an escaped low surrogate,
// the only way to a string of UTF-16 surrogates past the reader, which a scan of the whole text
// once rules out more cheaply than a look at each string.
bool HasLowSurrogateEscape(std::string_view text) {
  for (std::size_t at = text.find("\\u"); at != std::string_view::npos; at = text.find("\\u", at + 1)) {
    if (at + 3 < text.size() && (text[at + 2] | 0x20) == 'd' && (text[at + 3] | 0x20) >= 'c' && (text[at + 3] | 0x20) <= 'f') {
      return true;
    }
  }
  return false;
}

// The reader checks the syntax; the text's UTF-8 is checked once beforehand, faster than the
// reader's check of each string (which would also keep it from its vector scan of strings). The
// reader descends into containers by recursion, which the builder bounds (kMaxJsonDepth).
constexpr unsigned kReadFlags = rapidjson::kParseNoFlags;

}  // namespace

void ReadJsonValues(const std::string& text, JsonTree& tree, const std::function<void(JsonValue, std::size_t)>& onValue,
                    std::optional<JsonSyntaxError>& error) {
  error.reset();
  // The reader's input ends at the NUL after the text (std::string keeps one); no JSON text
  // holds one of its own.
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos) {
    error = JsonSyntaxError{nul, "a NUL character, which no JSON text holds"};
    return;
  }
  if (const std::size_t bad = FirstNonUtf8(text); bad != std::string::npos) {
    error = JsonSyntaxError{bad, rapidjson::GetParseError_En(rapidjson::kParseErrorStringInvalidEncoding)};
    return;
  }
  JsonTreeBuilder builder(tree, onValue, HasLowSurrogateEscape(text));
  rapidjson::StringStream stream(text.c_str());
  rapidjson::Reader reader;
  const rapidjson::ParseResult result = reader.Parse<kReadFlags>(stream, builder);
  if (builder.LoneSurrogate()) {
    error = JsonSyntaxError{result.Offset(), rapidjson::GetParseError_En(rapidjson::kParseErrorStringUnicodeSurrogateInvalid)};
  } else if (builder.TooDeep()) {
    error = JsonSyntaxError{result.Offset(), "Arrays and objects nested more than " + std::to_string(kMaxJsonDepth) + " deep."};
  } else if (result.IsError()) {
    error = JsonSyntaxError{result.Offset(), rapidjson::GetParseError_En(result.Code()),
                            result.Code() == rapidjson::kParseErrorNumberTooBig};
  }
}

}  // namespace citara
