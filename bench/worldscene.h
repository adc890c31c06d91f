// The world scene of the drawing benchmark: the game screen of a player standing outside a
// house at night, filled the way the server's messages fill it.
#pragma once

#include <cstdint>
#include <vector>

class Core;
class Creature;

class WorldScene {
public:
    // Enters the game and builds the scene: three floors of the generated sample art (grass,
    // trees, a path and a house with walls, an upper storey and a cellar, a torch), the player
    // and twenty persons with names and health bars, some carrying light, night, a speech text,
    // a notification and floating numbers.
    explicit WorldScene(Core* core);
    // Steps each person that is due one pace east or back west, as the server's moves do.
    void Walk();

private:
    void BuildFloors();
    void AddPersons();

    Core* core;
    std::vector<Creature*> walkers;
    std::vector<uint64_t> nextStep;  // wall-clock ms of each walker's next step
};
