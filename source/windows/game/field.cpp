#include "windows/game/field.h"

#include "windows/toolkit/windowtypes.h"

Field::Field(Core* core, Padding* padding) : Window(core), padding(padding) {
    typeId = WindowType::Field;
}
