// The chat, speech and friend messages of the game state: lines in the console's channels,
// private conversations, speech texts, muted speakers, server text carrying no drawing marks,
// and the answers to friend requests.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "notification.h"
#include "paragraph.h"
#include "paragraphs.h"
#include "protocol.h"
#include "support/chatconsole.h"
#include "support/gamemessages.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/message.h"
#include "world.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string White = MakeColorCode(255, 255, 255, 255);
const std::string Grey = MakeColorCode(224, 224, 224, 224);

Bytes Str8(const std::string& text) {
    Bytes bytes{uint8_t(text.size())};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

// A varint count (7 bits a byte, lowest first, bit 7 set while more follow) and the bytes.
Bytes StrVar(const std::string& text) {
    Bytes bytes;
    size_t size = text.size();
    for (; size >= 128; size >>= 7) bytes.push_back(uint8_t(0x80 | (size & 127)));
    bytes.push_back(uint8_t(size));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

Bytes U32(uint32_t value) {
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

Bytes Message(uint8_t op, std::initializer_list<Bytes> fields) {
    Bytes bytes{op};
    for (const Bytes& field : fields) bytes.insert(bytes.end(), field.begin(), field.end());
    return bytes;
}

class ChatMessages : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        rat->name = "Rat";
        core->channelsPreset = "World";
        console = OpenConsole(core.get());
        box = console->mainChatbox;
    }

    std::vector<std::string> Lines(uint32_t id) {
        Channel* page = console->FindChannel(id);
        return page ? page->rawLines : std::vector<std::string>{};
    }
    // The notification lines, as the Info channel echoes them.
    std::vector<std::string> Notices() {
        std::vector<std::string> texts;
        for (const std::string& line : Lines(ChannelId::Info))
            texts.push_back(Font::PlainText(line));
        return texts;
    }
    size_t SpeechCount() const { return core->world->paragraphs->Texts().size(); }

    Console* console = nullptr;
    Chatbox* box = nullptr;
};

TEST_F(ChatMessages, SpeechGoesToMainAndOverTheField) {
    const std::vector<std::string> before = Lines(ChannelId::Main);
    ASSERT_TRUE(Deliver(Message(192, {U32(RatId), StrVar("squeak")})));
    std::vector<std::string> expected = before;
    expected.push_back(White + "Rat" + Grey + ": squeak");
    EXPECT_EQ(Lines(ChannelId::Main), expected);
    ASSERT_EQ(SpeechCount(), 1u);
    EXPECT_EQ(core->world->paragraphs->Texts()[0]->lines[0], "squeak");

    // Nobody there, or a muted speaker: nothing anywhere.
    ASSERT_TRUE(Deliver(Message(192, {U32(77), StrVar("ghost")})));
    core->muted = {"Rat"};
    ASSERT_TRUE(Deliver(Message(192, {U32(RatId), StrVar("muted")})));
    EXPECT_EQ(Lines(ChannelId::Main), expected);
    EXPECT_EQ(SpeechCount(), 1u);

    // Without Main the speech still shows on the field.
    core->muted.clear();
    box->CloseChannel(box->FindChannel(ChannelId::Main));
    ASSERT_TRUE(Deliver(Message(192, {U32(RatId), StrVar("again")})));
    EXPECT_EQ(core->world->paragraphs->Texts()[0]->lines.size(), 2u);
}

TEST_F(ChatMessages, APrivateMessageOpensItsPageOnce) {
    ASSERT_TRUE(Deliver(Message(193, {Str8("Alice"), StrVar("psst")})));
    ASSERT_TRUE(Deliver(Message(193, {Str8("Alice"), StrVar("psst")})));
    Channel* page = box->FindChannelByIdAndName(ChannelId::Private, "Alice");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->id, ChannelId::Private);
    EXPECT_EQ(page->tabMark, 1);
    const std::string line = White + "Alice" + Grey + ": psst";
    EXPECT_EQ(page->rawLines, (std::vector<std::string>{line, line}));
    EXPECT_EQ(Notices(), std::vector<std::string>{"There's a personal message from Alice."});

    // A muted sender opens nothing and raises nothing.
    core->muted = {"Mallory"};
    ASSERT_TRUE(Deliver(Message(193, {Str8("Mallory"), StrVar("spam")})));
    EXPECT_EQ(box->FindChannelByName("Mallory"), nullptr);
    EXPECT_EQ(Notices().size(), 1u);
}

TEST_F(ChatMessages, APlayerNamedLikeAStandardChannelGetsAPrivatePage) {
    ASSERT_TRUE(Deliver(Message(193, {Str8("World"), StrVar("hi")})));
    Channel* standard = box->FindChannel(ChannelId::World);
    Channel* conversation = box->FindChannelByIdAndName(ChannelId::Private, "World");
    ASSERT_NE(standard, nullptr);
    ASSERT_NE(conversation, nullptr);
    EXPECT_NE(standard, conversation);
    EXPECT_EQ(conversation->rawLines, std::vector<std::string>{White + "World" + Grey + ": hi"});
}

TEST_F(ChatMessages, ChannelMessagesGoToOpenChannelsOnly) {
    const size_t before = Lines(ChannelId::World).size();
    ASSERT_TRUE(Deliver(Message(206, {{1}, Str8("Bob"), StrVar("hi {r:x} :)")})));
    ASSERT_EQ(Lines(ChannelId::World).size(), before + 1);
    EXPECT_EQ(Lines(ChannelId::World).back(), White + "Bob" + Grey + ": hi {r:x} :)");
    EXPECT_EQ(box->FindChannel(ChannelId::World)->unread, 1);
    // Trade is not open: dropped.
    ASSERT_TRUE(Deliver(Message(206, {{3}, Str8("Bob"), StrVar("sell")})));
    EXPECT_EQ(box->FindChannel(ChannelId::Trade), nullptr);
    EXPECT_EQ(Lines(ChannelId::World).size(), before + 1);
}

TEST_F(ChatMessages, ServerTextCarriesNoDrawingMarks) {
    const std::string text(
        "a\0b\x01"
        "c\x02",
        6);
    const std::string name("B\0b\x1F", 4);
    ASSERT_TRUE(Deliver(Message(206, {{1}, Str8(name), StrVar(text)})));
    EXPECT_EQ(Lines(ChannelId::World).back(), White + "B?b?" + Grey + ": a?b?c\x02");
    ASSERT_TRUE(Deliver(Message(193, {Str8(name), StrVar(text)})));
    EXPECT_NE(box->FindChannelByIdAndName(ChannelId::Private, "B?b?"), nullptr);
    ASSERT_TRUE(Deliver(Message(192, {U32(RatId), StrVar(std::string(300, '\0'))})));
    EXPECT_EQ(Lines(ChannelId::Main).back(), White + "Rat" + Grey + ": " + std::string(300, '?'));
}

TEST_F(ChatMessages, SpeechWithAKindIsAPlainTextOnTheFloor) {
    ASSERT_TRUE(Deliver(Message(195, {U32(RatId), {2}, StrVar("shout")})));
    ASSERT_EQ(SpeechCount(), 1u);
    EXPECT_EQ(core->world->paragraphs->Texts()[0]->style, Paragraph::StylePlain);
    EXPECT_EQ(core->world->paragraphs->Texts()[0]->kind, 2);
    rat->position.z = PlayerZ - 1;
    ASSERT_TRUE(Deliver(Message(195, {U32(RatId), {2}, StrVar("above")})));
    ASSERT_TRUE(Deliver(Message(195, {U32(77), {2}, StrVar("nobody")})));
    EXPECT_EQ(SpeechCount(), 1u);
}

TEST_F(ChatMessages, FriendAnswersAddTheRequestedNamesInOrder) {
    protocol->SendFriendAdd("Ann", 1, "first");
    protocol->SendFriendAdd("Bob", 2, "second");
    ASSERT_TRUE(Deliver(Message(204, {U32(11), {1}})));
    core->foes = {"Zed"};
    ASSERT_TRUE(Deliver(Message(204, {U32(12), {0}})));
    ASSERT_TRUE(Deliver(Message(204, {U32(13), {0}})));  // nothing pending
    ASSERT_EQ(core->friends.size(), 2u);
    EXPECT_EQ(core->friends[0].name, "Ann");
    EXPECT_EQ(core->friends[0].id, 11u);
    EXPECT_EQ(core->friends[0].second, 1);
    EXPECT_EQ(core->friends[0].text, "first");
    EXPECT_EQ(core->friends[1].name, "Bob");
    EXPECT_EQ(core->friends[1].id, 12u);
    std::vector<std::string> texts;
    for (Window* window : core->windows)
        if (auto* message = dynamic_cast<::Message*>(window)) texts.push_back(message->text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Ann is added to your friends list.",
                                               "Bob is added to your friends & foes list."}));
}

}  // namespace
