#include "windows/front/controlsmove.h"

#include "config.h"
#include "windows/toolkit/windowtypes.h"

ControlsMove::ControlsMove(Core* core)
    : BindingPage(core, {
                            {KeyNorth, 33, 52, "move / turn north"},
                            {KeyEast, 33, 78, "move / turn east"},
                            {KeySouth, 33, 104, "move / turn south"},
                            {KeyWest, 33, 130, "move / turn west"},
                            {KeyNorthEast, 33, 156, "move north-east"},
                            {KeySouthEast, 33, 182, "move south-east"},
                            {KeySouthWest, 33, 208, "move south-west"},
                            {KeyNorthWest, 33, 234, "move north-west"},
                        }) {
    Build();
}

void ControlsMove::Build() {
    BuildBindings("Movement Controls", WindowType::ControlsMove, 211, 311);
}
