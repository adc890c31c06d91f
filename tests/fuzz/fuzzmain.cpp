// The fuzz harness: replays saved inputs and runs mutated ones through one target, and reports
// each failure with its input saved under a name that tells the target and the seed.
//
//   veltor_fuzz TARGET [--replay DIR]... [--runs N] [--seconds S] [--seed N] [--failures DIR]
//
// A crash, a failed undefined-behaviour check, an abort, an exception the client would not catch,
// an allocation above the target's limit and boxes piling up are failures. The summary line
// tells the inputs run and the failures.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>

#include "core.h"
#include "fuzz/fuzztarget.h"
#include "fuzz/mutator.h"
#include "support/fakeplatform.h"
#include "support/startup.h"
#include "windows/toolkit/window.h"
#include "windows/toolkit/windowtypes.h"

namespace fs = std::filesystem;

namespace {

// More open boxes (and server notices) than this after one input means they pile up without
// bound.
const size_t MaxOpenBoxes = 8;

// The largest allocation allowed while an input runs, and the size of the first refused one.
size_t allocationLimit = SIZE_MAX;
size_t refusedAllocation = 0;

// What runs now, for the crash report.
struct Running {
    std::string target;
    std::string inputName;
    const Bytes* input = nullptr;
    fs::path failures;
} running;

size_t failureCount = 0;

std::string SaveInput() {
    if (!running.input) return "(no input)";
    std::error_code ignored;
    fs::create_directories(running.failures, ignored);
    const fs::path path = running.failures / (running.target + "-" + running.inputName + ".bin");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(running.input->data()),
               std::streamsize(running.input->size()));
    return path.string();
}

void ReportFailure(const std::string& what) {
    ++failureCount;
    std::printf("fuzz %s: FAILURE on %s: %s; input saved as %s\n", running.target.c_str(),
                running.inputName.c_str(), what.c_str(), SaveInput().c_str());
    std::fflush(stdout);
}

// Ends the run from inside a crash: the input is saved first.
[[noreturn]] void CrashExit(const std::string& what) {
    ReportFailure(what);
    std::printf("fuzz %s: stopped by the crash, %zu failures\n", running.target.c_str(),
                failureCount);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    std::abort();
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    char text[96];
    std::snprintf(text, sizeof text, "crash, exception 0x%08lx at %p%s", code,
                  info->ExceptionRecord->ExceptionAddress,
                  code == EXCEPTION_ILLEGAL_INSTRUCTION ? " (an undefined-behaviour trap)" : "");
    CrashExit(text);
}

void OnAbort(int) { CrashExit("abort (a failed assertion or library check)"); }
void OnTerminate() { CrashExit("terminate (an exception escaped where none may)"); }

Bytes ReadInput(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

void RunOne(FuzzTarget& target, const TargetInfo& info, const std::string& name,
            const Bytes& input) {
    running.inputName = name;
    running.input = &input;
    refusedAllocation = 0;
    allocationLimit = info.allocationLimit;
    std::string failure;
    try {
        target.Run(input);
    } catch (const ProgramExit&) {
        // A fatal end with its message box: the clean end of a damaged file or stream.
    } catch (const FuzzFailure& found) {
        failure = found.what();
    } catch (const std::exception& error) {
        failure = std::string("uncaught exception: ") + error.what();
    }
    allocationLimit = SIZE_MAX;
    // Also when the reader caught the refusal: it asked for the memory without checking first.
    if (refusedAllocation)
        failure = "allocation of " + std::to_string(refusedAllocation) +
                  " bytes, above the limit of " + std::to_string(info.allocationLimit);
    if (!failure.empty()) ReportFailure(failure);
    FakePlatform::boxes.clear();
    running.input = nullptr;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: veltor_fuzz TARGET [--replay DIR]... [--runs N] [--seconds S] "
                 "[--seed N] [--failures DIR]\n");
    return 2;
}

}  // namespace

// Every allocation of the program goes through here, so that an input that makes the client
// ask for more than its limit is caught before the memory is touched.
void* operator new(size_t size) {
    if (size > allocationLimit) {
        if (!refusedAllocation) refusedAllocation = size;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }

void CheckOpenBoxes(const Core& core) {
    const size_t open = std::count_if(core.windows.begin(), core.windows.end(), [](Window* w) {
        return w->typeId == WindowType::Message || w->typeId == WindowType::Status ||
               w->typeId == WindowType::Sure || w->typeId == WindowType::Crash;
    });
    if (open > MaxOpenBoxes)
        throw FuzzFailure(std::to_string(open) + " boxes open after one input");
}

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::vector<TargetInfo> targets;
    AddFileTargets(targets);
    AddProtocolTargets(targets);
    const std::string name = argv[1];
    const auto info = std::find_if(targets.begin(), targets.end(),
                                   [&](const TargetInfo& t) { return name == t.name; });
    if (info == targets.end()) {
        std::fprintf(stderr, "veltor_fuzz: no target %s; the targets are:", name.c_str());
        for (const TargetInfo& t : targets) std::fprintf(stderr, " %s", t.name);
        std::fprintf(stderr, "\n");
        return 2;
    }

    std::vector<fs::path> replayDirs;
    uint64_t runs = 0;
    double seconds = 0;
    uint32_t seed = 1;
    running.failures = fs::current_path() / "fuzz-failures";
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--replay") replayDirs.push_back(value);
        else if (option == "--runs") runs = std::stoull(value);
        else if (option == "--seconds") seconds = std::stod(value);
        else if (option == "--seed") seed = uint32_t(std::stoul(value));
        else if (option == "--failures") running.failures = fs::absolute(value);
        else return Usage();
    }
    if (argc % 2 != 0) return Usage();

    SetUnhandledExceptionFilter(OnUnhandledException);
    std::signal(SIGABRT, OnAbort);
    std::set_terminate(OnTerminate);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);

    running.target = name;
    running.inputName = "the target's set-up";
    FakePlatform fake;
    TemporaryFolder folder;
    std::unique_ptr<FuzzTarget> target = info->make();

    // The saved inputs, by name so that every run replays them in the same order.
    std::vector<std::pair<std::string, Bytes>> inputs;
    for (const fs::path& dir : replayDirs) {
        if (!fs::is_directory(dir)) continue;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files)
            inputs.emplace_back(file.filename().string(), ReadInput(file));
    }
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [inputName, bytes] : inputs) RunOne(*target, *info, inputName, bytes);
    const size_t replayed = inputs.size();
    if (inputs.empty()) inputs.emplace_back("empty", Bytes());

    const auto mutationStart = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - mutationStart)
            .count();
    };
    Mutator mutator(seed, info->maxInput);
    std::mt19937 pick(seed);
    uint64_t mutated = 0;
    while ((runs && mutated < runs) || (seconds > 0 && elapsed() < seconds)) {
        const Bytes& base = inputs[pick() % inputs.size()].second;
        const Bytes& other = inputs[pick() % inputs.size()].second;
        const Bytes input = mutator.Mutate(base, other);
        RunOne(*target, *info, "seed" + std::to_string(seed) + "-" + std::to_string(mutated),
               input);
        ++mutated;
    }
    const double mutationSeconds = elapsed();
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "fuzz %s: %zu saved inputs replayed, %llu mutated inputs run (seed %u), "
        "%.0f inputs/s, %.1f s, %zu failures\n",
        name.c_str(), replayed, static_cast<unsigned long long>(mutated), seed,
        mutationSeconds > 0 ? double(mutated) / mutationSeconds : 0.0, total, failureCount);
    target.reset();
    return failureCount ? 1 : 0;
}
