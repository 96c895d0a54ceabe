#pragma once
// A real HTTP/1.1 server on 127.0.0.1 for tests, on an ephemeral port and a thread of its
// own. It records every request as it arrived (request line, headers, body bytes) and
// answers each from a script: one reply per request in arrival order, then a default.
// One request per connection; the connection closes after the answer. Every wait inside
// is bounded, and the destructor stops the thread and closes every connection it holds.
// As a proxy target it needs nothing more: it records the absolute request line.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace korvel::testing {

struct RecordedRequest {
    std::string requestLine;   // "POST /path?q=1 HTTP/1.1", without CR LF
    std::string method;
    std::string target;        // "/path?q=1", or "http://host:port/path" at a proxy
    std::vector<std::pair<std::string, std::string>> headers;   // in order, as sent
    std::string headerLines;   // the raw lines after the request line, each ending in CR LF
    std::string body;          // exactly the bytes after the header block (Content-Length)

    // The first value of the header, letter case of the name ignored.
    std::optional<std::string> Header(std::string_view name) const;
    size_t HeaderCount(std::string_view name) const;
};

// One scripted answer.
class ServerReply {
public:
    using Handler = std::function<std::string(const RecordedRequest&)>;

    // Sends response as it stands, then closes.
    static ServerReply Raw(std::string response);
    // Reads the request and never answers; the connection stays open until the server stops.
    static ServerReply Stall();
    // Reads the request and closes the connection without a byte of answer.
    static ServerReply CloseWithoutAnswer();
    // Announces body.size() bytes with Content-Length, sends the first sentBytes of body,
    // then closes.
    static ServerReply CutBody(std::string body, size_t sentBytes);
    // Answers with what handler makes of the request (a complete raw response).
    static ServerReply From(Handler handler);
    // "200 OK" announcing bodyBytes with Content-Length, the body made piece by piece as it
    // is sent (byte i is LargeBodyByte(i)), so the server holds little of a large body.
    static ServerReply LargeBody(uint64_t bodyBytes);
    // Like CutBody, but once the client has the sentBytes the connection is reset (RST),
    // not closed.
    static ServerReply ResetMidBody(std::string body, size_t sentBytes);

    enum class Kind { Raw, Stall, Close, Handler, Large, Reset };
    Kind kind() const { return kind_; }
    uint64_t bodyBytes() const { return bodyBytes_; }
    std::string ResponseFor(const RecordedRequest& request) const;

private:
    Kind kind_ = Kind::Raw;
    std::string response_;
    Handler handler_;
    uint64_t bodyBytes_ = 0;
};

// Byte i of a LargeBody answer: printable, never NUL, repeating every 89 bytes, so a piece
// out of place or lost shows.
uint8_t LargeBodyByte(uint64_t offset);

// A complete response: status line, the headers given, Content-Length and Connection:
// close, the empty line and the body.
std::string HttpResponse(int status, std::string_view reason, const std::vector<std::pair<std::string, std::string>>& headers,
                         std::string_view body);

class LoopbackHttpServer {
public:
    // Listening when constructed, on the given port or, for 0, an ephemeral one. port()
    // is 0 when the port could not be had (taken, or below 1024 without the right).
    explicit LoopbackHttpServer(uint16_t port = 0);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by pathAndQuery.
    std::string Url(std::string_view pathAndQuery = "/") const;

    // The answer to the next request that has none scripted yet.
    void Enqueue(ServerReply reply);
    // The answer once the queue is empty; at first "200 OK" with an empty body.
    void SetDefaultReply(ServerReply reply);

    std::vector<RecordedRequest> Requests() const;
    size_t RequestCount() const;

    // Stops the thread and closes every connection; called by the destructor.
    void Stop();

private:
    void Serve();
    void ServeConnection(int connection);
    void SendLargeBody(int connection, uint64_t bodyBytes);
    void ResetAfterSending(int connection, std::string_view bytes);
    ServerReply NextReply();

    int listener_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::deque<ServerReply> script_;
    ServerReply defaultReply_;
    std::vector<RecordedRequest> requests_;
    std::vector<int> heldConnections_;   // stalled connections, closed at Stop
    std::thread thread_;
};

}  // namespace korvel::testing
