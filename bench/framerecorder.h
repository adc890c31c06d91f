// A driver for the benchmark that draws nothing and records every call of one frame of the
// driver table (Bench::RecordedFrame), so that the bare OpenGL program can replay it.
#pragma once

#include "recordedframe.h"

namespace FrameRecorder {

// Unloads the loaded driver and installs the recorder in its place, configured as the layer is.
void Install();
// What was recorded since Install (textures keep their place for later calls) and starts the
// calls anew.
Bench::RecordedFrame Take();

}  // namespace FrameRecorder
