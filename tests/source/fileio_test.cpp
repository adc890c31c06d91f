#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fileio.h"
#include "support/fakeplatform.h"
#include "support/startup.h"

namespace {

// A data file in a private working folder, with the failures the reader reports recorded.
class FileReaderTest : public ::testing::Test {
protected:
    std::string WriteFile(const std::vector<uint8_t>& bytes) {
        FILE* file = fopen(path.c_str(), "wb");
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
        return path;
    }

    // Bytes whose value tells their position, so a stale or skipped byte shows.
    static std::vector<uint8_t> Counting(size_t size) {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
        return bytes;
    }

    FileReader::FailureHandler Record() {
        return [this](const std::string& text) { failures.push_back(text); };
    }

    // The reader reported exactly this failure and ended nothing itself; it stays failed, reading
    // zeros and reporting nothing more.
    void ExpectFailedWith(FileReader& reader, const std::string& text) {
        EXPECT_EQ(failures, std::vector<std::string>{text});
        EXPECT_TRUE(FakePlatform::boxes.empty());
        EXPECT_TRUE(reader.Failed());
        EXPECT_EQ(reader.ReadU32(), 0u);
        EXPECT_TRUE(reader.Finished());
        EXPECT_EQ(failures.size(), 1u);
    }

    FakePlatform fake;
    TemporaryFolder folder;
    std::string path = "sample.data";
    std::vector<std::string> failures;
};

TEST_F(FileReaderTest, ReadsLittleEndianIntegers) {
    FileReader reader(WriteFile({0x01, 0x02, 0x01, 0x02, 0x03, 0x04, 0xFF}), Record());
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
        FileReader reader(WriteFile(bytes), Record());
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
    FileReader reader(WriteFile(bytes), Record());
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
    FileReader reader(WriteFile(bytes), Record());
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
    FileReader reader(WriteFile(bytes), Record());
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

TEST_F(FileReaderTest, MissingFileIsReportedNamingIt) {
    FileReader reader("data/Veltor.data", Record());
    ExpectFailedWith(reader, "Failed to load \"data/Veltor.data\".");
}

// Reads past the end of a damaged or short file: each is reported naming the failed check.
struct DamagedRead {
    const char* name;
    size_t fileSize;
    std::function<void(FileReader&)> reads;
    const char* check;
};

TEST_F(FileReaderTest, ReadPastTheEndIsReportedNamingTheCheck) {
    const DamagedRead cases[] = {
        {"byte after a file that filled the buffer", 4096,
         [](FileReader& reader) {
             for (int i = 0; i <= 4096; ++i) reader.ReadU8();
         },
         "size <= ending - offset"},
        {"integer cut by the end", 3, [](FileReader& reader) { reader.ReadU32(); },
         "size <= ending - offset"},
        {"more after the end was met", 10,
         [](FileReader& reader) {
             reader.ReadU32();
             reader.ReadU32();
             reader.ReadU32();
         },
         "!eof"},
        {"block longer than the file", 4500,
         [](FileReader& reader) {
             std::vector<uint8_t> block(5000);
             reader.ReadBytes(block.data(), 5000);
         },
         "size <= ending - offset"},
        {"size from a damaged record", 5000,
         [](FileReader& reader) {
             reader.ReadU8();
             uint8_t byte;
             reader.ReadBytes(&byte, 0xFFFFFFFF);
         },
         "size <= ending - offset"},
    };
    for (const DamagedRead& damaged : cases) {
        SCOPED_TRACE(damaged.name);
        failures.clear();
        FileReader reader(WriteFile(Counting(damaged.fileSize)), Record());
        damaged.reads(reader);
        ExpectFailedWith(reader, "Failed to read \"sample.data\": " + std::string(damaged.check));
        // A size the file cannot hold never grows the buffer.
        EXPECT_LE(reader.Capacity(), 8192u);
    }
}

}  // namespace
