#include "widgets/component.h"

namespace citara {

Component::~Component() { DestroyComponents(); }

void Component::DestroyComponents() {
  while (!owned_.empty()) {
    std::unique_ptr<Component> last = std::move(owned_.back());
    owned_.pop_back();
    last.reset();
  }
}

void Component::Adopt(std::unique_ptr<Component> component) {
  component->owner_ = this;
  owned_.push_back(std::move(component));
}

}  // namespace citara
