#pragma once
// One reader of outside input, run by the fuzz harness on one input at a time. A target is made
// once per run (its working folder and Core), then runs every input to its end: a fatal end of
// the program (ProgramExit) is a clean end; anything the target finds wrong after the input is
// reported by throwing FuzzFailure.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct FuzzFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class FuzzTarget {
public:
    virtual ~FuzzTarget() = default;
    virtual void Run(const Bytes& input) = 0;
};

struct TargetInfo {
    const char* name;
    // The largest input the mutator makes, and the largest single allocation an input may cause.
    size_t maxInput;
    size_t allocationLimit;
    std::function<std::unique_ptr<FuzzTarget>()> make;
};

// The targets of the file readers and of the protocol.
void AddFileTargets(std::vector<TargetInfo>& targets);
void AddProtocolTargets(std::vector<TargetInfo>& targets);

class Core;
// Fails when more message, status or yes/no boxes are open than any input may leave.
void CheckOpenBoxes(const Core& core);
