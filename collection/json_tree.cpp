#include "collection/json_tree.h"

#include <limits>
#include <unordered_set>

#include <nlohmann/json.hpp>

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
    case Kind::Float: return nlohmann::json(n.number).dump();
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
  if (!IsObject()) return std::nullopt;
  std::optional<JsonValue> found;
  ForEach([&](std::string_view k, JsonValue v) {
    if (!found && k == key) found = v;
  });
  return found;
}

// The SAX handler nlohmann-json's parser calls: builds each value to hand on into the tree.
class JsonTreeBuilder {
 public:
  using Json = nlohmann::json;

  JsonTreeBuilder(JsonTree& tree, const std::function<void(JsonValue)>& onValue, std::optional<JsonSyntaxError>& error)
      : tree_(tree), onValue_(onValue), build_(static_cast<bool>(onValue)), error_(error) {
    tree_.nodes_.clear();
    tree_.texts_.clear();
  }

  bool TopArray() const { return topArray_; }

  bool null() { return Scalar(Kind::Null); }
  bool boolean(bool) { return Scalar(Kind::Boolean); }
  bool number_integer(Json::number_integer_t v) {
    if (Building()) Add(Kind::Integer).integer = v;
    return Ended();
  }
  bool number_unsigned(Json::number_unsigned_t v) {
    if (Building()) Add(Kind::Unsigned).unsignedInteger = v;
    return Ended();
  }
  bool number_float(Json::number_float_t v, const Json::string_t&) {
    if (Building()) Add(Kind::Float).number = v;
    return Ended();
  }
  bool string(Json::string_t& text) {
    if (Building()) {
      JsonTree::Node& n = Add(Kind::String);
      n.textOffset = Append(text);
      n.textLength = static_cast<std::uint32_t>(text.size());
    }
    return Ended();
  }
  bool binary(Json::binary_t&) { return Scalar(Kind::Null); }  // (JSON text has none)
  bool start_object(std::size_t) { return Open(Kind::Object); }
  bool start_array(std::size_t) {
    if (depth_ == 0 && !started_) {
      started_ = topArray_ = true;
      ++depth_;
      return true;
    }
    return Open(Kind::Array);
  }
  bool key(Json::string_t& text) {
    if (Building()) {
      keyOffset_ = Append(text);
      keyLength_ = static_cast<std::uint32_t>(text.size());
    }
    return true;
  }
  bool end_object() { return Close(); }
  bool end_array() {
    if (topArray_ && depth_ == 1) {
      --depth_;
      return true;
    }
    return Close();
  }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) {
    // 406: a number too large for a double, which the library reports as out of range.
    error_ = JsonSyntaxError{position, e.what(), e.id == 406};
    return false;
  }

 private:
  // The depth at which a value to hand on starts: inside the top-level array, or the top itself.
  std::uint32_t HandedDepth() const { return topArray_ ? 1 : 0; }
  bool Building() const { return build_ && depth_ >= HandedDepth(); }

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

  std::uint32_t Append(const std::string& text) {
    if (tree_.texts_.size() + text.size() > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("a JSON value of more than 4 GiB of text");
    }
    const auto offset = static_cast<std::uint32_t>(tree_.texts_.size());
    tree_.texts_ += text;
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
    if (!build_ || depth_ != HandedDepth()) return true;
    onValue_(tree_.Root());
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
      for (std::size_t i = 0; i + 1 < members_.size(); ++i) {
        for (std::size_t j = i + 1; j < members_.size(); ++j) {
          if (keyOf(members_[i]) == keyOf(members_[j])) {
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
  const std::function<void(JsonValue)>& onValue_;
  bool build_;
  std::optional<JsonSyntaxError>& error_;
  bool started_ = false, topArray_ = false;
  std::uint32_t depth_ = 0;
  std::vector<std::uint32_t> open_;  // the containers being read, innermost last
  std::vector<std::uint32_t> members_;
  std::uint32_t keyOffset_ = 0, keyLength_ = 0;
};

bool ReadJsonValues(std::string_view text, JsonTree& tree, const std::function<void(JsonValue)>& onValue,
                    std::optional<JsonSyntaxError>& error) {
  error.reset();
  JsonTreeBuilder builder(tree, onValue, error);
  nlohmann::json::sax_parse(text.begin(), text.end(), &builder);
  return builder.TopArray();
}

}  // namespace citara
