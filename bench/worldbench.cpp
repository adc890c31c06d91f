// The world scene drawn through the graphics layer, as the client draws its game screen:
//   worldbench FOLDER gl|dx9 [RECORDING]
// runs the client's start-up in FOLDER (which holds the generated sample data in data/), builds
// the scene, records one frame's driver calls (written to RECORDING for the bare OpenGL program
// to replay) and then measures frames with the OpenGL or the Direct3D 9 driver.
#include <cstdio>
#include <cstring>

#include "benchcommon.h"
#include "core.h"
#include "driver/gfxcore.h"
#include "framerecorder.h"
#include "worldscene.h"

namespace {

constexpr int Frames = 200;

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || !SetCurrentDirectoryA(argv[1])) {
        std::fprintf(stderr, "usage: worldbench FOLDER gl|dx9 [RECORDING]\n");
        return 2;
    }
    const bool direct3d = std::strcmp(argv[2], "dx9") == 0;
    const uint32_t driver = direct3d ? DriverDirectX : DriverOpenGL;
    const char* program = direct3d ? "worlddx9" : "worldlayer";

    Core* core = new Core(GetModuleHandleA(nullptr), SW_SHOWNORMAL, 0);
    WorldScene scene(core);
    const auto drawFrame = [&] {
        PumpMessages();
        scene.Walk();
        core->UpdateFrameRate();
        core->RenderFrame();
    };

    FrameRecorder::Install();
    drawFrame();
    const Bench::RecordedFrame recorded = FrameRecorder::Take();
    if (argc > 3 && !Bench::WriteRecordedFrame(argv[3], recorded)) {
        std::fprintf(stderr, "worldbench: the recording could not be written to %s\n", argv[3]);
        return 1;
    }

    core->driverFlags = 0;  // no wait for the vertical retrace
    if (core->ReinitDriver(driver) != driver) {
        std::fprintf(stderr, "worldbench: the %s driver was refused\n", argv[2]);
        return 1;
    }
    const std::function<void()> finish = Bench::CountDriverCalls(direct3d ? DX9_Device() : nullptr);
    const Bench::FrameFigures figures = Bench::Measure(Frames, drawFrame, finish);
    Bench::Print(program, int(recorded.calls.size()), figures, Bench::TextureRuns(recorded));
    const int errors = GFX_ErrorCount();
    delete core;
    return errors == 0 ? 0 : 1;
}
