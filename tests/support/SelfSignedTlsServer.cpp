#include "tests/support/SelfSignedTlsServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace korvel::testing {
namespace {

// Runs program with arguments, its output into outputFile; the child's id or -1. Everything
// the child needs is prepared before the fork, as the test process may have threads.
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outputFile) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const char* outputPath = outputFile.c_str();
    pid_t child = fork();
    if (child != 0) return child;
    int input = open("/dev/null", O_RDONLY);
    int output = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (input < 0 || output < 0) _exit(127);
    dup2(input, 0);
    dup2(output, 1);
    dup2(output, 2);
    execvp(argv[0], argv.data());
    _exit(127);
}

bool RunToEnd(const std::vector<std::string>& arguments, const std::string& outputFile) {
    pid_t child = Spawn(arguments, outputFile);
    if (child < 0) return false;
    int status = 0;
    for (int waited = 0; waited < 200; ++waited) {   // at most 10 s
        if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

// s_server reports "ACCEPT 127.0.0.1:<port>" once it listens.
uint16_t AcceptedPort(const std::string& outputFile) {
    std::ifstream file(outputFile);
    std::string word, address;
    while (file >> word) {
        if (word == "ACCEPT" && file >> address) {
            size_t colon = address.rfind(':');
            return colon == std::string::npos ? 0 : static_cast<uint16_t>(std::atoi(address.c_str() + colon + 1));
        }
    }
    return 0;
}

}  // namespace

SelfSignedTlsServer::SelfSignedTlsServer() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvel-tls-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    folder_ = pattern;
    std::string key = folder_ + "/key.pem", certificate = folder_ + "/certificate.pem", log = folder_ + "/server.log";
    if (!RunToEnd({"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                   "-keyout", key, "-out", certificate, "-days", "1", "-subj", "/CN=127.0.0.1"},
                  folder_ + "/req.log")) {
        return;
    }
    child_ = Spawn({"openssl", "s_server", "-accept", "127.0.0.1:0", "-cert", certificate, "-key", key, "-www"}, log);
    if (child_ < 0) return;
    for (int waited = 0; waited < 100 && port_ == 0; ++waited) {   // at most 5 s
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        port_ = AcceptedPort(log);
    }
}

SelfSignedTlsServer::~SelfSignedTlsServer() {
    if (child_ > 0) {
        kill(child_, SIGTERM);
        int status = 0;
        waitpid(child_, &status, 0);
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

std::string SelfSignedTlsServer::Url(std::string_view pathAndQuery) const {
    return "https://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

}  // namespace korvel::testing
