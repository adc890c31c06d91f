#include "support/spritedata.h"

#include <windows.h>

#include <fstream>

std::string TestDataPath(const std::string& relative) {
    return std::string(VELTOR_TESTDATA) + "/" + relative;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::unique_ptr<Shapes> LoadSpriteCase(Core* core, const std::string& name) {
    InFolder in(TestDataPath("sprites/" + name));
    return std::make_unique<Shapes>(core);
}

std::unique_ptr<Shapes> SpriteData::Load(const std::string& name) {
    return LoadSpriteCase(core, name);
}

std::string SpriteData::LoadFailure(const std::string& name) {
    FakePlatform::boxes.clear();
    try {
        Load(name);
    } catch (const ProgramExit& exit) {
        if (exit.code == 0 || FakePlatform::boxes.size() != 1) return "exit without one box";
        const RecordedBox& box = FakePlatform::boxes.front();
        return box.title == "Veltor - Error" ? box.text : "box titled " + box.title;
    }
    return "";
}
