// Storing into, clearing, copying and reading out variants.
#include <string>

#include "core/CodePage.h"
#include "core/automation/Automation.h"
#include "core/automation/VariantConversion.h"

namespace korvel {

bool AssignVariant(Variant* variant, const Text& value) {
    if (!variant) return false;
    *variant = Variant::String(GbkToUtf16(value));
    return true;
}

bool AssignVariant(Variant* variant, const Bytes& value) {
    if (!variant) return false;
    *variant = Variant::Array(value.vector());
    return true;
}

void ClearVariant(Variant* variant) {
    if (variant) *variant = Variant::Empty();
}

void CopyVariant(Variant* target, const Variant& source) {
    if (target) *target = source;
}

Text VariantToText(const Variant& variant) {
    switch (variant.kind()) {
        case Variant::Kind::kString: return Utf16ToGbk(*variant.string());
        case Variant::Kind::kBoolean: return Text(*variant.boolean() ? "-1" : "0");
        case Variant::Kind::kInteger: return Text(std::to_string(*variant.integer()));
        case Variant::Kind::kReal: return Text(automation::RealToString(*variant.real()));
        default: return {};
    }
}

}  // namespace korvel
