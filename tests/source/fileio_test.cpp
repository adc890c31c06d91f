#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fileio.h"

namespace {

// A data file in a private temporary folder, removed with the fixture.
class FileReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("veltor_fileio_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string WriteFile(const std::vector<uint8_t>& bytes) {
        std::string path = (folder / "sample.data").string();
        FILE* file = fopen(path.c_str(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
        return path;
    }

    // Bytes whose value tells their position, so a stale or skipped byte shows.
    static std::vector<uint8_t> Counting(size_t size) {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
        return bytes;
    }

    std::filesystem::path folder;
};

TEST_F(FileReaderTest, ReadsLittleEndianIntegers) {
    FileReader reader(WriteFile({0x01, 0x02, 0x01, 0x02, 0x03, 0x04, 0xFF}));
    EXPECT_EQ(reader.ReadU16(), 0x0201);
    EXPECT_EQ(reader.ReadU32(), 0x04030201u);
    EXPECT_EQ(reader.ReadU8(), 0xFF);
    EXPECT_TRUE(reader.Finished());
}

// The end is reported only once every byte is read, whatever the file size is relative to the
// buffer; a size that is a multiple of the buffer used to look endless.
TEST_F(FileReaderTest, FinishedExactlyAfterTheLastByte) {
    for (size_t size : {0u, 1u, 4095u, 4096u, 4097u, 8192u, 12288u}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> bytes = Counting(size);
        FileReader reader(WriteFile(bytes));
        for (size_t i = 0; i < size; ++i) {
            ASSERT_FALSE(reader.Finished()) << "at byte " << i;
            ASSERT_EQ(reader.ReadU8(), bytes[i]) << "at byte " << i;
        }
        EXPECT_TRUE(reader.Finished());
        EXPECT_TRUE(reader.Finished());
    }
}

// Records that end exactly on the buffer's boundary, read the way a loader walks a file.
TEST_F(FileReaderTest, RecordsFillingWholeBuffersAllLoad) {
    std::vector<uint8_t> bytes = Counting(8192);
    FileReader reader(WriteFile(bytes));
    size_t records = 0;
    std::vector<uint8_t> record(16);
    while (!reader.Finished()) {
        reader.ReadBytes(record.data(), 16);
        ASSERT_TRUE(std::equal(record.begin(), record.end(), bytes.begin() + records * 16));
        ++records;
    }
    EXPECT_EQ(records, 512u);
}

TEST_F(FileReaderTest, LargeReadGrowsTheBufferByDoublingAndKeepsIt) {
    std::vector<uint8_t> bytes = Counting(20000);
    FileReader reader(WriteFile(bytes));
    EXPECT_EQ(reader.Capacity(), 4096u);
    EXPECT_EQ(reader.ReadU8(), bytes[0]);
    std::vector<uint8_t> block(10000);
    reader.ReadBytes(block.data(), 10000);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin() + 1));
    EXPECT_EQ(reader.Capacity(), 16384u);
    EXPECT_EQ(reader.ReadU8(), bytes[10001]);
    EXPECT_EQ(reader.Seek(0), 0);
    EXPECT_EQ(reader.ReadU8(), bytes[0]);
    EXPECT_EQ(reader.Capacity(), 16384u);
}

TEST_F(FileReaderTest, SeekAfterTheEndRefillsFromTheNewPosition) {
    std::vector<uint8_t> bytes = Counting(5000);
    FileReader reader(WriteFile(bytes));
    std::vector<uint8_t> all(5000);
    reader.ReadBytes(all.data(), 5000);
    EXPECT_TRUE(reader.Finished());
    EXPECT_EQ(reader.Seek(4094), 0);
    EXPECT_FALSE(reader.Finished());
    EXPECT_EQ(reader.ReadU32(), bytes[4094] | bytes[4095] << 8 | bytes[4096] << 16 |
                                    static_cast<uint32_t>(bytes[4097]) << 24);
    EXPECT_EQ(reader.Seek(3), 0);
    EXPECT_EQ(reader.ReadU8(), bytes[3]);
}

}  // namespace
