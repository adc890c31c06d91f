#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fileio.h"
#include "support/fakeplatform.h"
#include "support/startup.h"

namespace {

// A data file in a private working folder, with the fatal box and exit recorded.
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

    // Runs `action` and expects it to end the program with the error box `text`.
    void ExpectFatal(const std::function<void()>& action, const std::string& text) {
        try {
            action();
            ADD_FAILURE() << "the program went on";
        } catch (const ProgramExit& exit) {
            EXPECT_NE(exit.code, 0u);
        }
        ASSERT_EQ(FakePlatform::boxes.size(), 1u);
        EXPECT_EQ(FakePlatform::boxes[0].text, text);
        EXPECT_EQ(FakePlatform::boxes[0].title, "Veltor - Error");
        EXPECT_EQ(FakePlatform::boxes[0].owner, nullptr);
        EXPECT_EQ(FakePlatform::boxes[0].type, static_cast<UINT>(MB_OK));
    }

    FakePlatform fake;
    TemporaryFolder folder;
    std::string path = "sample.data";
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

TEST_F(FileReaderTest, MissingFileEndsTheProgramNamingIt) {
    ExpectFatal([] { FileReader reader("data/Veltor.data"); },
                "Failed to load \"data/Veltor.data\".");
}

// Reads past the end of a damaged or short file: each ends the program naming the failed check.
struct DamagedRead {
    const char* name;
    size_t fileSize;
    std::function<void(FileReader&)> reads;
    const char* check;
};

TEST_F(FileReaderTest, ReadPastTheEndEndsTheProgramNamingTheCheck) {
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
        FakePlatform::boxes.clear();
        FileReader reader(WriteFile(Counting(damaged.fileSize)));
        ExpectFatal([&] { damaged.reads(reader); },
                    "Failed to read \"sample.data\": " + std::string(damaged.check));
        // A size the file cannot hold never grows the buffer.
        EXPECT_LE(reader.Capacity(), 8192u);
    }
}

}  // namespace
