#include "qr/BitRun.h"

#include <algorithm>

namespace korvel {
namespace {

// n bits (1..8) starting at bit `bit` of `row`, in the top n bits of the result. The byte
// after the first is read only when the run reaches into it.
uint8_t FetchBits(const uint8_t* row, int64_t bit, int n) {
    const uint8_t* at = row + (bit >> 3);
    const int shift = static_cast<int>(bit & 7);
    unsigned window = static_cast<unsigned>(at[0]) << 8;
    if (shift + n > 8) window |= at[1];
    return static_cast<uint8_t>((window << shift) >> 8);
}

uint8_t Apply(BitMapping mapping, uint8_t bits) {
    switch (mapping) {
        case BitMapping::kKeep: return bits;
        case BitMapping::kInvert: return static_cast<uint8_t>(~bits);
        case BitMapping::kAllZero: return 0x00;
        case BitMapping::kAllOne: return 0xFF;
    }
    return bits;
}

}  // namespace

void CopyBitRun(const uint8_t* source, int64_t sourceBit, uint8_t* destination, int64_t destinationBit,
                int64_t count, BitMapping mapping) {
    for (int64_t done = 0; done < count;) {
        const int64_t target = destinationBit + done;
        const int start = static_cast<int>(target & 7);
        const int n = static_cast<int>(std::min<int64_t>(8 - start, count - done));
        const uint8_t bits = Apply(mapping, FetchBits(source, sourceBit + done, n));
        const uint8_t mask = static_cast<uint8_t>(((0xFF << (8 - n)) & 0xFF) >> start);
        uint8_t& byte = destination[target >> 3];
        byte = static_cast<uint8_t>((byte & ~mask) | ((bits >> start) & mask));
        done += n;
    }
}

}  // namespace korvel
