#include "platform/automation/StreamClass.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/IcuCharsets.h"

namespace korvel::platform {
namespace {

using Kind = MemberKind;
using Type = ParameterType;

constexpr int32_t kTypeBinary = 1;
constexpr int32_t kTypeText = 2;
constexpr int32_t kModeRead = 1;
constexpr int32_t kModeWrite = 2;
constexpr int32_t kReadAll = -1;

// Indexes into the member table below, in its order.
enum Member : std::size_t {
    kGetType, kSetType, kGetMode, kSetMode, kGetPosition, kSetPosition, kGetSize,
    kGetCharset, kSetCharset, kOpen, kWrite, kReadText, kClose,
};

const int32_t* IntegerArgument(std::span<const Variant> arguments, std::size_t i) {
    return i < arguments.size() ? arguments[i].integer() : nullptr;
}

class Stream final : public AutomationInstance {
public:
    std::span<const AutomationMember> Members() const override {
        static const std::vector<AutomationMember> members = {
            {"Type", Kind::kPropertyReader, {}},
            {"Type", Kind::kPropertyWriter, {Type::kInteger}},
            {"Mode", Kind::kPropertyReader, {}},
            {"Mode", Kind::kPropertyWriter, {Type::kInteger}},
            {"Position", Kind::kPropertyReader, {}},
            {"Position", Kind::kPropertyWriter, {Type::kInteger}},
            {"Size", Kind::kPropertyReader, {}},
            {"Charset", Kind::kPropertyReader, {}},
            {"Charset", Kind::kPropertyWriter, {Type::kString}},
            {"Open", Kind::kMethod, {}},
            {"Write", Kind::kMethod, {Type::kVariant}},
            {"ReadText", Kind::kMethod, {Type::kInteger}},
            {"Close", Kind::kMethod, {}},
        };
        return members;
    }

    bool Invoke(std::size_t member, std::span<const Variant> arguments, Variant* result) override {
        switch (member) {
            case kGetType: *result = Variant::Integer(type_); return true;
            case kSetType: return SetType(IntegerArgument(arguments, 0));
            case kGetMode: *result = Variant::Integer(mode_); return true;
            case kSetMode: return SetMode(IntegerArgument(arguments, 0));
            case kGetPosition: return ReadIfOpen(position_, result);
            case kSetPosition: return SetPosition(IntegerArgument(arguments, 0));
            case kGetSize: return ReadIfOpen(static_cast<int32_t>(bytes_.size()), result);
            case kGetCharset: *result = Variant::String(charset_); return true;
            case kSetCharset: return SetCharset(arguments.empty() ? nullptr : arguments[0].string());
            case kOpen: return Open();
            case kWrite: return Write(arguments.empty() ? nullptr : arguments[0].byteArray());
            case kReadText: return ReadText(arguments, result);
            case kClose: return Close();
            default: return false;
        }
    }

private:
    bool ReadIfOpen(int32_t value, Variant* result) const {
        if (!open_) return false;
        *result = Variant::Integer(value);
        return true;
    }

    bool SetType(const int32_t* type) {
        if (!type || (*type != kTypeBinary && *type != kTypeText)) return false;
        if (open_ && position_ != 0) return false;
        type_ = *type;
        return true;
    }

    bool SetMode(const int32_t* mode) {
        if (!mode || *mode < 0 || open_) return false;
        mode_ = *mode;
        return true;
    }

    bool SetPosition(const int32_t* position) {
        if (!position || !open_ || *position < 0 || static_cast<std::size_t>(*position) > bytes_.size()) return false;
        position_ = *position;
        return true;
    }

    // An unknown name fails, and the stream keeps no charset to fall back on: a ReadText
    // after it fails too, rather than give the bytes read in the charset set before.
    bool SetCharset(const std::u16string* charset) {
        if (!charset) return false;
        std::optional<std::string> converter = ConverterForCharset(*charset);
        charset_ = *charset;
        converter_ = std::move(converter);
        return converter_.has_value();
    }

    bool Open() {
        if (open_) return false;
        open_ = true;
        bytes_.clear();
        position_ = 0;
        return true;
    }

    bool Write(const ByteArray* buffer) {
        if (!buffer || !open_ || type_ != kTypeBinary || mode_ == kModeRead) return false;
        const std::vector<uint8_t>& data = buffer->bytes;
        const std::size_t at = static_cast<std::size_t>(position_);
        if (at + data.size() > bytes_.size()) bytes_.resize(at + data.size());
        std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
        position_ = static_cast<int32_t>(at + data.size());
        return true;
    }

    bool ReadText(std::span<const Variant> arguments, Variant* result) {
        const int32_t* count = IntegerArgument(arguments, 0);
        if (!arguments.empty() && (!count || *count != kReadAll)) return false;
        if (!open_ || type_ != kTypeText || mode_ == kModeWrite) return false;
        const std::span<const uint8_t> rest(bytes_.data() + position_, bytes_.size() - static_cast<std::size_t>(position_));
        if (!converter_) return false;
        std::optional<std::u16string> text = DecodeBytes(*converter_, rest);
        if (!text) return false;
        if (position_ == 0 && !text->empty() && text->front() == u'\xFEFF') text->erase(0, 1);
        position_ = static_cast<int32_t>(bytes_.size());
        *result = Variant::String(std::move(*text));
        return true;
    }

    bool Close() {
        if (!open_) return false;
        open_ = false;
        bytes_.clear();
        bytes_.shrink_to_fit();
        position_ = 0;
        return true;
    }

    bool open_ = false;
    int32_t type_ = kTypeText;
    int32_t mode_ = 0;
    int32_t position_ = 0;
    std::vector<uint8_t> bytes_;
    std::u16string charset_ = u"Unicode";
    std::optional<std::string> converter_ = "UTF-16LE";   // nothing after an unknown name
};

}  // namespace

std::shared_ptr<AutomationInstance> NewStream() { return std::make_shared<Stream>(); }

}  // namespace korvel::platform
