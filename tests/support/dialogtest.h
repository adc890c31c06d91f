#pragma once
// The game dialogs under test: a game connection whose requests the test reads back, the
// recording driver, and readers of the message boxes and the drawn texts.
#include <cstdint>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "support/drawntext.h"
#include "support/gamemessages.h"
#include "support/hexbytes.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/window.h"

class DialogTest : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        RecordingDriver::Install();
        FakePlatform::wallClock = 1'700'000'000'000ull;
        FakePlatform::wallClockStep = 0;
    }
    void TearDown() override {
        UseNullDriver();
        GameMessages::TearDown();
    }

    template <typename W>
    W* Open(W* window) {
        core->AddWindow(window)->OnOpen();
        return window;
    }

    // The requests sent since the last look, in hexadecimal.
    std::vector<std::string> Sent() {
        std::vector<std::string> sent;
        for (const std::vector<uint8_t>& payload : connection->SentSinceLastCall())
            sent.push_back(ToHex(payload));
        return sent;
    }

    // The topmost message box as "title: text", or "" without one.
    std::string LastBox() const {
        for (auto it = core->windows.rbegin(); it != core->windows.rend(); ++it)
            if (auto* box = dynamic_cast<Message*>(*it)) return box->name + ": " + box->text;
        return "";
    }
    void CloseBoxes() {
        for (Window* window : std::vector<Window*>(core->windows))
            if (dynamic_cast<Message*>(window)) core->RemoveWindow(window);
    }

    bool IsOpen(const Window* window) const {
        for (const Window* listed : core->windows)
            if (listed == window) return true;
        return false;
    }

    // What one frame draws of the window, its painted content included (the cached surface is
    // dropped so that the content is drawn straight onto the screen).
    std::vector<DrawnText> Drawn(Window* window) {
        if (window->surface) {
            GFX_DeleteRenderTarget(window->surface);
            window->surface = nullptr;
        }
        RecordingDriver::Take();
        GFX_BeginFrame(nullptr);
        window->Draw();
        GFX_EndFrame();
        return DrawnTexts(RecordingDriver::Take());
    }
    std::vector<std::string> DrawnIn(Window* window, uint32_t colour) {
        std::vector<std::string> texts;
        for (const DrawnText& text : Drawn(window))
            if (text.colour == colour) texts.push_back(text.text);
        return texts;
    }
    // The first run of the text, or one with an empty text.
    static DrawnText Find(const std::vector<DrawnText>& drawn, const std::string& text) {
        for (const DrawnText& run : drawn)
            if (run.text == text) return run;
        return {0, 0, 0, ""};
    }

    // A string field as the wire carries it: a length byte and the bytes.
    static std::string Str(const std::string& text) {
        return ToHex(std::vector<uint8_t>{uint8_t(text.size())}) +
               ToHex(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }
    static std::string U32(uint32_t value) {
        return ToHex(std::vector<uint8_t>{uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                                          uint8_t(value >> 24)});
    }
    static std::string U16(uint16_t value) {
        return ToHex(std::vector<uint8_t>{uint8_t(value), uint8_t(value >> 8)});
    }
};
