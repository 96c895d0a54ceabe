// Byte buffers and their conversions to and from text.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/BytesOperations.h"

namespace korvel {
namespace {

Bytes Of(std::vector<uint8_t> bytes) { return Bytes(std::move(bytes)); }

TEST(BytesOperations, TextAndBytes) {
    EXPECT_EQ(BytesToText(Of({0x41, 0x42, 0x00, 0x43})), "AB");
    EXPECT_EQ(BytesToText(Bytes()), "");
    EXPECT_EQ(TextToBytes("AB"), Of({0x41, 0x42}));
    EXPECT_TRUE(TextToBytes("").empty());
    EXPECT_EQ(Bytes().ArgumentPointer(), nullptr);
}

TEST(BytesOperations, LeftBytes) {
    const Bytes data = Of({1, 0, 3});
    EXPECT_EQ(LeftBytes(data, 9), data);
    EXPECT_EQ(LeftBytes(data, 2), Of({1, 0}));
    EXPECT_TRUE(LeftBytes(data, 0).empty());
    EXPECT_TRUE(LeftBytes(data, -4).empty());
}

TEST(BytesOperations, BlankAndFromAddress) {
    EXPECT_TRUE(BlankBytes(0).empty());
    EXPECT_TRUE(BlankBytes(-3).empty());
    EXPECT_EQ(BlankBytes(3), Of({0, 0, 0}));
    const uint8_t memory[] = {9, 0, 7};
    EXPECT_EQ(BytesFromAddress(memory, 3), Of({9, 0, 7}));
    EXPECT_TRUE(BytesFromAddress(memory, 0).empty());
    EXPECT_TRUE(BytesFromAddress(nullptr, 5).empty());
    EXPECT_EQ(BytesLength(Of({1, 2})), 2);
}

TEST(BytesOperations, ConcatBytes) {
    EXPECT_TRUE(ConcatBytes(Bytes(), Bytes()).empty());
    EXPECT_EQ(ConcatBytes(Of({1}), Bytes(), Of({0, 2})), Of({1, 0, 2}));
}

}  // namespace
}  // namespace korvel
