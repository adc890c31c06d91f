#pragma once
// A Core for the front screens: the test core with a window for the connections' socket events
// and a loopback server as the configured game server, so that a submit that connects can be
// seen reaching the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "config.h"
#include "core.h"
#include "support/fakeplatform.h"
#include "support/loopbackserver.h"
#include "support/recordingdriver.h"
#include "support/startup.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/status.h"
#include "windows/toolkit/window.h"

class FrontScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        socketWindow = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       nullptr, nullptr);
        core->hwnd = socketWindow;
        core->host = "127.0.0.1";
        core->port = std::to_string(server.port);
    }
    void TearDown() override {
        core.reset();
        DestroyWindow(socketWindow);
        DrainMessages();
    }

    template <class Dialog>
    Dialog* Open(Dialog* window) {
        core->AddWindow(window)->OnOpen();
        return window;
    }
    bool Listed(const Window* window) const {
        return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
    }
    // Fires a button of the window, as a click on it does.
    void Press(Window* window, uint32_t id) {
        Button* button = window->FindButton(id);
        ASSERT_NE(button, nullptr) << "button " << id;
        window->OnCommand(button);
    }
    void Type(const std::string& text) {
        ASSERT_NE(core->focusedInput, nullptr);
        for (char c : text) core->focusedInput->OnChar(static_cast<uint8_t>(c));
    }
    // Every message box open, as "title: text".
    std::vector<std::string> Messages() const {
        std::vector<std::string> shown;
        for (Window* window : core->windows)
            if (auto* box = dynamic_cast<Message*>(window))
                shown.push_back(box->name + ": " + box->text);
        return shown;
    }
    bool ConnectingShown() const {
        for (Window* window : core->windows) {
            auto* box = dynamic_cast<Status*>(window);
            if (box && box->kind == Status::Connecting) return true;
        }
        return false;
    }
    // Whether a client connection reaches the loopback server within a moment.
    bool ServerReached() {
        for (int tries = 0; tries < 200; ++tries) {
            if (server.Accept()) return true;
            Sleep(5);
        }
        return false;
    }
    // What painting the window's surface and drawing it log.
    std::vector<std::string> DrawLog(Window* window) {
        RecordingDriver::Install();
        window->dirty = 1;
        window->Paint();
        window->Draw();
        std::vector<std::string> log = RecordingDriver::Take();
        UseNullDriver();
        return log;
    }

    // A settings file in a folder of the test's own, so that its writing can be seen.
    void UseSettingsFile() {
        folder = std::make_unique<TemporaryFolder>();
        CreateDirectoryA("data", nullptr);
        core->config = new Config(core.get(), SettingsPath);
        std::remove(SettingsPath);
    }
    // Whether the settings file was written since the last look.
    bool SettingsWritten() {
        FILE* file = std::fopen(SettingsPath, "rb");
        if (!file) return false;
        std::fclose(file);
        std::remove(SettingsPath);
        return true;
    }

    static constexpr const char* SettingsPath = "data/Veltor.config";
    std::unique_ptr<TemporaryFolder> folder;
    FakePlatform fake;
    std::unique_ptr<Core> core = MakeTestCore();
    LoopbackServer server;
    HWND socketWindow = nullptr;
};
