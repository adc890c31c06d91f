// The Direct3D 9 counterparts of the OpenGL counters and frame finish. The device is passed
// untyped: this side reaches it through the C form of its interface.
#pragma once

namespace Bench {

// Counts the device's DrawPrimitiveUP calls as draw calls and its SetTexture calls as texture
// binds (hooks in the device's method table, shared by every device of the process).
void InstallDirect3D9Counters(void* device);
// Waits until the device has drawn everything asked of it.
void FinishDirect3D9(void* device);

}  // namespace Bench
