#pragma once
// One valid body of every game-state message that the dispatcher reads in step with the next,
// in the world of GameMessages: the table the dispatch test and the truncation test run over.
// A message added to the dispatcher gets its row here.
#include <ostream>
#include <vector>

struct GameBody {
    int op;
    const char* fields;  // hexadecimal
};

inline void PrintTo(const GameBody& c, std::ostream* out) {
    *out << "op " << c.op << ": " << c.fields;
}

extern const std::vector<GameBody> GameBodies;
