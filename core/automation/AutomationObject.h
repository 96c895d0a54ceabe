#pragma once
// AutomationObject: nothing (empty) or one counted reference to an automation instance.
// Copying an object adds a reference to the same instance; destroying, clearing or
// overwriting it drops one. The instance lives while any object or other instance refers
// to it, and goes away with the last reference.
#include <memory>

namespace korvel {

class AutomationInstance;

class AutomationObject {
public:
    AutomationObject() = default;
    explicit AutomationObject(std::shared_ptr<AutomationInstance> instance) : instance_(std::move(instance)) {}

    bool empty() const { return instance_ == nullptr; }
    // The instance referred to, or null when empty; the object keeps its reference.
    AutomationInstance* instance() const { return instance_.get(); }
    bool RefersToSameInstance(const AutomationObject& other) const { return instance_ == other.instance_; }

private:
    std::shared_ptr<AutomationInstance> instance_;
};

}  // namespace korvel
