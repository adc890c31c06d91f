#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

class Owner : public Window {
public:
    explicit Owner(Core* core) : Window(core) {
        Build();
        x = 100;
        y = 50;
        width = 300;
        height = 200;
    }
    void OnSubmit() override { ++submits; }
    int submits = 0;
};

class InputTest : public ::testing::Test {
protected:
    std::unique_ptr<Core> core = MakeTestCore();
    Owner* owner = static_cast<Owner*>(core->AddWindow(new Owner(core.get())));

    Input* Field(uint32_t maxLength, uint8_t password = 0, uint8_t digitsOnly = 0) {
        auto* input =
            new Input(core.get(), owner, maxLength, {10, 20, 150, 18}, password, digitsOnly);
        core->AddWindow(input);
        return input;
    }
    Input* NameField() {
        auto* input = new Input(core.get(), owner, 20, {10, 20, 150, 18}, 1);
        core->AddWindow(input);
        return input;
    }
    static void Type(Input* input, const std::string& keys) {
        for (char c : keys) input->OnChar(static_cast<unsigned char>(c));
    }
};

TEST_F(InputTest, ItIsAWindowOfItsOwnPlacedFromItsOwner) {
    Input* input = Field(64);
    EXPECT_EQ(input->typeId, WindowType::Input);
    EXPECT_EQ(input->x, 110);
    EXPECT_EQ(input->y, 70);
    owner->x = 200;
    input->Place(0, 0);
    EXPECT_EQ(input->x, 210);
    input->OnSubmit();
    EXPECT_EQ(owner->submits, 1);
}

TEST_F(InputTest, TypingStopsAtTheMaximumLength) {
    Input* input = Field(64);
    Type(input, std::string(64, 'a'));
    EXPECT_EQ(input->text.size(), 64u);
    input->dirty = 0;
    input->OnChar('b');
    EXPECT_EQ(input->text, std::string(64, 'a'));
    EXPECT_FALSE(input->dirty);
}

TEST_F(InputTest, APasteIsCutAtTheMaximumLength) {
    Input* input = Field(64);
    input->Paste(std::string(100, 'x'));
    EXPECT_EQ(input->text, std::string(64, 'x'));
    EXPECT_EQ(input->caret, 64u);
}

TEST_F(InputTest, PasswordModeShowsOneMaskByteForEveryCharacter) {
    Input* input = Field(64, 1);
    Type(input, "secret");
    input->Paste("12");
    input->MoveCaret(-1);
    input->OnBackspace();
    input->OnChar('x');
    EXPECT_EQ(input->text, "secretx2");
    EXPECT_EQ(input->shownText, std::string(input->text.size(), '\x95'));
    input->SetText("ab");
    EXPECT_EQ(input->shownText, "\x95\x95");
    input->OnBackspace();
    input->OnBackspace();
    EXPECT_EQ(input->text.size(), input->shownText.size());
    EXPECT_TRUE(input->text.empty());
}

TEST_F(InputTest, DigitsOnlyRefusesLettersAndFiltersPastes) {
    Input* input = Field(10, 0, 1);
    Type(input, "4x2");
    EXPECT_EQ(input->text, "42");
    input->Paste("1a2b3");
    EXPECT_EQ(input->text, "42123");
}

TEST_F(InputTest, PastedControlBytesAreDropped) {
    Input* input = Field(64);
    input->Paste(std::string("one\r\ntwo\x01\x05three\t", 16));
    EXPECT_EQ(input->text, "onetwothree");
}

TEST_F(InputTest, TypedControlCharactersInsertNothing) {
    Input* input = Field(64);
    Type(input, "a\tb\x01");
    EXPECT_EQ(input->text, "ab");
}

TEST_F(InputTest, NameModeNormalisesAfterEveryCharacter) {
    Input* input = NameField();
    Type(input, "red ");
    EXPECT_EQ(input->text, "Red ");
    input->Clear();
    Type(input, "  rED   dragon9");
    EXPECT_EQ(input->text, "Red Dragon");
    EXPECT_EQ(input->caret, input->text.size());
}

TEST_F(InputTest, NameModeNormalisesPastes) {
    Input* input = NameField();
    input->Paste("  the\tOLD  k1ng");
    EXPECT_EQ(input->text, "Theold Kng");
}

TEST_F(InputTest, APreparedSelectionIsReplacedByTheNextKey) {
    const struct {
        const char* name;
        void (*key)(Input*);
        const char* left;
    } cases[] = {
        {"digit", [](Input* input) { input->OnChar('3'); }, "3"},
        {"backspace", [](Input* input) { input->OnBackspace(); }, ""},
        {"delete", [](Input* input) { input->OnDelete(); }, ""},
    };
    for (const auto& c : cases) {
        Input* input = Field(10, 0, 1);
        input->SetText("25");
        input->selectionStart = 0;
        input->selectionEnd = 0xFFFF;
        c.key(input);
        EXPECT_EQ(input->text, c.left) << c.name;
        EXPECT_FALSE(input->HasSelection()) << c.name;
    }
}

TEST_F(InputTest, EditingKeysAtTheEdges) {
    Input* input = Field(64);
    input->OnBackspace();
    input->OnDelete();
    EXPECT_TRUE(input->text.empty());

    input->SetText("a");
    input->OnBackspace();
    EXPECT_TRUE(input->text.empty());
    EXPECT_EQ(input->caret, 0u);

    input->SetText("abc");
    input->MoveCaret(-1);
    input->MoveCaret(-1);
    input->MoveCaret(-1);
    input->MoveCaret(-1);
    EXPECT_EQ(input->caret, 0u);
    input->OnBackspace();
    EXPECT_EQ(input->text, "abc");
    input->OnDelete();  // no selection: Delete does nothing
    EXPECT_EQ(input->text, "abc");
    input->MoveCaret(1);
    input->OnChar('x');
    EXPECT_EQ(input->text, "axbc");
    input->MoveCaret(1);
    input->MoveCaret(1);
    input->MoveCaret(1);
    EXPECT_EQ(input->caret, 4u);
}

TEST_F(InputTest, TheCaretBlinksOnceASecondInTheFocusedInputOnly) {
    Input* input = Field(64);
    Type(input, "ab");
    const std::string caret = "FillRect(" + std::to_string(input->x + 2 * TestCharWidth + 4) + "," +
                              std::to_string(input->y + 4) + ",1,10,0xE0FFFFFF,0x3)";
    RecordingDriver::Install();
    const struct {
        uint64_t time;
        bool focused, shown;
    } cases[] = {{1000, true, true},  {1499, true, true}, {1500, true, false},
                 {1999, true, false}, {2000, true, true}, {1000, false, false}};
    for (const auto& c : cases) {
        core->frameTimeMs = c.time;
        core->focusedInput = c.focused ? input : nullptr;
        input->Draw();
        const std::vector<std::string> calls = RecordingDriver::Take();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), caret), c.shown ? 1 : 0) << c.time;
    }
    UseNullDriver();
}

// The console owns the chat line and places it.
class Console : public Window {
public:
    explicit Console(Core* core) : Window(core) {
        Build();
        typeId = WindowType::Console;
        x = 0;
        y = 400;
        width = 500;
        height = 200;
    }
};

TEST_F(InputTest, TheConsoleLineIsPlacedByTheConsole) {
    Window* console = core->AddWindow(new Console(core.get()));
    auto* line = new Input(core.get(), console, 224);
    core->AddWindow(line);
    EXPECT_EQ(line->x, 22);
    EXPECT_EQ(line->y, 600 - 22);
    EXPECT_EQ(line->width, 500 - 179);
}

TEST_F(InputTest, TheOwnersHookHearsEveryEditOfTheText) {
    Input* input = Field(64);
    std::vector<std::string> heard;
    input->onTextChanged = [&heard](Input& changed) { heard.push_back(changed.text); };
    Type(input, "hi");
    input->OnBackspace();
    input->Paste("yo");
    input->OnDelete();
    input->SetText("again");
    input->Clear();  // not an edit of the player's
    EXPECT_EQ(heard, (std::vector<std::string>{"h", "hi", "h", "hyo", "hyo", "again"}));

    // Without a hook edits tell nobody.
    Type(Field(64), "quiet");
    EXPECT_EQ(heard.size(), 6u);
}

TEST_F(InputTest, TypingAtTheEndOfALongTextKeepsTheEndInView) {
    Input* input = Field(200);  // 150 wide: 142 pixels for the text
    Type(input, std::string(30, 'a'));
    EXPECT_EQ(input->caret, 30u);
    EXPECT_LT(input->caretPixel, 150 - 8);
    EXPECT_GE(input->caretPixel + TestCharWidth, 150 - 8);
    EXPECT_EQ(input->caretPixel, static_cast<int32_t>(30 - input->firstVisible) * TestCharWidth);
    EXPECT_EQ(input->visibleWidth, input->caretPixel);

    // Deleting reveals the characters that scrolled out.
    for (int i = 0; i < 25; ++i) input->OnBackspace();
    EXPECT_EQ(input->firstVisible, 0u);
    EXPECT_EQ(input->caretPixel, 5 * TestCharWidth);

    // The caret moved back over the drawn part's start shows the hidden characters again.
    Type(input, std::string(25, 'b'));
    const uint32_t first = input->firstVisible;
    ASSERT_GT(first, 0u);
    while (input->caret > first) input->MoveCaret(-1);
    EXPECT_EQ(input->caretPixel, 0);
    input->MoveCaret(-1);
    EXPECT_EQ(input->firstVisible, first - 1);
    EXPECT_EQ(input->caretPixel, 0);
}

}  // namespace
