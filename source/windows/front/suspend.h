#pragma once
#include <cstdint>
#include <string>

#include "windows/front/servernotice.h"

// The notice of a suspended server: the player waits, watching a text that gains a dot every
// quarter second, or logs out (as the close button does). The server closes it when the
// suspension is over.
class Suspend : public ServerNotice {
public:
    explicit Suspend(Core* core);

    void Build() override;
    void Draw() override;
    void OnCommand(Button* button) override;

    // The waiting text at a frame time.
    static std::string WaitingText(uint64_t frameTimeMs);
};
