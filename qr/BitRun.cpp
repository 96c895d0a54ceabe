#include "qr/BitRun.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

// Eight bytes as one number, the first byte in the most significant place, so that a shift
// moves bits across byte boundaries the way the rows store them.
uint64_t LoadBigEndian(const uint8_t* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return word;
}

void StoreBigEndian(uint8_t* at, uint64_t word) {
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    std::memcpy(at, &word, sizeof word);
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

// n bits (1..8) into one destination byte, from bit `start` (0 = most significant) on.
void PutBits(const uint8_t* source, int64_t sourceBit, uint8_t* destination, int64_t destinationBit, int n,
             BitMapping mapping) {
    const int start = static_cast<int>(destinationBit & 7);
    const uint8_t bits = Apply(mapping, FetchBits(source, sourceBit, n));
    const uint8_t mask = static_cast<uint8_t>(((0xFF << (8 - n)) & 0xFF) >> start);
    uint8_t& byte = destination[destinationBit >> 3];
    byte = static_cast<uint8_t>((byte & ~mask) | ((bits >> start) & mask));
}

// Whole destination bytes, each made of 8 source bits from bit `sourceBit` on.
void PutWholeBytes(const uint8_t* source, int64_t sourceBit, uint8_t* destination, int64_t byteCount,
                   BitMapping mapping) {
    if (mapping == BitMapping::kAllZero || mapping == BitMapping::kAllOne) {
        std::memset(destination, mapping == BitMapping::kAllOne ? 0xFF : 0x00, static_cast<size_t>(byteCount));
        return;
    }
    const uint8_t flip = mapping == BitMapping::kInvert ? 0xFF : 0x00;
    const uint8_t* in = source + (sourceBit >> 3);
    const int shift = static_cast<int>(sourceBit & 7);
    if (shift == 0) {
        for (int64_t k = 0; k < byteCount; ++k) destination[k] = static_cast<uint8_t>(in[k] ^ flip);
        return;
    }
    // Each byte straddles two source bytes, both holding bits of the run: eight at a time
    // as one word and the first bits of the byte after it, then the rest one by one. The
    // byte after the last whole byte holds bits of the run, so reading it stays inside.
    const uint64_t wordFlip = flip ? ~uint64_t{0} : 0;
    int64_t k = 0;
    for (; k + 8 <= byteCount; k += 8) {
        const uint64_t word = (LoadBigEndian(in + k) << shift) | (in[k + 8] >> (8 - shift));
        StoreBigEndian(destination + k, word ^ wordFlip);
    }
    for (; k < byteCount; ++k) {
        destination[k] = static_cast<uint8_t>(((in[k] << shift) | (in[k + 1] >> (8 - shift))) ^ flip);
    }
}

}  // namespace

void CopyBitRun(const uint8_t* source, int64_t sourceBit, uint8_t* destination, int64_t destinationBit,
                int64_t count, BitMapping mapping) {
    if (count <= 0) return;
    int64_t done = 0;
    const int toBoundary = static_cast<int>((8 - (destinationBit & 7)) & 7);
    if (toBoundary != 0) {
        const int n = static_cast<int>(std::min<int64_t>(toBoundary, count));
        PutBits(source, sourceBit, destination, destinationBit, n, mapping);
        done = n;
    }
    const int64_t wholeBytes = (count - done) / 8;
    if (wholeBytes > 0) {
        PutWholeBytes(source, sourceBit + done, destination + ((destinationBit + done) >> 3), wholeBytes, mapping);
        done += wholeBytes * 8;
    }
    if (done < count) {
        PutBits(source, sourceBit + done, destination, destinationBit + done, static_cast<int>(count - done), mapping);
    }
}

}  // namespace korvel
