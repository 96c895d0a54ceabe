#pragma once
// The automation classes the platform provides, by class name and by class identifier.
// platform/ registers them at start-up; CreateObject resolves names here.
#include <functional>
#include <memory>
#include <string_view>

#include "core/Text.h"
#include "core/automation/AutomationInstance.h"

namespace korvel {

// Makes a new instance of the class; null when it cannot be made.
using AutomationFactory = std::function<std::shared_ptr<AutomationInstance>()>;

// Registers (or replaces) a class under its name (ASCII, letter case ignored) and its
// class identifier in braced text form, "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" with
// hexadecimal digits in either case.
void RegisterAutomationClass(std::string_view className, std::string_view classIdentifier, AutomationFactory factory);

// A new instance of the class that className names: a text beginning with "{" is read as
// a braced class identifier, anything else as a class name. Null when the name or
// identifier is not registered, the identifier is malformed, or the factory fails.
std::shared_ptr<AutomationInstance> CreateAutomationInstance(const Text& className);

}  // namespace korvel
