#pragma once
// Programs a test starts: found through PATH, given an environment of their own, their
// standard output and error collected in files, and never left running: a child still
// running when its object goes is killed.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvel::test {

// The test's own environment with some variables replaced (a value) or removed (nullopt).
std::vector<std::string> EnvironmentWith(const std::map<std::string, std::optional<std::string>>& changes);

class ChildProcess {
public:
    // Starts arguments[0]. Standard input reads nothing; standard output and error go to
    // files under outputFolder, named after outputName. keepOpen: a descriptor of the test
    // that the child inherits under the same number (for Xvfb's -displayfd).
    ChildProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                 const std::filesystem::path& outputFolder, const std::string& outputName, int keepOpen = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // Why the child did not start.
    const std::string& StartError() const { return startError_; }
    pid_t Pid() const { return pid_; }

    // Waits at most timeout for the child to end. Its exit code (128 + the signal for a
    // child killed by one), or nullopt while it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    bool Running() { return WaitForExit(std::chrono::milliseconds(0)) == std::nullopt; }
    // Asks the child to end (SIGTERM), then kills it when it has not ended within grace.
    void Stop(std::chrono::milliseconds grace);

    // What the child has written so far.
    std::string Output() const;
    std::string Errors() const;

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    std::string startError_;
    std::filesystem::path outputFile_;
    std::filesystem::path errorFile_;
};

// What a program that ran to its end left.
struct Finished {
    bool ended = false;  // false: it did not start, or was killed at the time-out
    int exitCode = -1;
    std::string output;
    std::string errors;  // standard error, or why it did not start or end
};

// Runs a program to its end, killed once timeout has passed.
Finished RunToEnd(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                  const std::filesystem::path& outputFolder, std::chrono::milliseconds timeout);

}  // namespace korvel::test
