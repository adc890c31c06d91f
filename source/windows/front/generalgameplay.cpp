#include "windows/front/generalgameplay.h"

#include "core.h"
#include "windows/front/general.h"
#include "windows/toolkit/windowtypes.h"

GeneralGameplay::GeneralGameplay(Core* core)
    : OptionPage(core, {
                           {45, &Options::push, "Movement: ASDW / press 'enter' to talk"},
                           {110, &Options::hidepush, "Console: close on 'enter' (widescreen)"},
                           {114, &Options::showchat, "Console: always visible (widescreen)"},
                           {91, &Options::autocast, "Spells: auto-cast spells at cursor"},
                           {139, &Options::lootcont, "Containers: open loot in screen"},
                           {LimitBox, &Options::limit, ""},
                           {112, &Options::nosplit, "Stack: skip splitting on move"},
                           {130, &Options::holdmove, "Movement: hold RMB to move"},
                       }) {
    Build();
}

void GeneralGameplay::Build() { BuildRows("Gameplay", WindowType::GeneralGameplay, 309, 255); }

std::string GeneralGameplay::Label(const OptionRow& row) const {
    if (row.id != LimitBox) return OptionPage::Label(row);
    const int32_t limit = core->slotLimit;
    return "Containers: " + std::to_string(limit) + (limit > 1 ? " rows" : " row") +
           " auto-open limit";
}

Window* GeneralGameplay::Back() { return new General(core); }
