#pragma once
// Little-endian fields of BMP files and device-independent bitmaps. The callers check the
// bounds: every pointer handed in must have the field's bytes behind it.
#include <cstdint>

namespace korvel {

inline uint16_t LoadLe16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

inline uint32_t LoadLe32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

inline int32_t LoadLeSigned32(const uint8_t* at) { return static_cast<int32_t>(LoadLe32(at)); }

inline void StoreLe16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

inline void StoreLe32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

// Writes consecutive fields from a starting byte onwards, so a header reads as a list of
// its fields, one line each.
class LittleEndianWriter {
public:
    explicit LittleEndianWriter(uint8_t* start) : next_(start) {}

    LittleEndianWriter& Put8(uint8_t value) {
        *next_++ = value;
        return *this;
    }
    LittleEndianWriter& Put16(uint16_t value) {
        StoreLe16(next_, value);
        next_ += 2;
        return *this;
    }
    LittleEndianWriter& Put32(uint32_t value) {
        StoreLe32(next_, value);
        next_ += 4;
        return *this;
    }
    LittleEndianWriter& PutSigned32(int32_t value) { return Put32(static_cast<uint32_t>(value)); }

    uint8_t* Position() const { return next_; }

private:
    uint8_t* next_;
};

}  // namespace korvel
