#include "mouse.h"

// The handlers route nothing yet: the window list gives them their targets.
Mouse::Mouse(Core* core) : core(core) {}
Mouse::~Mouse() = default;

void Mouse::OnMove(WPARAM, LPARAM) {}
void Mouse::OnLeftDown(WPARAM, LPARAM) {}
void Mouse::OnLeftUp(WPARAM, LPARAM) {}
void Mouse::OnDoubleClick(WPARAM, LPARAM) {}
void Mouse::OnRightDown(WPARAM, LPARAM) {}
void Mouse::OnRightUp(WPARAM, LPARAM) {}
void Mouse::OnWheel(WPARAM, LPARAM) {}
void Mouse::SimulateLeftDown() {}
void Mouse::SimulateLeftUp() {}
