#pragma once
// Sprite data written by the test tools (tools/datagen/spritecases.py) under
// VELTOR_TESTDATA/sprites/<case>/data, and a started Core to load it with.
#include <memory>
#include <string>
#include <vector>

#include "shapes.h"
#include "support/startup.h"

// The path of a file or folder under the test data.
std::string TestDataPath(const std::string& relative);
// The lines of a text file.
std::vector<std::string> ReadLines(const std::string& path);

// The shape table of a sprite data case, read as start-up reads it.
std::unique_ptr<Shapes> LoadSpriteCase(Core* core, const std::string& name);

// A started Core (empty sprite data) that loads sprite data cases on demand.
class SpriteData : public StartedCore {
protected:
    // The shape table of a case, read as start-up reads it.
    std::unique_ptr<Shapes> Load(const std::string& name);
    // The text of the error box that ends loading a case ("" when it loads).
    std::string LoadFailure(const std::string& name);
};
