// Examined items: the description record, its tooltip (op 163) and the party line telling what
// a member found in a container (op 166).
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "converttext.h"
#include "core.h"
#include "font.h"
#include "protocol.h"
#include "windows/dialogs/look.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"

namespace {

// Flags of an item description.
constexpr uint8_t HasText = 1, HasAttributes = 2, HasBonuses = 4, HasRequirements = 8;
// An attribute entry of this code only marks the item two-handed.
constexpr uint8_t TwoHandedCode = 100;
constexpr uint32_t PartyChannel = 5;

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(uint8_t(c)));
    return text;
}

std::string Article(const std::string& name) {
    if (name.empty() || std::isdigit(uint8_t(name[0]))) return "";
    return std::string("aeiou").find(name[0]) != std::string::npos ? "an " : "a ";
}

}  // namespace

ItemDescription Protocol::ReadItemDescription() {
    ItemDescription item;
    const uint8_t flags = inBuffer.GetByte();
    item.name = inBuffer.GetString();
    if (item.name.empty()) item.name = "<unknown item>";
    else ConvertText(item.name);
    if (flags & HasText) {
        item.text = inBuffer.GetString();
        ConvertText(item.text);
    }
    const auto readTable = [this](std::vector<TextSegment>& rows) {
        const uint8_t count = inBuffer.GetByte();
        for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i) {
            const uint8_t code = inBuffer.GetByte();
            rows.push_back({code, inBuffer.GetString()});
        }
    };
    if (flags & HasAttributes) {
        readTable(item.attributes);
        const auto marks = [](const TextSegment& row) { return row.code == TwoHandedCode; };
        item.twoHanded = std::any_of(item.attributes.begin(), item.attributes.end(), marks);
        item.attributes.erase(std::remove_if(item.attributes.begin(), item.attributes.end(), marks),
                              item.attributes.end());
    }
    if (flags & HasBonuses) readTable(item.bonuses);
    const auto byCode = [](const TextSegment& a, const TextSegment& b) { return a.code < b.code; };
    std::stable_sort(item.attributes.begin(), item.attributes.end(), byCode);
    std::stable_sort(item.bonuses.begin(), item.bonuses.end(), byCode);
    if (flags & HasRequirements) {
        const uint8_t count = inBuffer.GetByte();
        for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i) {
            const uint8_t attribute = inBuffer.GetByte();
            item.requirements.push_back({attribute, inBuffer.GetByte()});
        }
    }
    return item;
}

void Protocol::item_tooltip() {
    ItemDescription item = ReadItemDescription();
    if (inBuffer.Failed() || pendingLooks.empty()) return;
    const PendingLook at = pendingLooks.front();
    pendingLooks.pop_front();
    auto* look = new Look(core, item.name, item.text, item.attributes, item.bonuses,
                          item.requirements, item.twoHanded, at.x, at.y, 0);
    if (item.BareName()) look->lifetimeMs = Look::BareNameLifetimeMs;
    core->AddWindow(look);
}

void Protocol::look_text() {
    const uint32_t memberId = inBuffer.GetU32();
    const uint8_t count = inBuffer.GetByte();
    const ItemDescription bag = ReadItemDescription();
    std::vector<std::string> names;
    for (uint8_t i = 0; i < count && !inBuffer.Failed(); ++i)
        names.push_back(Lower(ReadItemDescription().name));
    if (inBuffer.Failed()) return;
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    Channel* channel = console ? console->FindChannel(PartyChannel) : nullptr;
    if (!channel) return;
    const std::string plain = MakeColorCode(224, 224, 224, 224);
    std::string line = MakeColorCode(170, 224, 170, 224) + "\x95 " +
                       MakeColorCode(255, 255, 255, 255) + core->FindPartyMember(memberId).name +
                       plain + ": " + Lower(bag.name) + " ";
    if (names.empty()) line += "is empty";
    else line += "contains ";
    for (size_t i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        if (i) line += last ? " and " : ", ";
        if (i == 0 || last) line += Article(names[i]);
        line += MakeColorCode(224, 224, 170, 224) + names[i] + plain;
    }
    channel->AppendLine(line + ".");
}
