#pragma once
#include "windows/front/optionpage.h"

// The looks of the world: names, pixelated drawing, the elastic camera and fading layers. The
// last three apply at once to a world that is shown.
class GeneralEsthetics : public OptionPage {
public:
    static constexpr uint32_t PixelBox = 86;
    static constexpr uint32_t ElasticBox = 88;
    static constexpr uint32_t LayersBox = 89;

    explicit GeneralEsthetics(Core* core);

    void Build() override;

private:
    void Toggle(const OptionRow& row, Button* box) override;
    Window* Back() override;
};
