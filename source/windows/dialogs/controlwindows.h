#pragma once

class Core;
class Window;

// Detaches a window and leaves it to the next tick's deletion: Enter in an input may still be on
// its way back through the input and its owner when the owner closes both.
void CloseLater(Core* core, Window* window);
// The end of a control window its owner created: removed when listed, left alone when its
// deletion is pending, deleted when it was never listed.
void ReleaseControl(Core* core, Window* control);
