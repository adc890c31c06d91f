#pragma once
// Placeholder of the avatar list until the front screens land: only the operations the yes/no
// box calls.
#include <cstdint>

#include "windows/toolkit/window.h"

class Avatars : public Window {
public:
    explicit Avatars(Core* core);

    void DeleteSelected();
    void RestoreSelected();
    void Close() override;

    uint32_t deletions = 0;
    uint32_t restorations = 0;
};
