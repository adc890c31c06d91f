#include "windows/front/generalesthetics.h"

#include "core.h"
#include "windows/front/general.h"
#include "windows/game/field.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

GeneralEsthetics::GeneralEsthetics(Core* core)
    : OptionPage(core, {
                           {44, &Options::names, "Creatures: show names"},
                           {PixelBox, &Options::pixel, "World: pixelated graphics"},
                           {ElasticBox, &Options::elastic, "Camera: moving elastic"},
                           {LayersBox, &Options::layers, "Layers: fade transition"},
                       }) {
    Build();
}

void GeneralEsthetics::Build() { BuildRows("Esthetics", WindowType::GeneralEsthetics, 224, 175); }

void GeneralEsthetics::Toggle(const OptionRow& row, Button*) {
    Flip(row);
    switch (row.id) {
        case PixelBox:
            if (auto* field = dynamic_cast<Field*>(core->FindWindow(WindowType::Field)))
                field->ApplyEsthetics();
            core->OnResize();
            break;
        case ElasticBox:
            if (!core->world) break;
            core->OnResize();
            core->world->ResetView();
            break;
        case LayersBox:
            if (core->world) core->world->SetSmoothRendering(core->options.layers != 0);
            break;
        default: break;
    }
}

Window* GeneralEsthetics::Back() { return new General(core); }
