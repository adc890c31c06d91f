#include "control.h"

// Keys do nothing yet: the keyboard handling fills these in.
Control::Control(Core* core) : core(core), render(core->render) {}
Control::~Control() = default;

void Control::OnKeyDown(WPARAM, LPARAM) {}
void Control::OnChar(WPARAM, LPARAM) {}
