#pragma once
// Copies a run of 1-bit pixels between rows whose bit offsets differ, whole bytes at a time.
#include <cstdint>

namespace korvel {

// What happens to each bit on its way: kept, inverted, or replaced by 0 or 1. This is how
// a two-entry source table maps onto a two-entry destination table.
enum class BitMapping { kKeep, kInvert, kAllZero, kAllOne };

// Writes `count` bits from bit `sourceBit` of `source` to bit `destinationBit` of
// `destination`, bits counted from the most significant bit of the first byte. Only the
// bytes that hold bits of the run are read; bits outside the run keep their values.
void CopyBitRun(const uint8_t* source, int64_t sourceBit, uint8_t* destination, int64_t destinationBit,
                int64_t count, BitMapping mapping);

}  // namespace korvel
