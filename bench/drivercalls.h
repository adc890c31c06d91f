// Counters of the calls the graphics drivers make to OpenGL and Direct3D 9: draw calls and
// texture binds, for the drawing benchmarks and the drivers' tests.
#pragma once

namespace DriverCalls {

struct Counts {
    long drawCalls;     // glBegin, or the device's DrawPrimitiveUP
    long textureBinds;  // glBindTexture, or the device's SetTexture on any stage
};

// Counts the OpenGL calls this program makes through its imports of opengl32.dll. Installed
// once; later calls do nothing.
void CountOpenGl();
// Counts the calls of every Direct3D 9 device of the process (hooks in the devices' shared
// method table). The device is passed untyped: this side reaches it through the C form of its
// interface. Installed once; later calls do nothing.
void CountDirect3D9(void* device);

// The calls counted since the last Take, and starts counting anew.
Counts Take();

}  // namespace DriverCalls
