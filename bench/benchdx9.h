// The Direct3D 9 counterpart of the OpenGL frame finish. The device is passed untyped: this side
// reaches it through the C form of its interface.
#pragma once

namespace Bench {

// Waits until the device has drawn everything asked of it.
void FinishDirect3D9(void* device);

}  // namespace Bench
