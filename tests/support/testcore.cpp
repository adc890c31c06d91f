#include "support/testcore.h"

#include <gtest/gtest.h>

#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"

Core::Core(Unstarted) {
    ResetDefaults();
    options = {};
    for (uint32_t& key : keys) key = 0;
    moveMultiplier = 1;
}

Font* MakeTestFont(Core* core, uint32_t id) {
    std::vector<FontGlyphRecord> glyphs;
    for (uint16_t code = 32; code < 256; ++code)
        glyphs.push_back(
            {code,
             {static_cast<uint16_t>(6 * (code % 16)), static_cast<uint16_t>(9 * (code / 16)), 6, 9,
              static_cast<uint16_t>(TestGlyphAdvance)}});
    GfxImage* image = GFX_CreateImage(96, 144, nullptr, 0, 0, id);
    return new Font(core, id, image, TestLetterSpacing, TestLineHeight, glyphs);
}

void UseNullDriver() {
    // A refused frame would show a message box and wait for a click: fail the test instead.
    gfxMessageBox = [](const char* title, const char* text) {
        ADD_FAILURE() << "message box " << title << ": " << text;
    };
    GFX_Init(DriverNull, 0, 'F');
    GFX_Configure(800, 600, 0, 4);
    GFX_FlushConfig();
    GFX_ResetClip();  // the whole screen, as a frame starts, whatever an earlier test left
}

std::unique_ptr<Core> MakeTestCore() {
    UseNullDriver();
    auto core = std::make_unique<Core>(Core::Unstarted{});
    core->clientWidth = 800;
    core->clientHeight = 600;
    core->render = new Render(core.get());
    for (uint32_t id : {1u, 2u}) core->AddFont(id, MakeTestFont(core.get(), id));
    return core;
}
