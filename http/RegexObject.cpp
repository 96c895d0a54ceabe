#include "http/RegexObject.h"

#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/TextOperations.h"
#include "core/automation/Automation.h"
#include "core/binding/Binding.h"

namespace korvel {

RegexObject::RegexObject() { binding::Call<binding::kCoInitialize>(nullptr); }

RegexObject::RegexObject(const RegexObject& other) {
    CopyObject(&regularExpression_, other.regularExpression_);
    CopyObject(&matches_, other.matches_);
    CopyVariant(&subject_, other.subject_);
    binding::Call<binding::kCoInitialize>(nullptr);
}

RegexObject::~RegexObject() {
    ClearObject(&regularExpression_);
    ClearObject(&matches_);
    ClearVariant(&subject_);
    binding::Call<binding::kCoUninitialize>();
}

bool RegexObject::Search(const Text& pattern, const Text& subject, const SearchOptions& options) {
    ClearObject(&regularExpression_);
    ClearObject(&matches_);
    // A class that cannot be made shows up below, as an Execute that gives nothing.
    CreateObject(&regularExpression_, "VBScript.RegExp");
    SetProperty(regularExpression_, "IgnoreCase", !options.caseSensitive.value_or(false));
    SetProperty(regularExpression_, "Multiline", options.multiline.value_or(true));
    SetProperty(regularExpression_, "Singleline", true);
    SetProperty(regularExpression_, "Global", options.global.value_or(true));
    const Text effectivePattern =
        options.quoteMarker.value_or(false) ? ReplaceText(pattern, "#引号"_gbk, Text("\""), true) : pattern;
    SetProperty(regularExpression_, "Pattern", effectivePattern);
    AssignVariant(&subject_, subject);
    matches_ = CallObjectMethod(regularExpression_, "Execute", subject_);
    return !ObjectIsEmpty(matches_);
}

Text RegexObject::GetPattern() const {
    if (ObjectIsEmpty(regularExpression_)) return {};
    return GetTextProperty(regularExpression_, "Pattern");
}

Text RegexObject::ReplaceMatches(const Text& replacement) const {
    Variant replacementVariant;
    AssignVariant(&replacementVariant, replacement);
    Text replaced = CallTextMethod(regularExpression_, "Replace", subject_, replacementVariant);
    ClearVariant(&replacementVariant);
    return replaced;
}

int32_t RegexObject::MatchCount() const { return TruncateToInt(GetNumberProperty(matches_, "Count")); }

AutomationObject RegexObject::MatchAt(int32_t matchIndex) const {
    // The class counts its items from 0.
    return GetObjectProperty(matches_, "Item", matchIndex - 1);
}

Text RegexObject::MatchText(int32_t matchIndex, int32_t* position) const {
    AutomationObject match = MatchAt(matchIndex);
    Text text = VariantToText(GetVariantProperty(match, "Value"));
    if (position) *position = PositionOf(match, text);
    ClearObject(&match);
    return text;
}

Text RegexObject::SubMatchText(int32_t matchIndex, int32_t subMatchIndex, int32_t* position) const {
    AutomationObject match = MatchAt(matchIndex);
    AutomationObject subMatches = GetObjectProperty(match, "SubMatches");
    Text text = VariantToText(GetVariantProperty(subMatches, "Item", subMatchIndex - 1));
    if (position) *position = PositionOf(match, text);
    ClearObject(&match);
    ClearObject(&subMatches);
    return text;
}

int32_t RegexObject::SubMatchCount() const {
    AutomationObject match = GetObjectProperty(matches_, "Item", 0);
    AutomationObject subMatches = GetObjectProperty(match, "SubMatches");
    const int32_t count = TruncateToInt(GetNumberProperty(subMatches, "Count"));
    ClearObject(&match);
    ClearObject(&subMatches);
    return count;
}

// The class reports UTF-16 offsets; the program counts GBK bytes. The match's byte
// offset is the GBK length of the subject's first f UTF-16 units, and the text is looked
// for from there, with the search's letter-case rule. For a match that finds the match
// itself; for a sub-match, whose own offset the class does not report, the first
// occurrence of its text at or after the start of its match. -2 when not found.
int32_t RegexObject::PositionOf(const AutomationObject& match, const Text& text) const {
    const Text subject = VariantToText(subject_);
    const int32_t firstIndex = TruncateToInt(GetNumberProperty(match, "FirstIndex"));
    const bool ignoreCase = VariantToText(GetVariantProperty(regularExpression_, "IgnoreCase")) != Text("0");
    return FindText(subject, text, ByteOffsetOf(firstIndex) + 1, ignoreCase) - 1;
}

int32_t RegexObject::ByteOffsetOf(int32_t unitOffset) const {
    const std::u16string* units = subject_.string();
    if (!units || unitOffset <= 0 || static_cast<std::size_t>(unitOffset) > units->size()) return 0;
    return Utf16ToGbk(std::u16string_view(*units).substr(0, static_cast<std::size_t>(unitOffset))).size();
}

}  // namespace korvel
