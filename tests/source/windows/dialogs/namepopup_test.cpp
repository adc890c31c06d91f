#include "windows/dialogs/namepopup.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "windows/dialogs/friendpop.h"
#include "windows/dialogs/guildpop.h"
#include "windows/dialogs/partypop.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The opcode bytes, the name as a u8 length and its bytes, then the bytes after it.
Bytes Request(Bytes bytes, const std::string& name, const Bytes& tail = {}) {
    bytes.push_back(uint8_t(name.size()));
    for (char c : name) bytes.push_back(uint8_t(c));
    for (uint8_t b : tail) bytes.push_back(b);
    return bytes;
}

struct PopupKind {
    const char* name;
    uint32_t type;
    const char* title;
    const char* caption;
    std::function<NamePopup*(Core*)> make;
    std::function<Bytes(const std::string&)> request;
};

const std::vector<PopupKind>& PopupKinds() {
    static const std::vector<PopupKind> kinds = {
        {"Guildpop", WindowType::Guildpop, "Guild Invite", "invite",
         [](Core* core) { return new Guildpop(core); },
         [](const std::string& name) {
             return Request({227, 3}, name);
         }},
        {"Partypop", WindowType::Partypop, "Party Invite", "invite",
         [](Core* core) { return new Partypop(core); },
         [](const std::string& name) { return Request({172}, name); }},
        {"Friendpop", WindowType::Friendpop, "Friends", "add",
         [](Core* core) { return new Friendpop(core); },
         [](const std::string& name) {
             return Request({64}, name, {0, 0});
         }},
    };
    return kinds;
}

class NamePopupTest : public CreatureWorld, public ::testing::WithParamInterface<PopupKind> {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        recording = std::make_unique<RecordingConnection>(core.get(), StateGame);
    }
    NamePopup* Open() {
        popup = GetParam().make(core.get());
        core->AddWindow(popup);
        popup->OnOpen();
        return popup;
    }
    // The name as typed into the field, bypassing the field's name formatting.
    void Submit(const std::string& name) {
        popup->input->SetText(name);
        popup->OnCommand(popup->FindButton(NamePopup::SubmitButton));
    }
    bool PopupOpen() { return core->FindWindow(GetParam().type) != nullptr; }
    std::string Box() {
        auto* box = dynamic_cast<Message*>(core->FindWindow(WindowType::Message));
        if (!box) return "";
        const std::string shown = box->name + ": " + box->text;
        core->RemoveWindow(box);
        return shown;
    }
    std::vector<Bytes> Sent() { return recording->SentSinceLastCall(); }

    std::unique_ptr<RecordingConnection> recording;
    NamePopup* popup = nullptr;
};

TEST_P(NamePopupTest, LaysOutTheNameFieldAndItsButton) {
    Open();
    EXPECT_EQ(popup->typeId, GetParam().type);
    EXPECT_EQ(popup->name, GetParam().title);
    EXPECT_EQ(popup->width, 175);
    EXPECT_EQ(popup->height, 119);
    const Button* button = popup->FindButton(NamePopup::SubmitButton);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->caption, GetParam().caption);
    EXPECT_EQ(button->x, 175 - 66);
    EXPECT_EQ(core->focusedInput, popup->input);
    EXPECT_EQ(popup->input->x, popup->x + 28);
    EXPECT_EQ(popup->input->maxLength, 224u);
}

TEST_P(NamePopupTest, SendsTheNameAndCloses) {
    Open();
    Submit("Bob");
    EXPECT_EQ(Sent(), std::vector<Bytes>{GetParam().request("Bob")});
    EXPECT_FALSE(PopupOpen());
    EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    core->DeleteClosedWindows();
}

TEST_P(NamePopupTest, RefusesAnEmptyOrOwnNameAndClosesAnyway) {
    SpawnPlayer(Position{100, 100, 7}, "McHero");
    const struct {
        const char* name;
        const char* box;
    } refusals[] = {{"", "Friends: No name entered."},
                    {"McHero", "Friends: You cannot add your own name."}};
    for (const auto& refusal : refusals) {
        Open();
        Submit(refusal.name);
        EXPECT_EQ(Box(), refusal.box);
        EXPECT_FALSE(PopupOpen());
    }
    EXPECT_EQ(Sent(), std::vector<Bytes>{});
    // Other capitals pass the local check.
    Open();
    Submit("Mchero");
    EXPECT_EQ(Sent(), std::vector<Bytes>{GetParam().request("Mchero")});
}

TEST_P(NamePopupTest, WithoutAPlayerNoNameIsOwn) {
    core->avatarName = "Hero";
    Open();
    Submit("Hero");
    EXPECT_EQ(Sent(), std::vector<Bytes>{GetParam().request("Hero")});
}

TEST_P(NamePopupTest, EnterInTheFieldSubmitsAndLeavesBothForTheNextTick) {
    Open();
    popup->input->SetText("Ann");
    core->focusedInput->OnSubmit();
    EXPECT_FALSE(PopupOpen());
    EXPECT_EQ(core->focusedInput, nullptr);
    EXPECT_EQ(core->closedWindows.size(), 2u);
    core->DeleteClosedWindows();
    EXPECT_EQ(Sent(), std::vector<Bytes>{GetParam().request("Ann")});
}

TEST_P(NamePopupTest, TheCloseButtonSendsNothing) {
    Open();
    popup->input->SetText("Ann");
    popup->OnCommand(popup->FindButton(ButtonId::Close));
    EXPECT_FALSE(PopupOpen());
    EXPECT_EQ(Sent(), std::vector<Bytes>{});
}

INSTANTIATE_TEST_SUITE_P(Popups, NamePopupTest, ::testing::ValuesIn(PopupKinds()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CreatureWorld, AFoeMakesTheFriendPopupFriendsAndFoes) {
    FriendRecord foe{};
    foe.id = 4;
    foe.name = "Grim";
    foe.foe = 1;
    core->friends.push_back(foe);
    auto* popup = new Friendpop(core.get());
    core->AddWindow(popup);
    popup->OnOpen();
    EXPECT_EQ(popup->name, "Friends & Foes");
    popup->OnSubmit();
    auto* box = dynamic_cast<Message*>(core->FindWindow(WindowType::Message));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->name, "Friends & Foes");
}

}  // namespace
