#include "windows/front/generalinterface.h"

#include "control.h"
#include "core.h"
#include "screen.h"
#include "windows/front/general.h"
#include "windows/toolkit/windowtypes.h"

GeneralInterface::GeneralInterface(Core* core)
    : OptionPage(core,
                 {
                     {WidescreenBox, &Options::widescreen, "Mode: widescreen"},
                     {LosslessBox, &Options::widescale, "Widescreen: lossless view"},
                     {ConsoleBottomBox, &Options::chatbottom, "Widescreen: console at bottom"},
                     {BarBox, &Options::bar, "Spellbar: show icons in panel"},
                     {85, &Options::keys, "Spellbar: show keys on icons"},
                     {145, &Options::atimer, "Spellbar: show countdown"},
                     {93, &Options::circle, "Creature: show targeting circle"},
                     {117, &Options::hudbars, "HUD: show health & mana bar"},
                     {116, &Options::hudstatus, "HUD: show status indicators"},
                 }) {
    Build();
}

void GeneralInterface::Build() { BuildRows("Interface", WindowType::GeneralInterface, 254, 275); }

void GeneralInterface::Toggle(const OptionRow& row, Button* box) {
    switch (row.id) {
        case WidescreenBox:
            if (core->inGame)
                Refuse(box, "Widescreen", "The screen mode cannot be changed while playing.");
            else Flip(row);
            break;
        case ConsoleBottomBox:
            if (core->inGame)
                Refuse(box, "Widescreen Console",
                       "The console position cannot be changed while playing.");
            else Flip(row);
            break;
        case LosslessBox:
            Flip(row);
            core->OnResize();
            break;
        case BarBox:
            // In the game the bar also joins or leaves its side panel.
            if (core->inGame && core->screen) core->screen->control->TogglePanelWindow();
            else Flip(row);
            break;
        default: Flip(row); break;
    }
}

Window* GeneralInterface::Back() { return new General(core); }
