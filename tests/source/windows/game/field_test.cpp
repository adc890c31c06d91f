#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "support/creatureworld.h"
#include "support/fakeplatform.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "weather.h"
#include "windows/game/console.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"
#include "world.h"

namespace {

using Log = std::vector<std::string>;

// The game field of an 800 x 600 client, over a world with the player in it.
class FieldTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        console = static_cast<Console*>(core->AddWindow(new Console(core.get())));
        padding = static_cast<Padding*>(core->AddWindow(new Padding(core.get(), console)));
        field = padding->field;
        core->fieldWindow = field;
        SpawnPlayer({100, 100, 7});
        RecordingDriver::Install();
    }
    void TearDown() override {
        UseNullDriver();
        CreatureWorld::TearDown();
    }

    // The driver calls of one of the field's operations, on the screen's frame for Draw.
    Log Painted() {
        RecordingDriver::Take();
        field->Paint();
        return RecordingDriver::Take();
    }
    Log Drawn() {
        RecordingDriver::Take();
        GFX_BeginFrame(nullptr);
        field->Draw();
        GFX_EndFrame();
        Log log = RecordingDriver::Take();
        log.erase(log.begin());  // the frame's own calls
        log.pop_back();
        return log;
    }
    // A viewport as wide as the view, so that a view pixel is a screen pixel.
    void ViewSized() {
        field->x = 10;
        field->y = 20;
        field->width = Field::SurfaceWidth;
        field->height = Field::SurfaceHeight;
        field->fadeIn = 0;
    }

    FakePlatform fake;
    Console* console = nullptr;
    Padding* padding = nullptr;
    Field* field = nullptr;
};

TEST_F(FieldTest, TheSurfaceHoldsTheWholeViewAndFiltersUnlessPixel) {
    ASSERT_NE(field->surface, nullptr);
    EXPECT_EQ(field->surface->width, 608);
    EXPECT_EQ(field->surface->height, 480);
    EXPECT_EQ(field->surface->flags & GfxFlagLinear, GfxFlagLinear);

    core->options.pixel = 1;
    field->dirty = 0;
    field->ApplyEsthetics();
    ASSERT_NE(field->surface, nullptr);
    EXPECT_EQ(field->surface->flags & GfxFlagLinear, 0u);
    EXPECT_EQ(field->surface->width, 608);
    EXPECT_TRUE(field->dirty);
}

// The world is drawn into the surface every frame, dirty or not.
TEST_F(FieldTest, EveryFrameRendersTheWorldIntoTheSurface) {
    for (int frame = 0; frame < 2; ++frame) {
        const Log log = Painted();
        const auto begin = std::find(log.begin(), log.end(), "BeginFrame(rt:0)");
        ASSERT_NE(begin, log.end());
        EXPECT_EQ(log.back(), "EndFrame()");
        EXPECT_FALSE(field->dirty);
    }
    EXPECT_FALSE(field->shaking);

    // A shake moves the picture by a random amount up to half the amplitude either way.
    world->weather->AddShake(4, 0, 1000);
    FakePlatform::randoms = {9, 5};
    Painted();
    EXPECT_TRUE(field->shaking);
    EXPECT_EQ(field->shakeX, 2.0f);   // 9 mod 5 - 2
    EXPECT_EQ(field->shakeY, -2.0f);  // 5 mod 5 - 2

    // Without a world there is nothing to render.
    core->world = nullptr;
    const Log alone = Painted();
    EXPECT_EQ(std::find(alone.begin(), alone.end(), "BeginFrame(rt:0)"), alone.end());
    core->world = world;
}

// The world is drawn at whole pixels of the camera's scroll; the field moves the picture by the
// rest, or with `elastic` shows the part of the view the scroll points at.
TEST_F(FieldTest, ThePictureFollowsTheCameraScroll) {
    ViewSized();
    world->lightingEnabled = 0;
    world->scrollX = 2.5f;
    world->scrollY = -1.25f;
    // The picture, then the world's pass over it, which ends with the light switched off.
    EXPECT_EQ(Drawn(), (Log{"DrawTargetScaled(6.5,16.25,614,486,rt:0)", "ApplyOverlay(null)"}));
    core->options.elastic = 1;
    EXPECT_EQ(Drawn(), (Log{"DrawTargetPartScaled(7,17,614,486,18.5,14.75,576,448,rt:0)",
                            "ApplyOverlay(null)"}));
}

TEST_F(FieldTest, TheFieldFadesInFromBlack) {
    const struct {
        uint64_t ms;
        const char* fill;  // null: no black any more
    } cases[] = {
        {0, "FillRect(164,6,471,372,0xFF000000,0x3)"},
        {300, "FillRect(164,6,471,372,0x69000000,0x3)"},
        {511, "FillRect(164,6,471,372,0x0,0x3)"},
        {512, nullptr},
        {0, nullptr},  // once over, it stays over
    };
    for (const auto& c : cases) {
        At(c.ms);
        const Log log = Drawn();
        const auto fill = std::find_if(log.begin(), log.end(), [](const std::string& call) {
            return call.rfind("FillRect(", 0) == 0;
        });
        if (c.fill) {
            ASSERT_NE(fill, log.end()) << c.ms;
            EXPECT_EQ(*fill, c.fill);
        } else {
            EXPECT_EQ(fill, log.end()) << c.ms;
        }
    }
    EXPECT_EQ(field->fadeIn, 0);
}

// Without its frame a field is never under the pointer and keeps its place.
TEST_F(FieldTest, AFieldWithoutFrame) {
    Field alone(core.get(), nullptr);
    EXPECT_EQ(alone.GetRect().w, 0);
    alone.Place(800, 600);
    alone.GiveConsoleRect(300);
    EXPECT_EQ(alone.GetRect().w, 0);
    EXPECT_FALSE(alone.HitTest(0, 0));
    EXPECT_EQ(alone.typeId, 14u);
}

}  // namespace
