// Component: a named part of a form that owns the components created on it.
//
// An owner holds its components by unique_ptr in creation order and destroys them, last created
// first, when it is destroyed. Creation order is the order that checks walking a form use (the
// required-field check goes through a form's components depth-first, as created).
//
//   TForm form("Book");
//   TFlatEdit& title = form.Create<TFlatEdit>("TitleEdit");
//   form.FindComponent<TFlatEdit>("TitleEdit") == &title;
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace citara {

class Component {
 public:
  explicit Component(std::string name) : name_(std::move(name)) {}
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& Name() const { return name_; }
  Component* Owner() const { return owner_; }

  // Creates a component of type T owned by this one: T(name, args...). Returns a reference that
  // stays valid as long as this owner lives.
  template <class T, class... Args>
  T& Create(std::string name, Args&&... args) {
    auto created = std::make_unique<T>(std::move(name), std::forward<Args>(args)...);
    T& ref = *created;
    Adopt(std::move(created));
    return ref;
  }

  // The owned components, in creation order.
  std::size_t ComponentCount() const { return owned_.size(); }
  Component& ComponentAt(std::size_t i) const { return *owned_[i]; }

  // The directly owned component called `name` if it is a T; nullptr otherwise.
  template <class T = Component>
  T* FindComponent(std::string_view name) const {
    for (const auto& c : owned_) {
      if (c->name_ == name) return dynamic_cast<T*>(c.get());
    }
    return nullptr;
  }

  // Calls visit(component) for every component owned directly or indirectly, depth-first in
  // creation order: a component, then what it owns, then its next sibling.
  template <class Visit>
  void ForEachOwned(Visit&& visit) const {
    for (const auto& c : owned_) {
      visit(*c);
      c->ForEachOwned(visit);
    }
  }

 protected:
  // Destroys the owned components, last created first. Controls call it early in their destructor
  // so that the components they own go while the control is still whole.
  void DestroyComponents();

 private:
  void Adopt(std::unique_ptr<Component> component);

  std::string name_;
  Component* owner_ = nullptr;
  std::vector<std::unique_ptr<Component>> owned_;
};

}  // namespace citara
