#include "tests/installed/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace korvel::test {
namespace {

using namespace std::chrono_literals;

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<char*> PointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Output files of children that share a name still get files of their own.
std::string UniqueSuffix() {
    static std::atomic<int> next{0};
    return "." + std::to_string(++next);
}

}  // namespace

std::vector<std::string> EnvironmentWith(const std::map<std::string, std::optional<std::string>>& changes) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string line = *entry;
        if (!changes.contains(line.substr(0, line.find('=')))) environment.push_back(line);
    }
    for (const auto& [name, value] : changes) {
        if (value) environment.push_back(name + "=" + *value);
    }
    return environment;
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                           const std::filesystem::path& outputFolder, const std::string& outputName, int keepOpen) {
    const std::string suffix = UniqueSuffix();
    outputFile_ = outputFolder / (outputName + suffix + ".out");
    errorFile_ = outputFolder / (outputName + suffix + ".err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // Clearing close-on-exec in the child only: the test's own copy keeps the flag, so no
    // other child inherits the descriptor.
    if (keepOpen >= 0) posix_spawn_file_actions_adddup2(&actions, keepOpen, keepOpen);
    std::vector<char*> argv = PointersTo(arguments);
    std::vector<char*> envp = PointersTo(environment);
    const int spawned = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        pid_ = -1;
        startError_ = arguments[0] + " could not be started: " + std::strerror(spawned);
    }
}

ChildProcess::~ChildProcess() {
    if (!Started() || exitCode_) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (!Started() || exitCode_) return exitCode_;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) {
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exitCode_;
        }
        if (ended < 0 && errno != EINTR) {
            exitCode_ = -1;
            return exitCode_;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
}

void ChildProcess::Stop(std::chrono::milliseconds grace) {
    if (!Running()) return;
    ::kill(pid_, SIGTERM);
    if (WaitForExit(grace)) return;
    ::kill(pid_, SIGKILL);
    WaitForExit(grace);
}

std::string ChildProcess::Output() const { return ReadFile(outputFile_); }

std::string ChildProcess::Errors() const { return ReadFile(errorFile_); }

Finished RunToEnd(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                  const std::filesystem::path& outputFolder, std::chrono::milliseconds timeout) {
    ChildProcess child(arguments, environment, outputFolder, std::filesystem::path(arguments[0]).filename());
    Finished finished;
    if (!child.Started()) {
        finished.errors = child.StartError();
        return finished;
    }
    const std::optional<int> exitCode = child.WaitForExit(timeout);
    if (!exitCode) child.Stop(1s);
    finished.ended = exitCode.has_value();
    finished.exitCode = exitCode.value_or(-1);
    finished.output = child.Output();
    finished.errors = exitCode ? child.Errors() : arguments[0] + " did not end in time; " + child.Errors();
    return finished;
}

}  // namespace korvel::test
