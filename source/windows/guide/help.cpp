#include "windows/guide/help.h"

#include <algorithm>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"
#include "windows/game/action.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/weblink.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t WindowWidth = 600, WindowHeight = 595;
constexpr uint32_t LabelColour = 0xCEFFFFFF, White = 0xFFFFFFFF;
constexpr int32_t LanguageBoxX = 103, LanguageBoxY = 57, LanguageBoxW = 120, LanguageBoxH = 26;
// The box's last pixels do not open the menu.
constexpr int32_t LanguageHotWidth = 110;
constexpr int32_t PageX = 249, PageY = 63, PageLineHeight = 12;
constexpr int32_t LinkButtonX = 248;
constexpr uint16_t SkinImage = 1;
// The second page's pictures stand lower in Portuguese, whose key paragraph is longer.
constexpr int32_t MovementPicturesY[] = {169, 193};
constexpr size_t MovementPage = 1, ChannelsPage = 5;
constexpr char HelpChannel[] = "Help";

}  // namespace

Help::Help(Core* core) : Window(core) { Build(); }

Help::~Help() {
    for (List* pageListOfLanguage : pageLists) delete pageListOfLanguage;
    list = nullptr;
}

void Help::Build() {
    pageList = nullptr;
    width = WindowWidth;
    height = WindowHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    ResetLayout();
    movable = 1;
    modal = 1;
    CreateSurface();
    name = "Guide on how to play Veltor";
    typeId = WindowType::Help;
    font = core->GetFont(2);
    listRect = {38, 99, 185, 432};
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
    AddPushButton(LinkButtonX, 227, HelpChannelButton, "help");
    AddPushButton(LinkButtonX, 311, WikiButton, "wiki");
    AddPushButton(LinkButtonX, 371, DiscordButton, "discord");
}

void Help::OnOpen() {
    BuildEnglishGuide();
    BuildPortugueseGuide();
    languageIndex = 0;
    for (size_t i = 0; i < languageNames.size(); ++i)
        if (languageNames[i] == core->language) languageIndex = uint8_t(i);
    pageList = list = pageLists[languageIndex];
    ShowLinkButtons(pageList->selected == 0);
    dirty = 1;
}

void Help::BeginLanguage(const std::string& languageName) {
    languageNames.push_back(languageName);
    languageIndex = uint8_t(languageNames.size() - 1);
    pageList = new List(core, this, listRect.x, listRect.y, listRect.w, listRect.h);
    pageLists.push_back(pageList);
    pageBodies[languageIndex];
}

void Help::AddPage(const std::string& title, const std::string& body) {
    pageList->AddItem(title);
    pageBodies[languageIndex].push_back(body);
}

std::string Help::PlayerName() const { return core->player ? core->player->GetName() : "newcomer"; }

void Help::SetLanguage(uint8_t index) {
    if (index >= pageLists.size() || !pageList) return;
    const int32_t page = pageList->selected;
    languageIndex = index;
    pageList = list = pageLists[index];
    pageList->Select(page);
    core->language = languageNames[index];
    dirty = 1;
}

void Help::OnListSelect(int32_t index) {
    dirty = 1;
    ShowLinkButtons(index == 0);
}

void Help::ShowLinkButtons(bool shown) {
    for (uint32_t id : {HelpChannelButton, WikiButton, DiscordButton})
        if (Button* button = FindButton(id)) button->visible = shown;
}

void Help::OnMouseUp(int32_t mx, int32_t my) {
    Window::OnMouseUp(mx, my);
    if (mx < x + LanguageBoxX || mx >= x + LanguageBoxX + LanguageHotWidth ||
        my < y + LanguageBoxY || my >= y + LanguageBoxY + LanguageBoxH)
        return;
    auto* menu = new Action(core, this, "", 0);
    for (const std::string& languageName : languageNames)
        menu->AddEntry(ActionCode::GuideLanguage, languageName);
    menu->Open(mx, my);
    core->AddWindow(menu);
}

void Help::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (pageList) pageList->Place(0, 0);
}

void Help::OnSubmit() { core->RemoveWindow(this); }

void Help::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close:
        case ButtonId::Ok: core->RemoveWindow(this); return;
        case HelpChannelButton: OpenHelpChannel(); return;
        case DiscordButton: OpenWebPage(DiscordInvite); return;
        case WikiButton: OpenWebPage(WikiMainPage); return;
        default: return;
    }
}

void Help::OpenHelpChannel() {
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    Chatbox* chat = console ? console->mainChatbox : nullptr;
    if (!chat) return;
    if (!chat->FindChannelByName(HelpChannel)) chat->JoinStandardChannel(HelpChannel);
    chat->SelectChannelByName(HelpChannel);
}

// --- Drawing ------------------------------------------------------------------------------------

void Help::PaintContent() {
    PaintBoxBackground();
    render->DrawFrame1(LanguageBoxX, LanguageBoxY, LanguageBoxW, LanguageBoxH);
    if (!font) return;
    font->DrawText(40, 66, "Language", LabelColour);
    if (languageIndex < languageNames.size())
        font->DrawText(112, 66, languageNames[languageIndex], White);
    const auto found = pageBodies.find(languageIndex);
    if (!pageList || found == pageBodies.end() || pageList->selected < 0 ||
        size_t(pageList->selected) >= found->second.size())
        return;
    lines.clear();
    LayoutPage(found->second[size_t(pageList->selected)]);
    for (size_t i = 0; i < lines.size(); ++i)
        font->DrawTextSmileys(PageX, PageY + PageLineHeight * int32_t(i), lines[i]);
    PaintPictures();
}

void Help::PaintPictures() {
    const size_t page = size_t(pageList->selected);
    if (page == MovementPage) {
        const int32_t top = MovementPicturesY[std::min<size_t>(languageIndex, 1)];
        render->DrawSkinPart(322, top, 299, 188, 70, 47, SkinImage);
        render->DrawSkinPart(409, top, 369, 188, 70, 47, SkinImage);
    } else if (page == ChannelsPage) {
        render->DrawSkinPart(PageX, 131, 0, 64, 18, 16, SkinImage);
    }
}

void Help::Paint() {
    PaintCached([this] { PaintContent(); });
    if (pageList) pageList->Paint();
}

void Help::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
    if (pageList) pageList->Draw();
}

// --- Layout -------------------------------------------------------------------------------------

void Help::LayoutPage(std::string body) {
    if (!font) return;
    std::string colour;
    while (!body.empty()) {
        body.insert(0, colour);
        const size_t start = colour.size();
        const int32_t fit = font->LayoutLines(body, nullptr, LineWidth);
        const Font::LineBreak at = font->BreakLine(body, start, size_t(fit), LineWidth);
        // The line keeps the space or line feed it ends at.
        const size_t taken = std::min(at.hyphen ? at.end : at.next, body.size());
        const std::string line = body.substr(0, taken) + (at.hyphen ? "-" : "");
        lines.push_back(line);
        Font::CarryColours(body, at.next, &colour);
        body.erase(0, std::min(at.next, body.size()));
        if (line.back() == '\v') lines.emplace_back();
    }
}
