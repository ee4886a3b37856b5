// JSON values read by rapidjson's SAX reader into a flat tree: the nodes of a value in one
// vector (each container followed by its members), every text in one buffer. Reading many values
// one after the other into the same tree reuses its memory, so a value costs no allocation once
// the tree has grown to the largest of them; nothing of a DOM (a heap node and a string per value)
// is built.
//
//   JsonTree tree;
//   ReadJsonValues(text, tree, [](JsonValue item, std::size_t) { ... item.Find("title") ... }, error);
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace citara {

class JsonTree;

// Two keys alike, compared inline by length and first byte before their bytes (the members of an
// object are looked up by key many times an item).
inline bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || (a[0] == b[0] && std::memcmp(a.data(), b.data(), a.size()) == 0));
}

// One value of a JsonTree, valid while the tree holds it.
class JsonValue {
 public:
  enum class Kind : std::uint8_t { Null, Boolean, Integer, Unsigned, Float, String, Array, Object };

  JsonValue(const JsonTree& tree, std::uint32_t node) : tree_(&tree), node_(node) {}

  Kind GetKind() const;
  bool IsString() const { return GetKind() == Kind::String; }
  bool IsObject() const { return GetKind() == Kind::Object; }
  bool IsArray() const { return GetKind() == Kind::Array; }
  bool IsInteger() const { return GetKind() == Kind::Integer || GetKind() == Kind::Unsigned; }
  bool IsNumber() const { return IsInteger() || GetKind() == Kind::Float; }

  // The text of a string (empty for any other value).
  std::string_view Text() const;
  // An integer's value, when it fits a long long.
  std::optional<long long> Integer() const;
  double Number() const;
  // A number as JSON writes it: 12, 18446744073709551615, 1.5.
  std::string NumberText() const;

  // The members of an object or the elements of an array. An object's key given more than once
  // counts once, with the last value given (as a DOM's assignment keeps it).
  std::size_t Size() const;
  template <class F>
  void ForEach(F&& f) const;  // f(std::string_view key, JsonValue value); key empty in arrays
  std::vector<JsonValue> Elements() const;
  std::optional<JsonValue> Find(std::string_view key) const;

 private:
  friend class JsonTree;
  const JsonTree* tree_;
  std::uint32_t node_;
};

class JsonTree {
 public:
  struct Node {
    JsonValue::Kind kind;
    bool shadowed = false;  // an object member whose key comes again later
    std::uint32_t keyOffset = 0, keyLength = 0;
    std::uint32_t textOffset = 0, textLength = 0;
    std::uint32_t end = 0;   // the node after this value's members
    std::uint32_t size = 0;  // members counted once
    union {
      std::int64_t integer;
      std::uint64_t unsignedInteger;
      double number;
    };
  };

  JsonValue Root() const { return JsonValue(*this, 0); }
  const Node& At(std::uint32_t node) const { return nodes_[node]; }
  std::string_view TextAt(std::uint32_t offset, std::uint32_t length) const { return {texts_.data() + offset, length}; }

 private:
  friend class JsonTreeBuilder;
  std::vector<Node> nodes_;
  std::string texts_;
};

// Where a JSON text is not JSON: the byte offset (from 0) of the fault, and why.
struct JsonSyntaxError {
  std::size_t offset;
  std::string message;  // rapidjson's: "Invalid value.", "Missing a name for object member."
  bool numberTooLarge = false;
};

// Reads `text` as JSON in one pass. When it is an array, each element in turn is read into `tree`
// and handed to `onValue` with its position (from 1), and the tree is reused for the next;
// otherwise the whole value is, once, at position 0. Stops at the first syntax error, returning it
// through `error`: the values before it have been handed on. Text that is not UTF-8, or holds a
// NUL, is refused before any value is read.
//
// Arrays and objects may nest kMaxJsonDepth deep (the reader descends by recursion; CSL-JSON
// needs six levels).
constexpr std::uint32_t kMaxJsonDepth = 128;
void ReadJsonValues(const std::string& text, JsonTree& tree, const std::function<void(JsonValue, std::size_t position)>& onValue,
                    std::optional<JsonSyntaxError>& error);

template <class F>
void JsonValue::ForEach(F&& f) const {
  const JsonTree::Node& self = tree_->At(node_);
  for (std::uint32_t child = node_ + 1; child < self.end; child = tree_->At(child).end) {
    const JsonTree::Node& n = tree_->At(child);
    if (n.shadowed) continue;
    f(tree_->TextAt(n.keyOffset, n.keyLength), JsonValue(*tree_, child));
  }
}

}  // namespace citara
