#include "core/automation/AutomationRegistry.h"

#include <map>
#include <optional>
#include <string>

namespace korvel {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = FoldAscii(c);
    return folded;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The identifier in one spelling (lower-case digits), or nothing when it is not of the
// form {8-4-4-4-12} hexadecimal digits.
std::optional<std::string> NormalisedIdentifier(std::string_view braced) {
    static constexpr std::string_view kShape = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    if (braced.size() != kShape.size()) return std::nullopt;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool fits = kShape[i] == 'x' ? IsHexDigit(braced[i]) : braced[i] == kShape[i];
        if (!fits) return std::nullopt;
    }
    return Folded(braced);
}

struct Registry {
    std::map<std::string, std::string> identifierOfName;       // folded name -> identifier
    std::map<std::string, AutomationFactory> factoryOfIdentifier;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterAutomationClass(std::string_view className, std::string_view classIdentifier, AutomationFactory factory) {
    const std::optional<std::string> identifier = NormalisedIdentifier(classIdentifier);
    if (!identifier || !factory) return;
    Registry& registry = TheRegistry();
    registry.identifierOfName[Folded(className)] = *identifier;
    registry.factoryOfIdentifier[*identifier] = std::move(factory);
}

std::shared_ptr<AutomationInstance> CreateAutomationInstance(const Text& className) {
    const Registry& registry = TheRegistry();
    std::optional<std::string> identifier;
    if (className.view().starts_with('{')) {
        identifier = NormalisedIdentifier(className.view());
    } else {
        const auto found = registry.identifierOfName.find(Folded(className.view()));
        if (found != registry.identifierOfName.end()) identifier = found->second;
    }
    if (!identifier) return nullptr;
    const auto factory = registry.factoryOfIdentifier.find(*identifier);
    if (factory == registry.factoryOfIdentifier.end()) return nullptr;
    return factory->second();
}

}  // namespace korvel
