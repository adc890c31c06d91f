#include "weather.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core.h"
#include "support/recordingdriver.h"
#include "support/worlddata.h"
#include "world.h"

namespace {

constexpr uint32_t Day = 0xFFFFFFFF, Night = 0xFF303040;
constexpr uint32_t DayFlag = 0x80;
constexpr uint32_t Rain(uint32_t level) { return level << 8; }
constexpr uint32_t Snow(uint32_t level) { return level << 11; }

class WeatherTest : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        weather = world->weather;
    }
    void At(uint64_t ms) { core->frameTimeMs = Start + ms; }
    // The ambient colour of the frame at `ms`.
    uint32_t AmbientAt(uint64_t ms) {
        At(ms);
        weather->Render();
        return weather->ambientColour;
    }
    uint32_t Current(uint32_t channel) const { return weather->channels[channel].current; }

    Weather* weather = nullptr;
};

TEST_F(WeatherTest, SetLightStartsOrJumpsToDayAndNight) {
    weather->SetLight(-50);  // a dusk half over: five sixths of the way to the night colour
    EXPECT_EQ(AmbientAt(0), 0xFF52525Fu);
    EXPECT_EQ(weather->mode, Weather::DuskMode);
    EXPECT_EQ(AmbientAt(300000), Night);  // over: night settles
    EXPECT_EQ(weather->mode, Weather::NightMode);
    weather->SetLight(100);
    EXPECT_EQ(AmbientAt(300000), Day);
    EXPECT_EQ(weather->mode, Weather::DayMode);
    weather->SetLight(-100);
    EXPECT_EQ(AmbientAt(300000), Night);
    EXPECT_EQ(weather->mode, Weather::NightMode);
}

TEST_F(WeatherTest, TwilightTintsTheDawnUnlessTheSkyIsCovered) {
    // Dawn at 64 %: night moved 28 % towards the day, then 16 % towards (200, 120, 54).
    weather->SetLight(64);
    EXPECT_EQ(AmbientAt(0), 0xFF786B6Au);
    EXPECT_EQ(weather->daylight, 0xFF786B6Au);
    // Rain of level 2 covers more than a fifth of the sky: no orange.
    weather->Update(DayFlag | Rain(2), true);
    AmbientAt(0);
    EXPECT_EQ(weather->daylight, 0xFF696975u);
}

TEST_F(WeatherTest, LightWords) {
    weather->SetLight(100);
    weather->Update(0, true);  // no darkness, no mist, no rain, no snow
    EXPECT_EQ(AmbientAt(0), weather->daylight);
    EXPECT_EQ(Current(Weather::DarknessChannel), 0xFFFFFFFFu);
    EXPECT_EQ(Current(Weather::TintChannel), 0x00FFFFFFu);
    EXPECT_EQ(weather->RainValue(), 0);
    EXPECT_EQ(weather->SnowValue(), 0);

    weather->Update(DayFlag | 8, true);  // the darkest level, whatever the daylight
    EXPECT_EQ(AmbientAt(0), 0xFF000000u);
    weather->Update(DayFlag | 17, true);  // 17 mod 9 = 8, with mist
    EXPECT_EQ(AmbientAt(0), 0xFF000000u);

    // The same word again without force changes nothing, not even a change under way.
    weather->Update(DayFlag | 3, false);
    const WeatherChannel before = weather->channels[Weather::DarknessChannel];
    At(1000);
    weather->Update(DayFlag | 3, false);
    EXPECT_EQ(weather->channels[Weather::DarknessChannel].startTime, before.startTime);
    EXPECT_EQ(weather->channels[Weather::DarknessChannel].startValue, before.startValue);
}

TEST_F(WeatherTest, ChannelValuesByLevel) {
    struct Case {
        uint32_t word, channel, value;
    } cases[] = {
        {3, Weather::DarknessChannel, 0xFFA0A0A0},
        {8, Weather::DarknessChannel, 0xFF000000},
        {9, Weather::TintChannel, 0x10EFEFF6},
        {9 * 14, Weather::TintChannel, 0xE0121274},
        {Rain(7), Weather::RainChannel, 238},
        {Snow(1), Weather::SnowChannel, 34},
        {Rain(7), Weather::CloudDarknessChannel, 0xFFA0A0A0},  // level 3
        {Snow(4), Weather::CloudDarknessChannel, 0xFFC0C0C0},  // level 2
        {Snow(4) | 1, Weather::CloudTintChannel, 0x20DEDEEC},  // level 2 under a light sky
        {Snow(4) | 2, Weather::CloudTintChannel, 0x00FFFFFF},  // none when darker
        {Rain(4), Weather::CloudTintChannel, 0x00FFFFFF},      // none without snow
    };
    for (const Case& c : cases) {
        weather->Update(c.word, true);
        EXPECT_EQ(Current(c.channel), c.value) << std::hex << c.word << " " << c.channel;
    }
}

TEST_F(WeatherTest, ChangesRunTheirCourseSigned) {
    weather->Update(0, true);
    // Rain 0 to 238: a step of 40 * 2 ms over 250 units, 20 s.
    weather->Update(Rain(7), false);
    EXPECT_EQ(weather->channels[Weather::RainChannel].step, 80u);
    AmbientAt(10000);
    EXPECT_EQ(weather->RainValue(), 119);
    AmbientAt(20000);
    EXPECT_EQ(weather->RainValue(), 238);
}

TEST_F(WeatherTest, TheSnowStartsAtMinusOneAndRisesFromThere) {
    EXPECT_EQ(weather->SnowValue(), -1);
    weather->Update(Snow(1), false);
    EXPECT_EQ(weather->channels[Weather::SnowChannel].step, 122u);  // a difference of 35
    AmbientAt(122 * 250 / 2);
    EXPECT_EQ(weather->SnowValue(), 16);
    AmbientAt(122 * 250);
    EXPECT_EQ(weather->SnowValue(), 34);
}

TEST_F(WeatherTest, AChangeOfNoDurationIsDoneAtOnce) {
    weather->Update(0, true);
    weather->channels[Weather::RainChannel].count = 0;
    weather->Update(Rain(3), false);
    AmbientAt(0);
    EXPECT_EQ(weather->RainValue(), 102);
}

TEST_F(WeatherTest, DarknessChangesItsColourOverTime) {
    weather->SetLight(100);
    weather->Update(DayFlag, true);
    weather->Update(DayFlag | 3, false);  // 0xFF to 0xA0: 119 ms a unit, 50 units
    EXPECT_EQ(weather->channels[Weather::DarknessChannel].step, 119u);
    EXPECT_EQ(AmbientAt(0), Day);
    EXPECT_EQ(AmbientAt(119 * 25), 0xFFCFCFCFu);
    EXPECT_EQ(AmbientAt(119 * 50), 0xFFA0A0A0u);
}

TEST_F(WeatherTest, LightningFlashesByFrame) {
    weather->SetLight(-100);
    weather->Update(0, true);
    weather->AddTimedEffect(0, 1000, 5);
    EXPECT_EQ(AmbientAt(999), Night);
    std::vector<uint32_t> frames;
    for (int frame = 0; frame < 101; ++frame) frames.push_back(AmbientAt(1000 + 16 * frame));
    for (int frame = 0; frame < 101; ++frame) {
        uint32_t expected = Night;
        if (frame == 0 || frame == 7 || frame == 29 || frame == 79 || frame == 84 || frame == 86)
            expected = 0xFFC8C8C8;
        if (frame == 5) expected = 0xFF808080;
        if (frame == 23) expected = 0xFF646464;
        EXPECT_EQ(frames[size_t(frame)], expected) << frame;
    }
    EXPECT_TRUE(weather->lightnings.empty());  // over on frame 99
}

TEST_F(WeatherTest, ShakesHoldFromTheirStartToTheirEnd) {
    weather->AddShake(6, 500, 1000);
    weather->AddShake(3, 0, 2000);
    At(0);
    EXPECT_EQ(weather->GetShakeAmplitude(), 3);
    At(499);
    EXPECT_EQ(weather->GetShakeAmplitude(), 3);
    At(500);
    EXPECT_EQ(weather->GetShakeAmplitude(), 6);
    At(1500);
    EXPECT_EQ(weather->GetShakeAmplitude(), 6);
    At(1501);
    EXPECT_EQ(weather->GetShakeAmplitude(), 3);
    weather->DrawLayer();
    EXPECT_EQ(weather->shakes.size(), 1u);
    At(2001);
    EXPECT_EQ(weather->GetShakeAmplitude(), 0);
    weather->DrawLayer();
    EXPECT_TRUE(weather->shakes.empty());
}

TEST_F(WeatherTest, APinnedLightIgnoresTheServerUntilReleased) {
    weather->SetFixedLight(8);
    EXPECT_EQ(Current(Weather::DarknessChannel), 0xFF000000u);
    weather->Update(0, true);
    EXPECT_EQ(Current(Weather::DarknessChannel), 0xFF000000u);
    weather->SetFixedLight(-1);
    weather->Update(0, true);
    EXPECT_EQ(Current(Weather::DarknessChannel), 0xFFFFFFFFu);
}

TEST_F(WeatherTest, RainOnItsWayMakesTheWorldMapTheOpenSky) {
    core->player = MakeCreature(1, FieldCase::Here, "Me");
    weather->Update(0, true);
    world->skyMaskReady = 0;
    weather->Update(Rain(2), false);
    EXPECT_EQ(weather->RainValue(), 0);
    EXPECT_TRUE(weather->Falling());
    EXPECT_EQ(world->skyMaskReady, 1);
}

TEST_F(WeatherTest, MistDrawsTheCloudLayer) {
    RecordingDriver::Install();
    weather->Update(0, true);
    AmbientAt(0);
    weather->DrawLayer();
    std::vector<std::string> log = RecordingDriver::Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "EndFrame()"), 0);

    weather->Update(9 * 2, true);  // mist level 2: alpha 0x20
    AmbientAt(0);
    weather->DrawLayer();
    log = RecordingDriver::Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "BeginFrame(rt:0)"), 1);
    EXPECT_EQ(log.back(), "DrawTargetTinted(-64,-64,0x20FFFFFF,rt:0)");
}

}  // namespace
