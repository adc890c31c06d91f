#include "windows/dialogs/book.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "recordfile.h"
#include "support/drawntext.h"
#include "support/fakeplatform.h"
#include "support/recordingdriver.h"
#include "support/spritedata.h"
#include "support/startup.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"
#include "xtea.h"

namespace {

struct BookCase {
    uint32_t id;
    uint8_t key[XteaKeySize];
};

// The books the generator wrote (tools/datagen/bookcases.py), by case name.
std::map<std::string, BookCase> ReadCases() {
    std::map<std::string, BookCase> cases;
    std::ifstream file(TestDataPath("books/cases.txt"));
    std::string name;
    BookCase book{};
    uint32_t words[4];
    while (file >> name >> book.id >> std::hex >> words[0] >> words[1] >> words[2] >> words[3] >>
           std::dec) {
        XteaKeyFromWords(words, book.key);
        cases[name] = book;
    }
    return cases;
}

class BookTest : public ::testing::Test {
protected:
    void SetUp() override {
        FILE* file = fopen("data/Veltor.books", "rb");
        ASSERT_NE(file, nullptr);
        uint32_t revision = 0;
        std::vector<RecordEntry> entries;
        ASSERT_TRUE(ReadRecordDirectory(file, 2, revision, entries));
        fclose(file);
        for (const RecordEntry& entry : entries)
            core->books.push_back({uint16_t(entry.id), entry.offset, entry.end});
        ASSERT_EQ(cases.size(), 8u);
    }
    // Opens a case's book as the server's message does: the book, or the box saying why not.
    Book* Open(const std::string& name) {
        const BookCase& book = cases.at(name);
        Book::Open(core.get(), book.id, book.key);
        return dynamic_cast<Book*>(core->FindWindow(WindowType::Book));
    }
    std::string Box() {
        auto* box = dynamic_cast<Message*>(core->FindWindow(WindowType::Message));
        return box ? box->text : "";
    }
    BookText Text(const std::string& name) {
        BookText text;
        EXPECT_EQ(Book::Load(core.get(), cases.at(name).id, cases.at(name).key, text),
                  BookLoad::Read);
        return text;
    }
    bool Shown(Book* book, uint32_t id) {
        const Button* button = book->FindButton(id);
        return button && button->visible;
    }
    std::vector<std::string> Painted(Book* book, uint32_t colour) {
        RecordingDriver::Install();
        book->dirty = 1;
        book->Paint();
        const std::vector<std::string> texts = DrawnTextsIn(RecordingDriver::Take(), colour);
        UseNullDriver();
        return texts;
    }

    InFolder in{TestDataPath("books")};
    std::map<std::string, BookCase> cases = ReadCases();
    std::unique_ptr<Core> core = MakeTestCore();
};

TEST_F(BookTest, OneParagraphIsASinglePageWithoutButtons) {
    Book* book = Open("one");
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->name, "One Page");
    EXPECT_EQ(book->width, 400);
    EXPECT_EQ(book->height, 474);
    EXPECT_EQ(book->x, 200);
    EXPECT_EQ(book->y, 63);
    EXPECT_EQ(book->FindButton(Book::PreviousButton), nullptr);
    EXPECT_EQ(book->FindButton(Book::NextButton), nullptr);
    EXPECT_EQ(book->pages, std::vector<std::string>{"A single page."});
    EXPECT_EQ(Painted(book, 0xE0E0E0E0), std::vector<std::string>{"A single page."});
    // Only the title: no page label.
    EXPECT_EQ(Painted(book, 0xCEFFFFFF), std::vector<std::string>{"One Page"});
}

TEST_F(BookTest, AnOverflowingParagraphContinuesOnAPageOfItsOwn) {
    for (const char* name : {"three", "hyphen", "colour"}) {
        SCOPED_TRACE(name);
        const std::string second = Text(name).paragraphs[1];
        Book* book = Open(name);
        ASSERT_NE(book, nullptr);
        EXPECT_EQ(book->height, 500);
        ASSERT_EQ(book->pages.size(), 4u);
        EXPECT_EQ(book->pages[0], "First.");
        EXPECT_EQ(book->pages[3], "Third.");
        // The text once and whole: the second part starts where the first stops, in the colour
        // in force there.
        EXPECT_EQ(Font::PlainText(book->pages[1]) + Font::PlainText(book->pages[2]),
                  Font::PlainText(second));
        EXPECT_EQ(book->pages[1].size() + book->pages[2].size() >= second.size(), true);
        book->WrapPage(book->pages[1]);
        EXPECT_EQ(book->pageLines.size(), 31u);
        // The colour escape the second part starts with is the one in force at the split.
        if (std::string(name) == "colour") {
            EXPECT_EQ(book->pages[2].substr(0, 5), second.substr(0, 5));
        }

        EXPECT_EQ(Painted(book, 0xCEFFFFFF), (std::vector<std::string>{book->name, "1 of 4"}));
        EXPECT_FALSE(Shown(book, Book::PreviousButton));
        EXPECT_TRUE(Shown(book, Book::NextButton));
        for (int k = 0; k < 3; ++k) book->OnCommand(book->FindButton(Book::NextButton));
        EXPECT_EQ(book->page, 3);
        EXPECT_TRUE(Shown(book, Book::PreviousButton));
        EXPECT_FALSE(Shown(book, Book::NextButton));
        EXPECT_EQ(Painted(book, 0xCEFFFFFF)[1], "4 of 4");
        book->OnCommand(book->FindButton(Book::PreviousButton));
        EXPECT_EQ(book->page, 2);
        EXPECT_TRUE(Shown(book, Book::NextButton));
        book->OnSubmit();
    }
}

TEST_F(BookTest, ABookWithoutParagraphsOpensEmptyAtTheSinglePageHeight) {
    Book* book = Open("empty");
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->height, 474);
    EXPECT_EQ(book->buttons.size(), 1u);  // the close button
    EXPECT_EQ(Painted(book, 0xE0E0E0E0), std::vector<std::string>{});
    EXPECT_EQ(Painted(book, 0xCEFFFFFF), std::vector<std::string>{"Nothing"});
}

TEST_F(BookTest, ARecordThatFailsItsCheckOpensNothing) {
    cases["wrong key"] = cases["one"];
    cases["wrong key"].key[3] ^= 1;
    for (const char* name : {"wrong key", "short", "title", "paragraph"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Open(name), nullptr);
        EXPECT_EQ(Box(), "Invalid book key.");
        core->CloseWindowOfType(WindowType::Message);
    }
}

TEST_F(BookTest, AnUnknownIdOpensNothing) {
    cases["unknown"] = cases["one"];
    cases["unknown"].id = 999;
    EXPECT_EQ(Open("unknown"), nullptr);
    EXPECT_EQ(Box(), "Invalid book id.");
}

TEST(BookFile, AMissingBooksFileEndsTheProgram) {
    FakePlatform fake;
    TemporaryFolder folder;
    std::unique_ptr<Core> core = MakeTestCore();
    core->books.push_back({1, 8, 40});
    const uint8_t key[XteaKeySize] = {};
    EXPECT_THROW(Book::Open(core.get(), 1, key), ProgramExit);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Failed to load \"Veltor.books\".");
}

}  // namespace
