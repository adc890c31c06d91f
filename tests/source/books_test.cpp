#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "support/packbytes.h"
#include "support/startup.h"

namespace {

// The books index is private to start-up; a second Core over the same folder reads it again.
class BooksIndex : public ::testing::Test {
protected:
    void TearDown() override {
        delete core;
        DrainMessages();
    }

    // Starts a Core with this books file: "" when it starts, else the error box's text.
    std::string Start(const std::vector<uint8_t>& books) {
        WriteStartupData(StartupDataVersions());
        WriteDataFile("Veltor.books", books);
        try {
            core = new Core(GetModuleHandleA(nullptr), SW_HIDE, 0);
        } catch (const ProgramExit& exit) {
            DiscardFailedStart();
            if (exit.code == 0 || fake.boxes.size() != 1) return "exit without one box";
            return fake.boxes[0].title + ": " + fake.boxes[0].text;
        }
        return "";
    }

    FakePlatform fake;
    TemporaryFolder folder;
    Core* core = nullptr;
};

std::vector<uint8_t> Books(uint32_t revision, uint32_t count,
                           const std::vector<std::pair<uint16_t, uint32_t>>& entries, size_t size) {
    PackBytes file;
    file.U32(revision).U32(count);
    for (const auto& [id, offset] : entries) file.U16(id).U32(offset);
    if (file.bytes.size() < size) file.Raw(std::vector<uint8_t>(size - file.bytes.size()));
    return file.bytes;
}

TEST_F(BooksIndex, EachBookEndsWhereTheNextBeginsAndTheLastAtTheEndOfTheFile) {
    ASSERT_EQ(Start(Books(1000, 3, {{5, 26}, {9, 40}, {5, 40}}, 90)), "");
    ASSERT_EQ(core->books.size(), 3u);
    EXPECT_EQ(core->books[0].id, 5);
    EXPECT_EQ(core->books[0].offset, 26u);
    EXPECT_EQ(core->books[0].end, 40u);
    EXPECT_EQ(core->books[1].end, 40u);  // an empty record
    EXPECT_EQ(core->books[2].end, 90u);
    EXPECT_EQ(core->dataVersion, 255u - 4 + 1000);  // the fixture's other files, and this one

    const BookIndexEntry* first = core->GetBookRecord(5);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->offset, 26u);  // the first of an id
    EXPECT_EQ(core->GetBookRecord(7), nullptr);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(BooksIndex, AnEmptyIndexLeavesNoBooks) {
    ASSERT_EQ(Start(Books(2, 0, {}, 20)), "");
    EXPECT_TRUE(core->books.empty());
    EXPECT_EQ(core->GetBookRecord(0), nullptr);
}

TEST_F(BooksIndex, TheSampleBooksLieEndToEndInTheFile) {
    WriteStartupData(StartupDataVersions());
    CopyDataFile(VELTOR_SAMPLE_DATA "/Veltor.books", "Veltor.books");
    core = new Core(GetModuleHandleA(nullptr), SW_HIDE, 0);
    ASSERT_EQ(core->books.size(), 3u);
    uint32_t next = 8 + 6 * 3;
    for (const BookIndexEntry& book : core->books) {
        EXPECT_EQ(book.offset, next);
        EXPECT_EQ((book.end - book.offset) % 8, 0u);
        EXPECT_GE(book.end - book.offset, 24u);  // check block, counts and a title at least
        next = book.end;
    }
    FILE* file = fopen("data/Veltor.books", "rb");
    ASSERT_NE(file, nullptr);
    fseek(file, 0, SEEK_END);
    EXPECT_EQ(long(next), ftell(file));
    fclose(file);
    EXPECT_NE(core->GetBookRecord(7), nullptr);
}

struct DamagedBooks {
    const char* name;
    std::vector<uint8_t> bytes;
};

class DamagedBooksIndex : public BooksIndex, public ::testing::WithParamInterface<DamagedBooks> {};

TEST_P(DamagedBooksIndex, EndsStartUpWithTheLoadError) {
    EXPECT_EQ(Start(GetParam().bytes), "Veltor - Error: Failed to load \"Veltor.books\".");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedBooksIndex,
    ::testing::Values(DamagedBooks{"NoCount", {1, 0, 0, 0}},
                      DamagedBooks{"MoreBooksThanTheFileHolds",
                                   Books(1, 3, {{1, 20}, {2, 20}}, 20)},
                      DamagedBooks{"HugeCount", Books(1, 0xFFFFFFFF, {{1, 14}}, 0)},
                      DamagedBooks{"RecordPastTheEnd", Books(1, 2, {{1, 20}, {2, 41}}, 40)},
                      DamagedBooks{"RecordsGoingBackwards", Books(1, 2, {{1, 30}, {2, 20}}, 40)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
