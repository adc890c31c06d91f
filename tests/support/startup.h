#pragma once
// Start-up fixtures: a private working folder with the data files start-up reads, and a Core
// started in it under the fake platform.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "core.h"
#include "support/fakeplatform.h"

// Makes a folder the working folder while the object lives.
class InFolder {
public:
    explicit InFolder(const std::string& path);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::string previous;
};

// A fresh folder under the temporary folder, made the working folder while the object lives.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::string path;

private:
    std::optional<InFolder> inside;
};

// The data files start-up opens, by file name, with the leading version word each one holds.
std::map<std::string, uint32_t> StartupDataVersions();
// Writes data/<name> for every entry.
void WriteStartupData(const std::map<std::string, uint32_t>& versions);

// Cleans up after a start-up that ended in ProgramExit: open files, window, Screen and class.
void DiscardFailedStart();
// Removes the messages (quit included) left in this thread's queue.
void DrainMessages();

// A Core started in a temporary folder holding every data file, with OpenGL working.
class StartedCore : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    FakePlatform fake;
    TemporaryFolder folder;
    Core* core = nullptr;
};
