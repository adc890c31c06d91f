#include "weather.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "world.h"

namespace {

constexpr uint32_t Unset = 0xFFFFFFFF;
constexpr uint32_t OpaqueBlack = 0xFF000000;
constexpr uint32_t NightColour = 0xFF303040, DayColour = 0xFFFFFFFF;

// The light word.
constexpr uint32_t LevelMask = 0x7F, DayBit = 7, RainShift = 8, SnowShift = 11, FallMask = 7;
constexpr uint32_t MistLevels = 9;

// Every channel steps 32 ms a count unit until its first change.
constexpr uint32_t ChannelStep = 32;
struct ChannelStart {
    uint32_t kind, base, count, maximum, gain, scale, current;
};
using C = WeatherChannel;
const ChannelStart ChannelStarts[Weather::ChannelCount] = {
    {C::Darkness, 0xFF000000, 50, 119, 2, 1, 0x00FFFFFF},   // darkness
    {C::Tint, 0x806464A0, 50, 119, 2, 1, 0x00FFFFFF},       // mist
    {C::Rain, 0xFF, 250, 238, 2, 2, 0},                     // rain
    {C::Snow, 0xFF, 250, 224, 2, 2, 0xFFFFFFFF},            // snow: -1, none yet
    {C::Darkness, 0xFF000000, 250, 119, 2, 2, 0x00FFFFFF},  // clouds of rain and snow
    {C::Tint, 0x806464A0, 250, 119, 2, 2, 0x00FFFFFF},      // snow clouds
};

// The step of a change from the size of its difference d (times the gain): short changes are
// slower per unit. ((2592 - 5d)d + 8192) / 2688, times the scale.
constexpr int64_t StepQuadratic = 5, StepLinear = 2592, StepConstant = 8192, StepDivisor = 2688;

// Darkness level l: grey (8 - l) * 32; mist level l: alpha 16 l, red and green 256 - 17 l, blue
// 256 - 10 l; rain and snow level l: 34 l.
constexpr int32_t GreyPerLevel = 32, DarkestLevel = 8;
constexpr int32_t MistAlphaPerLevel = 16, MistRedGreenPerLevel = 17, MistBluePerLevel = 10;
constexpr int32_t FallPerLevel = 34;

// Day and night: the mixing share f of the day's part u, the twilight's orange.
constexpr double SlowPart = 0.6, SlowRate = 1.0 / 3, SlowEnd = 0.2, FastRate = 2;
constexpr double TwilightEnd = 0.7, TwilightPeak = 0.65, TwilightRate = 4;
constexpr double CoverLimit = 0.2, CoverScale = 5;
constexpr uint8_t TwilightRed = 200, TwilightGreen = 120, TwilightBlue = 54;
// SetLight: each percent of the change stands for 6000 ms of it.
constexpr int32_t FullChange = 100;
constexpr int64_t MsPerPercent = 6000;

// Lightning, by frame of its sequence.
constexpr uint32_t FlashColour = 0xFFC8C8C8, DimFlashColour = 0xFF808080,
                   FaintFlashColour = 0xFF646464;
constexpr uint32_t LastLightningFrame = 99;

// The cloud layer: its image, the area tiled with skin image 5, its scroll rate and where it lies
// over the world image.
constexpr int32_t CloudWidth = 736, CloudHeight = 608;
constexpr int32_t CloudTileWidth = 864, CloudTileHeight = 736;
constexpr uint16_t CloudSkin = 5;
constexpr float CloudMsPerPixel = 150;
constexpr float CloudX = -64, CloudY = -64;
constexpr uint32_t VisibleCloudAlpha = 2;

uint32_t Byte(uint32_t colour, uint32_t shift) { return colour >> shift & 0xFF; }
uint32_t Alpha(uint32_t colour) { return Byte(colour, 24); }
uint32_t Red(uint32_t colour) { return Byte(colour, 16); }

// Moves the red, green and blue of `from` (and its alpha when asked) towards `to` by f,
// truncated; without alpha the result is opaque.
uint32_t Blend(uint32_t from, uint32_t to, double f, bool withAlpha) {
    uint32_t out = withAlpha ? 0 : OpaqueBlack;
    for (uint32_t shift = 0; shift < (withAlpha ? 32u : 24u); shift += 8) {
        const double a = Byte(from, shift), b = Byte(to, shift);
        out |= uint32_t(a + (b - a) * f) << shift;
    }
    return out;
}

// The per-component minimum of red, green and blue; opaque.
uint32_t Darker(uint32_t a, uint32_t b) {
    uint32_t out = OpaqueBlack;
    for (uint32_t shift = 0; shift < 24; shift += 8)
        out |= std::min(Byte(a, shift), Byte(b, shift)) << shift;
    return out;
}

uint32_t ChannelValue(uint32_t kind, uint32_t level) {
    const int32_t l = int32_t(level);
    switch (kind) {
        case WeatherChannel::Darkness: {
            if (l == 0) return 0xFFFFFFFF;
            const uint32_t g = uint32_t(std::clamp((DarkestLevel - l) * GreyPerLevel, 0, 255));
            return OpaqueBlack | g << 16 | g << 8 | g;
        }
        case WeatherChannel::Tint: {
            if (l == 0) return 0x00FFFFFF;
            const uint32_t alpha = uint32_t(std::min(MistAlphaPerLevel * l, 255));
            const uint32_t c = uint32_t(std::clamp(256 - MistRedGreenPerLevel * l, 0, 255));
            const uint32_t b = uint32_t(std::clamp(256 - MistBluePerLevel * l, 0, 255));
            return alpha << 24 | c << 16 | c << 8 | b;
        }
        default: return uint32_t(FallPerLevel * l);
    }
}

// The elapsed share of a change of `span` ms that started at `start`; a change of no length is
// over.
double Progress(uint64_t now, uint64_t start, double span) {
    if (span <= 0) return 1;
    return std::max(0.0, double(int64_t(now - start)) / span);
}

WeatherChannel DayRecord(uint32_t base, uint32_t maximum, uint32_t current) {
    constexpr uint32_t DayStep = 200, DayCount = 3000;  // 600000 ms a change
    return WeatherChannel{WeatherChannel::DayState,
                          base,
                          DayStep,
                          DayCount,
                          0,
                          maximum,
                          1,
                          1,
                          current,
                          current,
                          current,
                          0};
}

}  // namespace

Weather::Weather(Core* owner) : owner(owner), render(owner->render) { Init(); }

Weather::~Weather() {
    if (cloudTarget) GFX_DeleteRenderTarget(cloudTarget);
}

void Weather::Init() {
    const uint64_t now = owner->frameTimeMs;
    night = DayRecord(NightColour, 1, 0);
    day = DayRecord(DayColour, 224, DayColour);
    currentState = nextState = night;
    daylight = night.base;
    mode = NoMode;
    for (uint32_t i = 0; i < ChannelCount; ++i) {
        const ChannelStart& s = ChannelStarts[i];
        channels[i] = WeatherChannel{s.kind, s.base,  ChannelStep, s.count,   0,         s.maximum,
                                     s.gain, s.scale, s.current,   s.current, s.current, now};
    }
    cloudWidth = CloudWidth;
    cloudHeight = CloudHeight;
    cloudStart = now;
    cloudTarget = GFX_CreateRenderTarget(cloudWidth, cloudHeight, 0, 0, 0);
}

void Weather::Update(uint32_t word, bool force) {
    if (pinned || (word == lightValue && !force)) return;
    lightValue = word;
    const uint32_t level = word & LevelMask, dayBit = word >> DayBit & 1;
    const uint32_t rain = word >> RainShift & FallMask, snow = word >> SnowShift & FallMask;
    if (dayFlag != dayBit) {
        const bool first = dayFlag == Unset;
        dayFlag = dayBit;
        if (first) {
            if (nextState.base != currentState.base) nextState = currentState;
            const bool fromNight = nextState.base == night.base;
            currentState = fromNight ? night : day;
            nextState = fromNight ? day : night;
            mode = fromNight ? DawnMode : DuskMode;
            transitionStart = owner->frameTimeMs;
            daylight = currentState.base;
        }
    }
    const uint32_t darkness = level % MistLevels;
    const uint32_t levels[ChannelCount] = {
        darkness, level / MistLevels,           rain,
        snow,     std::max(rain / 2, snow / 2), snow > 0 && darkness < 2 ? snow / 2 : 0};
    for (uint32_t i = 0; i < ChannelCount; ++i) SetChannelLevel(channels[i], levels[i], force);
    // Rain and snow fall only where the sky is open: the world's mask of it must be there
    // before the first drop.
    if (Falling() && owner->world) owner->world->ComputeSkyMask();
}

bool Weather::Falling() const {
    for (const WeatherChannel* c : {&channels[RainChannel], &channels[SnowChannel]})
        if (int32_t(c->current) > 0 || int32_t(c->target) > 0) return true;
    return false;
}

void Weather::SetChannelLevel(WeatherChannel& channel, uint32_t level, bool immediate) {
    channel.level = level;
    const uint32_t value = ChannelValue(channel.kind, level);
    if (immediate) {
        channel.current = channel.startValue = channel.target = value;
        return;
    }
    channel.startTime = owner->frameTimeMs;
    channel.startValue = channel.current;
    channel.target = value;
    // Differences are signed: the snow starts at -1.
    int64_t d;
    switch (channel.kind) {
        case WeatherChannel::Darkness: d = int64_t(Red(channel.current)) - Red(value); break;
        case WeatherChannel::Tint: d = int64_t(Alpha(channel.current)) - Alpha(value); break;
        default: d = int64_t(int32_t(channel.current)) - int32_t(value);
    }
    const int64_t size = std::abs(d) * channel.gain;
    const int64_t step =
        ((StepLinear - StepQuadratic * size) * size + StepConstant) / StepDivisor * channel.scale;
    channel.step = uint32_t(std::max<int64_t>(step, 0));
    // A change that would last no time is done at once.
    if (step <= 0) channel.current = channel.startValue = channel.target;
}

void Weather::StepChannel(WeatherChannel& channel) {
    if (channel.target == channel.startValue) return;
    const double t = Progress(owner->frameTimeMs, channel.startTime,
                              double(channel.step) * double(channel.count));
    if (t >= 1) {
        channel.startValue = channel.current = channel.target;
        return;
    }
    switch (channel.kind) {
        case WeatherChannel::Darkness:
            channel.current = Blend(channel.startValue, channel.target, t, false);
            break;
        case WeatherChannel::Tint:
            channel.current = Blend(channel.startValue, channel.target, t, true);
            break;
        default: {
            const double from = int32_t(channel.startValue), to = int32_t(channel.target);
            channel.current = uint32_t(int32_t(from + (to - from) * t));
        }
    }
}

void Weather::SetLight(int32_t value) {
    if (value == 0) owner->FatalError("unknown light value: 0");
    const bool toNight = value < 0;
    const int32_t done = std::abs(value);
    dayFlag = toNight ? 0 : 1;
    nextState = toNight ? night : day;
    if (done == FullChange) {
        currentState = nextState;
        mode = toNight ? NightMode : DayMode;
        return;
    }
    currentState = toNight ? day : night;
    transitionStart = owner->frameTimeMs - uint64_t(MsPerPercent * done);
    mode = toNight ? DuskMode : DawnMode;
}

void Weather::SetFixedLight(int32_t word) {
    pinned = 0;
    pinnedWord = word;
    if (word == -1) return;
    Update(uint32_t(word), true);
    pinned = 1;
}

void Weather::DaylightStep() {
    if (currentState.base == nextState.base) {
        daylight = nextState.base;
        return;
    }
    const double t = Progress(owner->frameTimeMs, transitionStart,
                              double(nextState.step) * double(nextState.count));
    if (t >= 1) {
        daylight = nextState.base;
        currentState = nextState;
        mode = daylight != day.base ? NightMode : DayMode;
        return;
    }
    const bool dusk = mode == DuskMode;
    const double u = dusk ? 1 - t : t;
    double f = u < SlowPart ? u * SlowRate : SlowEnd + FastRate * (u - SlowPart);
    if (dusk) f = 1 - f;
    daylight = TwilightTint(Blend(currentState.base, nextState.base, f, false), u);
}

uint32_t Weather::TwilightTint(uint32_t colour, double u) const {
    if (u < SlowPart || u >= TwilightEnd) return colour;
    double a = TwilightRate * (u < TwilightPeak ? u - SlowPart : std::fabs(u - TwilightEnd));
    for (const WeatherChannel& channel : channels)
        a *= (CoverLimit - std::min(CoverLimit, ChannelCoverage(channel))) * CoverScale;
    const uint32_t orange =
        uint32_t(TwilightRed) << 16 | uint32_t(TwilightGreen) << 8 | TwilightBlue;
    return Blend(colour, orange, a, false);
}

double Weather::ChannelCoverage(const WeatherChannel& channel) {
    const double maximum = channel.maximum;
    double cover;
    switch (channel.kind) {
        case WeatherChannel::Darkness: cover = 1 - Byte(channel.current, 0) / maximum; break;
        case WeatherChannel::Tint: cover = Alpha(channel.current) / maximum; break;
        default: cover = int32_t(channel.current) / maximum;
    }
    return std::clamp(cover, 0.0, 1.0);
}

void Weather::AddShake(uint32_t amplitude, int32_t delay, int32_t duration) {
    const uint64_t start = owner->frameTimeMs + uint64_t(int64_t(delay));
    shakes.push_back(Shake{int32_t(amplitude), start, start + uint64_t(int64_t(duration))});
}

int32_t Weather::GetShakeAmplitude() const {
    const uint64_t now = owner->frameTimeMs;
    int32_t amplitude = 0;
    for (const Shake& shake : shakes)
        if (shake.start <= now && now <= shake.end)
            amplitude = std::max(amplitude, shake.amplitude);
    return amplitude;
}

void Weather::PurgeShakes() {
    const uint64_t now = owner->frameTimeMs;
    shakes.erase(std::remove_if(shakes.begin(), shakes.end(),
                                [now](const Shake& shake) { return shake.end < now; }),
                 shakes.end());
}

void Weather::AddTimedEffect(uint32_t value, int32_t delay, int32_t duration) {
    Lightning lightning{};
    lightning.value = value;
    lightning.start = owner->frameTimeMs + uint64_t(int64_t(delay));
    lightning.end = lightning.start + uint64_t(int64_t(duration));
    lightnings.push_back(lightning);
}

void Weather::AddWind(float dx, float dy) {
    windX += dx;
    windY += dy;
}

void Weather::Render() {
    DaylightStep();
    uint32_t ambient = daylight;
    for (WeatherChannel& channel : channels) StepChannel(channel);

    const uint64_t now = owner->frameTimeMs;
    auto due = std::find_if(lightnings.begin(), lightnings.end(),
                            [now](const Lightning& l) { return l.start <= now; });
    if (due != lightnings.end()) {
        const uint32_t frame = due->started ? due->frame : 0;
        due->started = 1;
        due->frame = frame + 1;
        switch (frame) {
            case 0:
            case 7:
            case 29:
            case 79:
            case 84:
            case 86: ambient = FlashColour; break;
            case 5: ambient = DimFlashColour; break;
            case 23: ambient = FaintFlashColour; break;
            case LastLightningFrame: due->done = 1; break;
            default: break;
        }
    }
    auto over = std::find_if(lightnings.begin(), lightnings.end(),
                             [](const Lightning& l) { return l.done != 0; });
    if (over != lightnings.end()) lightnings.erase(over);

    for (uint32_t i : {DarknessChannel, TintChannel, CloudDarknessChannel, CloudTintChannel})
        ambient = Darker(ambient, channels[i].current);
    ambientColour = ambient;
    RenderClouds();
}

uint32_t Weather::CloudAlpha() const {
    return std::max(Alpha(channels[TintChannel].current),
                    Alpha(channels[CloudTintChannel].current));
}

// Frames do not nest: the layer waits for a frame drawn outside another.
void Weather::RenderClouds() {
    if (CloudAlpha() < VisibleCloudAlpha || !render || !cloudTarget || gfxState.frameOpen) return;
    if (!GFX_PrepareRenderTarget(cloudTarget)) return;
    const float scroll = float(owner->frameTimeMs - cloudStart) / CloudMsPerPixel;
    GFX_BeginFrame(cloudTarget);
    render->DrawSkinTiledF(0, 0, CloudTileWidth, CloudTileHeight, windX - scroll, windY - scroll,
                           CloudSkin);
    GFX_EndFrame();
}

void Weather::DrawLayer() {
    const uint32_t alpha = CloudAlpha();
    if (alpha >= VisibleCloudAlpha && cloudTarget && !GFX_CheckRenderTarget(cloudTarget))
        GfxDriver::DrawTargetTinted(CloudX, CloudY, alpha << 24 | 0xFFFFFF, cloudTarget);
    PurgeShakes();
}
