#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace korvel::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollStepMs = 50;
constexpr auto kRequestDeadline = std::chrono::seconds(10);
constexpr size_t kHeaderLimit = 1 << 20;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Waits until fd is ready for events, in short steps so a stop is noticed; false at the
// deadline or on stop.
bool WaitFor(int fd, short events, Clock::time_point deadline, const std::atomic<bool>& stopping) {
    while (!stopping && Clock::now() < deadline) {
        pollfd entry{fd, events, 0};
        int ready = poll(&entry, 1, kPollStepMs);
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
    return false;
}

bool SendAll(int fd, std::string_view bytes, const std::atomic<bool>& stopping) {
    Clock::time_point deadline = Clock::now() + kRequestDeadline;
    while (!bytes.empty()) {
        if (!WaitFor(fd, POLLOUT, deadline, stopping)) return false;
        ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

RecordedRequest ParseHead(std::string_view head) {
    RecordedRequest request;
    size_t lineEnd = head.find("\r\n");
    request.requestLine = std::string(head.substr(0, lineEnd));
    size_t firstBlank = request.requestLine.find(' ');
    size_t secondBlank = request.requestLine.find(' ', firstBlank + 1);
    request.method = request.requestLine.substr(0, firstBlank);
    if (firstBlank != std::string::npos) request.target = request.requestLine.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    request.headerLines = std::string(head.substr(lineEnd + 2));
    std::string_view rest = request.headerLines;
    while (!rest.empty()) {
        size_t end = rest.find("\r\n");
        std::string_view line = rest.substr(0, end);
        size_t colon = line.find(':');
        if (colon != std::string_view::npos) {
            request.headers.emplace_back(std::string(line.substr(0, colon)), std::string(Trim(line.substr(colon + 1))));
        }
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
    }
    return request;
}

// Reads one request: the head up to the empty line, then Content-Length body bytes.
std::optional<RecordedRequest> ReadRequest(int fd, const std::atomic<bool>& stopping) {
    Clock::time_point deadline = Clock::now() + kRequestDeadline;
    std::string received;
    size_t headEnd = std::string::npos;
    std::optional<RecordedRequest> request;
    size_t bodyLength = 0;
    char chunk[65536];
    while (true) {
        if (headEnd == std::string::npos) {
            headEnd = received.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                request = ParseHead(std::string_view(received).substr(0, headEnd + 2));
                std::optional<std::string> length = request->Header("Content-Length");
                bodyLength = length ? std::stoul(*length) : 0;
            } else if (received.size() > kHeaderLimit) {
                return std::nullopt;
            }
        }
        if (request && received.size() >= headEnd + 4 + bodyLength) {
            request->body = received.substr(headEnd + 4, bodyLength);
            return request;
        }
        if (!WaitFor(fd, POLLIN, deadline, stopping)) return std::nullopt;
        ssize_t count = recv(fd, chunk, sizeof chunk, 0);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return std::nullopt;
        received.append(chunk, static_cast<size_t>(count));
    }
}

// The answer is all sent and nothing of the request is left unread, so closing sends a
// plain end of stream, never a reset that could drop the bytes in flight.
void CloseGracefully(int fd) {
    shutdown(fd, SHUT_WR);
    close(fd);
}

}  // namespace

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
    std::string lower = Lower(name);
    for (const auto& [headerName, value] : headers) {
        if (Lower(headerName) == lower) return value;
    }
    return std::nullopt;
}

size_t RecordedRequest::HeaderCount(std::string_view name) const {
    std::string lower = Lower(name);
    size_t count = 0;
    for (const auto& header : headers) count += Lower(header.first) == lower ? 1 : 0;
    return count;
}

ServerReply ServerReply::Raw(std::string response) {
    ServerReply reply;
    reply.response_ = std::move(response);
    return reply;
}

ServerReply ServerReply::Stall() {
    ServerReply reply;
    reply.kind_ = Kind::Stall;
    return reply;
}

ServerReply ServerReply::CloseWithoutAnswer() {
    ServerReply reply;
    reply.kind_ = Kind::Close;
    return reply;
}

ServerReply ServerReply::CutBody(std::string body, size_t sentBytes) {
    std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    return Raw(head + body.substr(0, sentBytes));
}

ServerReply ServerReply::From(Handler handler) {
    ServerReply reply;
    reply.kind_ = Kind::Handler;
    reply.handler_ = std::move(handler);
    return reply;
}

ServerReply ServerReply::LargeBody(uint64_t bodyBytes) {
    ServerReply reply;
    reply.kind_ = Kind::Large;
    reply.bodyBytes_ = bodyBytes;
    return reply;
}

ServerReply ServerReply::ResetMidBody(std::string body, size_t sentBytes) {
    ServerReply reply = CutBody(std::move(body), sentBytes);
    reply.kind_ = Kind::Reset;
    return reply;
}

uint8_t LargeBodyByte(uint64_t offset) { return static_cast<uint8_t>('!' + offset % 89); }

std::string ServerReply::ResponseFor(const RecordedRequest& request) const {
    return kind_ == Kind::Handler ? handler_(request) : response_;
}

std::string HttpResponse(int status, std::string_view reason, const std::vector<std::pair<std::string, std::string>>& headers,
                         std::string_view body) {
    std::string out = "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) + "\r\n";
    for (const auto& [name, value] : headers) out += name + ": " + value + "\r\n";
    out += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    out += body;
    return out;
}

LoopbackHttpServer::LoopbackHttpServer(uint16_t port) : defaultReply_(ServerReply::Raw(HttpResponse(200, "OK", {}, ""))) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    int reuse = 1;
    if (listener_ >= 0) setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 64) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ >= 0) close(listener_);
        listener_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() { Stop(); }

void LoopbackHttpServer::Stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) close(listener_);
    listener_ = -1;
    std::lock_guard lock(mutex_);
    for (int connection : heldConnections_) close(connection);
    heldConnections_.clear();
}

std::string LoopbackHttpServer::Url(std::string_view pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

void LoopbackHttpServer::Enqueue(ServerReply reply) {
    std::lock_guard lock(mutex_);
    script_.push_back(std::move(reply));
}

void LoopbackHttpServer::SetDefaultReply(ServerReply reply) {
    std::lock_guard lock(mutex_);
    defaultReply_ = std::move(reply);
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t LoopbackHttpServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

ServerReply LoopbackHttpServer::NextReply() {
    std::lock_guard lock(mutex_);
    if (script_.empty()) return defaultReply_;
    ServerReply reply = std::move(script_.front());
    script_.pop_front();
    return reply;
}

void LoopbackHttpServer::Serve() {
    while (!stopping_) {
        pollfd entry{listener_, POLLIN, 0};
        if (poll(&entry, 1, kPollStepMs) <= 0) continue;
        int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) ServeConnection(connection);
    }
}

void LoopbackHttpServer::ServeConnection(int connection) {
    std::optional<RecordedRequest> request = ReadRequest(connection, stopping_);
    if (!request) {
        close(connection);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(*request);
    }
    ServerReply reply = NextReply();
    switch (reply.kind()) {
        case ServerReply::Kind::Stall: {
            std::lock_guard lock(mutex_);
            heldConnections_.push_back(connection);
            return;
        }
        case ServerReply::Kind::Close:
            CloseGracefully(connection);
            return;
        case ServerReply::Kind::Raw:
        case ServerReply::Kind::Handler:
            SendAll(connection, reply.ResponseFor(*request), stopping_);
            CloseGracefully(connection);
            return;
        case ServerReply::Kind::Large:
            SendLargeBody(connection, reply.bodyBytes());
            CloseGracefully(connection);
            return;
        case ServerReply::Kind::Reset:
            ResetAfterSending(connection, reply.ResponseFor(*request));
            return;
    }
}

void LoopbackHttpServer::SendLargeBody(int connection, uint64_t bodyBytes) {
    std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(bodyBytes) + "\r\nConnection: close\r\n\r\n";
    if (!SendAll(connection, head, stopping_)) return;
    std::string piece;
    for (uint64_t sent = 0; sent < bodyBytes; sent += piece.size()) {
        piece.resize(static_cast<size_t>(std::min<uint64_t>(bodyBytes - sent, 1 << 18)));
        for (size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>(LargeBodyByte(sent + i));
        if (!SendAll(connection, piece, stopping_)) return;
    }
}

// Waits (bounded) until the client acknowledged every byte, so the reset cannot drop any
// of them in flight; a zero linger time then makes close() send RST.
void LoopbackHttpServer::ResetAfterSending(int connection, std::string_view bytes) {
    if (SendAll(connection, bytes, stopping_)) {
        Clock::time_point deadline = Clock::now() + kRequestDeadline;
        int unacknowledged = 0;
        while (!stopping_ && Clock::now() < deadline && ioctl(connection, SIOCOUTQ, &unacknowledged) == 0 &&
               unacknowledged > 0) {
            poll(nullptr, 0, 5);
        }
    }
    linger abort{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    close(connection);
}

}  // namespace korvel::testing
