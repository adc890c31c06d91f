#pragma once
// The base of everything the world shows that is not a creature; every Thing is an Item.
class Core;
class Shape;

class Thing {
public:
    Thing() = default;
    virtual ~Thing() = default;
    Thing(const Thing&) = delete;
    Thing& operator=(const Thing&) = delete;

    Core* owner = nullptr;
    Shape* shape = nullptr;  // owned by the shape table
};
