// Throughput of the request routine over loopback, beside the curl command line in the
// same run and against the same server: 200 sequential POSTs of 1 KB, then one POST of
// 10 MB. Prints requests per second and MB/s (1 MB = 2^20 bytes).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "core/TextOperations.h"
#include "http/HttpRequest.h"
#include "platform/Platform.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSmallPosts = 200;
constexpr size_t kSmallBody = 1024;
constexpr size_t kLargeBody = 10u << 20;

// A minimal server: one request per connection, body drained by Content-Length and
// counted, a two-byte answer, close. Every wait is bounded by the stop flag.
class BenchServer {
public:
    BenchServer() {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 64) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            std::perror("bench server");
            std::exit(1);
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~BenchServer() {
        stopping_ = true;
        thread_.join();
        close(listener_);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/upload"; }
    uint64_t bodyBytes() const { return bodyBytes_; }

private:
    bool WaitReadable(int fd) {
        for (int waited = 0; waited < 200 && !stopping_; ++waited) {   // at most 10 s
            pollfd entry{fd, POLLIN, 0};
            if (poll(&entry, 1, 50) > 0) return true;
        }
        return false;
    }

    void Serve() {
        std::string buffer(1 << 18, '\0');
        while (!stopping_) {
            pollfd entry{listener_, POLLIN, 0};
            if (poll(&entry, 1, 50) <= 0) continue;
            int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) continue;
            std::string head;
            size_t bodySeen = 0, contentLength = 0, headEnd = std::string::npos;
            while (WaitReadable(connection)) {
                ssize_t count = recv(connection, buffer.data(), buffer.size(), 0);
                if (count <= 0) break;
                if (headEnd == std::string::npos) {
                    head.append(buffer.data(), static_cast<size_t>(count));
                    headEnd = head.find("\r\n\r\n");
                    if (headEnd == std::string::npos) continue;
                    size_t at = head.find("Content-Length: ");
                    if (at == std::string::npos) at = head.find("content-length: ");
                    contentLength = at == std::string::npos ? 0 : std::stoul(head.substr(at + 16));
                    bodySeen = head.size() - headEnd - 4;
                } else {
                    bodySeen += static_cast<size_t>(count);
                }
                if (bodySeen >= contentLength) break;
            }
            bodyBytes_ += bodySeen;
            static const char kAnswer[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";
            send(connection, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
            shutdown(connection, SHUT_WR);
            close(connection);
        }
    }

    int listener_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<uint64_t> bodyBytes_{0};
    std::thread thread_;
};

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// POSTs body count times through the routine; returns the seconds taken, counts failures.
double PostWithRoutine(const std::string& url, const std::string& body, int count, int& failures) {
    korvel::Text bodyText(body);
    auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        korvel::Text status;
        korvel::Text result = korvel::HttpRequest({.url = korvel::Text(url), .method = 1, .body = bodyText,
                                                   .statusText = &status});
        if (!(status == korvel::Text("200 OK")) || !(result == korvel::Text("ok"))) ++failures;
    }
    return SecondsSince(start);
}

// Runs a shell command; returns the seconds taken, counts a failing exit.
double RunTimed(const std::string& command, int& failures) {
    auto start = Clock::now();
    if (std::system(command.c_str()) != 0) ++failures;
    return SecondsSince(start);
}

void Print(const char* who, const char* what, double seconds, double perSecond, const char* unit) {
    std::printf("%-22s %-28s %8.3f s %12.1f %s\n", who, what, seconds, perSecond, unit);
}

}  // namespace

int main() {
    korvel::platform::Install();
    BenchServer server;
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("korvel-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // Bodies of form text (letters, "=" and "&"), as the roster upload sends.
    std::string small(kSmallBody, 'a'), large(kLargeBody, 'b');
    for (size_t i = 0; i < small.size(); i += 16) small[i] = '&';
    std::ofstream(folder / "small.bin", std::ios::binary) << small;
    std::ofstream(folder / "large.bin", std::ios::binary) << large;
    // One curl process for all 200 requests; no proxy from the environment, no 100-continue.
    {
        std::ofstream config(folder / "small.cfg");
        for (int i = 0; i < kSmallPosts; ++i) {
            if (i > 0) config << "next\n";
            config << "url = \"" << server.Url() << "\"\ndata-binary = \"@" << (folder / "small.bin").string()
                   << "\"\nheader = \"Expect:\"\noutput = \"/dev/null\"\nnoproxy = \"*\"\nsilent\n";
        }
    }
    const double mb = static_cast<double>(kLargeBody) / (1u << 20);
    int routineFailures = 0, curlFailures = 0;

    PostWithRoutine(server.Url(), small, 5, routineFailures);   // warm-up: libraries bound, converters open
    double routineSmall = PostWithRoutine(server.Url(), small, kSmallPosts, routineFailures);
    double routineLarge = PostWithRoutine(server.Url(), large, 1, routineFailures);
    double curlSmall = RunTimed("curl -K '" + (folder / "small.cfg").string() + "'", curlFailures);
    double curlLarge = RunTimed("curl -s -o /dev/null --noproxy '*' -H 'Expect:' --data-binary '@" +
                                    (folder / "large.bin").string() + "' '" + server.Url() + "'",
                                curlFailures);

    std::printf("%d POSTs of 1 KB and one POST of 10 MB to 127.0.0.1, one connection per request\n", kSmallPosts);
    Print("HttpRequest", "200 POSTs of 1 KB", routineSmall, kSmallPosts / routineSmall, "requests/s");
    Print("HttpRequest", "1 POST of 10 MB", routineLarge, mb / routineLarge, "MB/s");
    Print("curl (command line)", "200 POSTs of 1 KB, 1 process", curlSmall, kSmallPosts / curlSmall, "requests/s");
    Print("curl (command line)", "1 POST of 10 MB", curlLarge, mb / curlLarge, "MB/s");
    std::printf("failures: HttpRequest %d, curl %d; server received %llu body bytes\n", routineFailures, curlFailures,
                static_cast<unsigned long long>(server.bodyBytes()));
    std::filesystem::remove_all(folder);
    return routineFailures == 0 && curlFailures == 0 ? 0 : 1;
}
