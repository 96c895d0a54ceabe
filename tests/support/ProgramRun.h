#pragma once
// Runs another program to its end and collects what it writes to standard output, for the
// tests (the QR decoders) and the benchmarks (zint, a fresh copy of the bench itself).
// Plain POSIX: no test framework, so a benchmark can compile it in as well.
#include <string>
#include <vector>

namespace korvel::testing_support {

struct ProgramRun {
    bool started = false;
    int exitStatus = -1;            // -1 when the program did not end by itself
    std::string output;             // standard output, byte for byte
    double processorSeconds = 0;    // user and system time the program used
    std::string error;              // why it could not be started
};

// Runs arguments[0], found through PATH, with standard error dropped.
ProgramRun RunProgram(const std::vector<std::string>& arguments);

}  // namespace korvel::testing_support
