#include "windows/front/generalmiscellaneous.h"

#include "core.h"
#include "windows/front/general.h"
#include "windows/toolkit/windowtypes.h"

GeneralMiscellaneous::GeneralMiscellaneous(Core* core)
    : OptionPage(core, {
                           {46, &Options::field, "Screenshot: focus on world"},
                           {143, &Options::hudscreen, "Screenshot: hide HUD"},
                           {137, &Options::autoscreen, "Screenshot: auto on events"},
                           {96, &Options::framerate, "Display: show framerate"},
                           {97, &Options::ping, "Display: show ping"},
                           {CursorBox, &Options::cursor, "Cursor: render custom cursor"},
                       }) {
    Build();
}

void GeneralMiscellaneous::Build() {
    BuildRows("Miscellaneous", WindowType::GeneralMiscellaneous, 239, 215);
}

void GeneralMiscellaneous::Toggle(const OptionRow& row, Button*) {
    Flip(row);
    if (row.id == CursorBox)
        core->ShowMessage("Cursor", "Restart the application to process changes.", 0);
}

Window* GeneralMiscellaneous::Back() { return new General(core); }
