// Core's look-ups in the shape table.
#include "core.h"
#include "shapes.h"

Shape* Core::GetShape(uint32_t id) { return shapes ? shapes->Find(id) : nullptr; }

Shape* Core::ApplyToShape(uint32_t id, uint32_t subId) {
    Shape* shape = GetShape(id);
    if (shape) shape->BuildImages(subId);
    return shape;
}
