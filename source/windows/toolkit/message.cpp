#include "windows/toolkit/message.h"

#include "core.h"
#include "font.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/weblink.h"
#include "windows/toolkit/windowtypes.h"

Message::Message(Core* core, std::string title, std::string text, int32_t kind)
    : Window(core), text(std::move(text)), kind(kind) {
    name = std::move(title);
    Build();
}

void Message::Build() {
    ResetLayout();
    font = core->GetFont(2);
    FittedText fitted = FitBoxText(text, 0, BoxFrameWidth, BoxFrameHeight);
    fittedText = std::move(fitted.text);
    width = fitted.width;
    height = fitted.height;
    x = y = 0;
    movable = 1;
    Place(static_cast<int32_t>(core->clientWidth), static_cast<int32_t>(core->clientHeight));
    CreateSurface();
    modal = 1;
    typeId = WindowType::Message;
    titleHeight = 22;
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
}

void Message::PaintContent() {
    PaintBoxBackground();
    if (font) font->DrawText(32, 51, fittedText, BoxTextColour);
}

void Message::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Message::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
}

void Message::OnSubmit() { core->RemoveWindow(this); }

void Message::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Message::OnCommand(Button* button) {
    if (button->id == ButtonId::Ok) {
        if (!link.empty()) OpenWebPage(link);
        core->RemoveWindow(this);
    } else if (button->id == ButtonId::Close) {
        core->RemoveWindow(this);
    }
}
