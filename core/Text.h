#pragma once
// Text: owned 8-bit text in code page 936 (GBK). It never holds a zero byte: building a
// Text from bytes keeps only what stands before the first zero. Lengths and positions
// are in bytes; a byte of 0x80 or above leads a two-byte character.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

class Text {
public:
    Text() = default;
    Text(const char* zeroTerminated);                 // nullptr gives the empty text
    explicit Text(std::string_view bytes);           // cut at the first zero byte
    explicit Text(std::string&& bytes);              // cut at the first zero byte

    int32_t size() const { return static_cast<int32_t>(bytes_.size()); }
    bool empty() const { return bytes_.empty(); }
    const char* c_str() const { return bytes_.c_str(); }
    const std::string& str() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    unsigned char at(int32_t zeroBasedIndex) const { return static_cast<unsigned char>(bytes_[zeroBasedIndex]); }

    // What an outside function receives: the first byte, or null for the empty text.
    const char* ArgumentPointer() const { return bytes_.empty() ? nullptr : bytes_.c_str(); }

    friend bool operator==(const Text&, const Text&) = default;

private:
    std::string bytes_;
};

// True when the byte leads a two-byte GBK character.
inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

}  // namespace korvel
