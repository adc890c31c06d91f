#include "windows/front/consoles.h"

#include "core.h"
#include "windows/front/settings.h"
#include "windows/game/console.h"
#include "windows/toolkit/windowtypes.h"

Consoles::Consoles(Core* core)
    : OptionPage(core, {
                           {TimeBox, &Options::time, "Prefix: time \"HH:MM\" to messages"},
                           {33, &Options::info, "Show: item info in Info channel"},
                           {129, &Options::experience, "Show: experience in Info channel", 142},
                           {49, &Options::damage, "Show: taken damage in Info channel"},
                           {138, &Options::itemaps, "Item: show attack value per second"},
                           {SmileyBox, &Options::smiley, "Render: smileys as graphics"},
                       }) {
    Build();
}

void Consoles::Build() { BuildRows("Console", WindowType::Consoles, 284, 215); }

void Consoles::Toggle(const OptionRow& row, Button*) {
    Flip(row);
    if (row.id != TimeBox && row.id != SmileyBox) return;
    if (auto* console = dynamic_cast<Console*>(core->consoleWindow)) console->RefreshChannels();
}

Window* Consoles::Back() { return new Settings(core); }
