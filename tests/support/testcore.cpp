#include "support/testcore.h"

#include "driver/gfxcore.h"
#include "render.h"

Core::Core(Unstarted) {
    ResetDefaults();
    options = {};
    for (uint32_t& key : keys) key = 0;
    moveMultiplier = 1;
}

std::unique_ptr<Core> MakeTestCore() {
    GFX_Init(GFX_DRIVER_NULL, 0, 'F');
    GFX_Configure(800, 600, 0, 4);
    GFX_FlushConfig();
    auto core = std::make_unique<Core>(Core::Unstarted{});
    core->clientWidth = 800;
    core->clientHeight = 600;
    core->render = new Render(core.get());
    return core;
}
