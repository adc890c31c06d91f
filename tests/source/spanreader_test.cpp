#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "spanreader.h"

namespace {

TEST(SpanReader, ReadsLittleEndianFieldsInOrder) {
    const std::vector<uint8_t> bytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06,
                                        0xFE, 0xFF, 0x07, 'a',  'b',  'c'};
    SpanReader reader(bytes);
    EXPECT_EQ(reader.U32(), 0x04030201u);
    EXPECT_EQ(reader.U16(), 0x0605);
    EXPECT_EQ(reader.I16(), -2);
    EXPECT_EQ(reader.U8(), 7);
    EXPECT_EQ(reader.Text(3), "abc");
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.Bytes(0), bytes.data() + bytes.size());
    EXPECT_FALSE(reader.Failed());
}

// A read the span cannot hold gives zero and moves nothing; every read after it gives zero too,
// even one the bytes left would hold, so one check at the end finds a short record.
TEST(SpanReader, AFailedReadStaysFailedAndGivesZeros) {
    const std::vector<uint8_t> bytes = {0x11, 0x22, 0x33};
    SpanReader reader(bytes);
    EXPECT_EQ(reader.U8(), 0x11);
    EXPECT_EQ(reader.U32(), 0u);
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.U8(), 0);
    EXPECT_EQ(reader.U16(), 0);
    EXPECT_EQ(reader.Text(1), "");
    EXPECT_EQ(reader.Bytes(0), nullptr);
    EXPECT_TRUE(reader.Failed());
}

TEST(SpanReader, LengthsFromADamagedFileNeverReachPastTheEnd) {
    const std::vector<uint8_t> bytes(16, 0xAB);
    for (uint64_t length : {uint64_t(17), uint64_t(UINT32_MAX), UINT64_MAX}) {
        SCOPED_TRACE(length);
        SpanReader reader(bytes);
        reader.U8();
        EXPECT_EQ(reader.Bytes(length), nullptr);
        EXPECT_TRUE(reader.Failed());
    }
}

struct PixelBlockCase {
    const char* name;
    uint32_t width, height;
    size_t stored;  // bytes held after the block's start
    bool read;
};

// A block is stored padded to whole 8-byte blocks: the padded size must be there, not only the
// pixels. The buffer given back holds the pixels and 8 bytes more, beyond the block zero.
TEST(SpanReader, PixelBlocksAreReadWithTheirPadding) {
    const PixelBlockCase cases[] = {
        {"whole blocks", 2, 1, 8, true},
        {"padded", 3, 1, 16, true},
        {"pixels there but not the padding", 3, 1, 12, false},
        {"empty", 0, 5, 0, true},
        {"sides whose product passes 32 bits", 65535, 65535, 64, false},
    };
    for (const PixelBlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes(c.stored);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i + 1);
        SpanReader reader(bytes);
        const std::vector<uint8_t> pixels = reader.PixelBlock(c.width, c.height);
        EXPECT_EQ(reader.Failed(), !c.read);
        if (!c.read) {
            EXPECT_TRUE(pixels.empty());
            continue;
        }
        const size_t size = size_t(c.width) * c.height * 4;
        ASSERT_EQ(pixels.size(), size + 8);
        for (size_t i = 0; i < pixels.size(); ++i)
            EXPECT_EQ(pixels[i], i < c.stored ? uint8_t(i + 1) : 0) << "byte " << i;
        EXPECT_EQ(reader.Bytes(0), bytes.data() + c.stored);
    }
}

}  // namespace
