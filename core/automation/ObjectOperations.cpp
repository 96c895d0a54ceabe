// Creating, clearing and sharing automation objects.
#include "core/automation/Automation.h"
#include "core/automation/AutomationRegistry.h"

namespace korvel {

bool CreateObject(AutomationObject* object, const Text& className) {
    if (!object) return false;
    std::shared_ptr<AutomationInstance> instance = CreateAutomationInstance(className);
    if (!instance) return false;
    *object = AutomationObject(std::move(instance));
    return true;
}

void ClearObject(AutomationObject* object) {
    if (object) *object = AutomationObject();
}

bool ObjectIsEmpty(const AutomationObject& object) { return object.empty(); }

void CopyObject(AutomationObject* target, const AutomationObject& source) {
    if (target) *target = source;
}

}  // namespace korvel
