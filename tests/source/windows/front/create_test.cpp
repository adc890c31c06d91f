#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "support/recordingconnection.h"
#include "support/testcore.h"
#include "windows/front/create.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes CreateRequest(uint8_t gender, const std::string& name) {
    Bytes payload = {6, gender, static_cast<uint8_t>(name.size())};
    for (char c : name) payload.push_back(static_cast<uint8_t>(c));
    return payload;
}

class CreateTest : public ::testing::Test {
protected:
    void SetUp() override {
        recording = std::make_unique<RecordingConnection>(core.get());
        dialog = new Create(core.get());
        core->AddWindow(dialog);
        dialog->OnOpen();
    }

    void Type(const std::string& text) {
        for (char c : text) core->focusedInput->OnChar(static_cast<unsigned char>(c));
    }
    // A click on a toggle, as the mouse gives it: an enabled one flips, then fires.
    void Click(uint32_t id) {
        Button* button = dialog->FindButton(id);
        if (!button->enabled) return;
        button->pressed = !button->pressed;
        dialog->OnCommand(button);
    }
    std::vector<Bytes> Sent(size_t atLeast = 0) { return recording->SentPayloads(atLeast); }
    bool DialogOpen() { return core->FindWindow(WindowType::Create) != nullptr; }

    std::unique_ptr<Core> core = MakeTestCore();
    std::unique_ptr<RecordingConnection> recording;
    Create* dialog = nullptr;
};

TEST_F(CreateTest, TheDialogIsCentredWithItsInputAndButtons) {
    EXPECT_EQ(dialog->width, 218);
    EXPECT_EQ(dialog->height, 145);
    EXPECT_EQ(dialog->x, 400 - 109);
    EXPECT_EQ(dialog->y, 300 - 72);
    EXPECT_EQ(dialog->name, "New Avatar");
    EXPECT_TRUE(dialog->modal);
    Input* input = dialog->nameInput;
    EXPECT_EQ(core->focusedInput, input);
    EXPECT_EQ(input->x, dialog->x + 71);
    EXPECT_EQ(input->y, dialog->y + 47);
    EXPECT_EQ(input->width, 119);
    EXPECT_EQ(input->maxLength, 64u);
    EXPECT_TRUE(input->nameFormat);
    const struct {
        uint32_t id;
        int32_t x, y;
        const char* caption;
    } buttons[] = {{Create::CreateButton, 152, 117, "create"},
                   {Create::MaleButton, 71, 75, "male"},
                   {Create::FemaleButton, 136, 75, "female"},
                   {ButtonId::Close, 197, 3, ""}};
    for (const auto& expected : buttons) {
        const Button* button = dialog->FindButton(expected.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->x, expected.x);
        EXPECT_EQ(button->y, expected.y);
        EXPECT_EQ(button->caption, expected.caption);
    }
}

TEST_F(CreateTest, EnterSendsTheTypedNameAsANameAndMale) {
    Type("  rED   dragon9");
    EXPECT_EQ(dialog->nameInput->text, "Red Dragon");
    dialog->nameInput->OnSubmit();
    EXPECT_EQ(Sent(1), (std::vector<Bytes>{CreateRequest(0x80, "Red Dragon")}));
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    EXPECT_EQ(core->focusedInput, nullptr);
}

TEST_F(CreateTest, TheGenderPairKeepsOneOnAndSendsIt) {
    const struct {
        std::vector<uint32_t> clicks;
        uint8_t sent;
    } cases[] = {
        {{}, 0x80},
        {{Create::FemaleButton}, 0x00},
        {{Create::FemaleButton, Create::MaleButton}, 0x80},
        // The button that is on is disabled: clicking it changes nothing.
        {{Create::MaleButton}, 0x80},
        {{Create::FemaleButton, Create::FemaleButton}, 0x00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks.size());
        for (uint32_t id : c.clicks) Click(id);
        const bool male = c.sent == 0x80;
        EXPECT_EQ(dialog->IsMale(), male);
        EXPECT_EQ(dialog->FindButton(Create::MaleButton)->pressed, male);
        EXPECT_EQ(dialog->FindButton(Create::MaleButton)->enabled, !male);
        EXPECT_EQ(dialog->FindButton(Create::FemaleButton)->pressed, !male);
        EXPECT_EQ(dialog->FindButton(Create::FemaleButton)->enabled, male);
        Type("Bo");
        dialog->OnCommand(dialog->FindButton(Create::CreateButton));
        EXPECT_EQ(Sent(1).back(), CreateRequest(c.sent, "Bo"));
        recording->server.received.clear();
        dialog = static_cast<Create*>(core->AddWindow(new Create(core.get())));
        dialog->OnOpen();
    }
}

TEST_F(CreateTest, OneSpaceAtTheEndIsLeftOut) {
    Type("Red ");
    EXPECT_EQ(dialog->nameInput->text, "Red ");
    dialog->OnSubmit();
    EXPECT_EQ(Sent(1), (std::vector<Bytes>{CreateRequest(0x80, "Red")}));
}

TEST_F(CreateTest, AnEmptyNameAsksForOneAndTheDialogStays) {
    dialog->OnCommand(dialog->FindButton(Create::CreateButton));
    auto* message = dynamic_cast<Message*>(core->windows.back());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->name, "Avatar Information");
    EXPECT_EQ(message->text, "Please fill in a name.");
    EXPECT_TRUE(DialogOpen());
    EXPECT_TRUE(Sent().empty());
}

TEST_F(CreateTest, TheCloseButtonRemovesTheInputAndTheDialog) {
    dialog->OnCommand(dialog->FindButton(ButtonId::Close));
    EXPECT_TRUE(core->windows.empty());
    EXPECT_EQ(core->focusedInput, nullptr);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(CreateTest, WithoutAConnectionASubmitOnlyCloses) {
    core->CloseConnection(0);
    Type("Bo");
    dialog->OnSubmit();
    EXPECT_TRUE(core->windows.empty());
}

TEST_F(CreateTest, TheDialogRemovedWithoutClosingTakesItsInputAlong) {
    core->RemoveWindow(dialog);
    EXPECT_TRUE(core->windows.empty());
    EXPECT_EQ(core->focusedInput, nullptr);

    // A clearing of the list from the top removes the input first.
    dialog = static_cast<Create*>(core->AddWindow(new Create(core.get())));
    dialog->OnOpen();
    while (!core->windows.empty()) core->RemoveWindow(core->windows.back());
}

}  // namespace
