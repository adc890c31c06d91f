#pragma once
// Weather and daylight: the ambient colour of the world (day, night and the 600000-ms changes
// between them, tinted orange at twilight, darkened by mist and clouds, flashed by lightning), the
// rain and snow the world draws, a scrolling cloud layer over the field, and the screen shakes.
#include <cstdint>
#include <vector>

class Core;
class Render;
struct GfxRenderTarget;

// One animated value: a colour or an amount that moves from its start to its target over
// step * count ms.
struct WeatherChannel {
    static constexpr uint32_t DayState = 0, Darkness = 1, Tint = 2, Rain = 3, Snow = 4;
    uint32_t kind;
    uint32_t base;   // the record's colour or value of reference
    uint32_t step;   // milliseconds per count unit
    uint32_t count;  // count units a change lasts
    uint32_t level = 0;
    uint32_t maximum;
    uint32_t gain;
    uint32_t scale;
    uint32_t current;
    uint32_t target;
    uint32_t startValue;
    uint64_t startTime = 0;
};

// A lightning sequence, counted in frames once its start has passed.
struct Lightning {
    uint32_t value;
    uint64_t start, end;
    uint8_t started = 0, done = 0;
    uint32_t frame = 0;
};

struct Shake {
    int32_t amplitude;
    uint64_t start, end;
};

class Weather {
public:
    // The channels, by index.
    enum : uint32_t {
        DarknessChannel,
        TintChannel,
        RainChannel,
        SnowChannel,
        CloudDarknessChannel,
        CloudTintChannel,
        ChannelCount
    };
    // Where the day stands.
    enum Mode : int32_t { NoMode = -1, DayMode, NightMode, DuskMode, DawnMode };

    explicit Weather(Core* owner);
    virtual ~Weather();
    Weather(const Weather&) = delete;
    Weather& operator=(const Weather&) = delete;

    // Applies a light word: bits 0..6 the light level (mist * 9 + darkness), bit 7 the day flag,
    // bits 8..10 rain, 11..13 snow. A repeated word changes nothing unless forced; forced, the
    // channels take their new values at once.
    void Update(uint32_t word, bool force);
    // Day (above 0) or night (below 0), as the percentage of the change already done; 100 and
    // -100 switch at once; 0 is fatal.
    void SetLight(int32_t value);
    // Applies a word at once and keeps it until released with -1; the server's words are ignored
    // meanwhile.
    void SetFixedLight(int32_t word);
    void AddShake(uint32_t amplitude, int32_t delay, int32_t duration);
    // The largest shake under way; 0 when there is none.
    int32_t GetShakeAmplitude() const;
    // Queues a lightning sequence.
    void AddTimedEffect(uint32_t value, int32_t delay, int32_t duration);
    // The cloud layer follows the player's steps.
    void AddWind(float dx, float dy);
    // Per frame, before drawing: the ambient colour and the cloud layer.
    void Render();
    // Per frame, inside the world image: the cloud layer; then the ended shakes go.
    void DrawLayer();
    // What the world draws of rain and snow; 0 and below: none.
    int32_t RainValue() const { return int32_t(channels[RainChannel].current); }
    int32_t SnowValue() const { return int32_t(channels[SnowChannel].current); }
    // Whether rain or snow falls or is on its way: the world keeps its mask of the open sky.
    bool Falling() const;

    Core* owner;
    ::Render* render;
    WeatherChannel night, day;
    WeatherChannel currentState, nextState;
    uint64_t transitionStart = 0;
    uint32_t daylight;  // 0xAARRGGBB
    int32_t mode = NoMode;
    WeatherChannel channels[ChannelCount];
    std::vector<Lightning> lightnings;
    std::vector<Shake> shakes;
    uint32_t ambientColour = 0xFFFFFFFF;  // 0xAARRGGBB, what the light grid starts from
    uint32_t lightValue = 0xFFFFFFFF;     // the last light word; none yet
    uint32_t dayFlag = 0xFFFFFFFF;        // none yet
    int32_t pinnedWord = -1;
    uint8_t pinned = 0;
    GfxRenderTarget* cloudTarget = nullptr;
    int32_t cloudWidth, cloudHeight;
    uint64_t cloudStart = 0;
    float windX = 0, windY = 0;

private:
    void Init();
    void SetChannelLevel(WeatherChannel& channel, uint32_t level, bool immediate);
    void StepChannel(WeatherChannel& channel);
    // The daylight colour of the day or night change under way.
    void DaylightStep();
    // The orange of sunset and sunrise over the part u of the change; a sky covered by mist,
    // clouds, rain or snow shows less of it.
    uint32_t TwilightTint(uint32_t colour, double u) const;
    // How much a channel covers the sky now, 0 to 1.
    static double ChannelCoverage(const WeatherChannel& channel);
    void PurgeShakes();
    // The cloud layer shows with the stronger alpha of the two mist channels.
    uint32_t CloudAlpha() const;
    void RenderClouds();
};
