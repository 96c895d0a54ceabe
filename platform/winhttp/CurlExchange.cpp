#include "platform/winhttp/CurlExchange.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>

#include "platform/winhttp/WideText.h"

namespace korvel::platform::winhttp {
namespace {

using Clock = std::chrono::steady_clock;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// What the callbacks learn while the transfer runs. A "hop" is one request of a chain of
// redirects; libcurl announces each through the pre-request callback.
struct TransferState {
    std::string body;
    std::string block;                 // the header block being received
    bool inBlock = false;
    std::string lastResponse;          // the last complete non-1xx header block
    bool anyResponse = false;          // some non-1xx response arrived (a redirect counts)
    bool responseOnThisHop = false;    // ... and no new hop started since
    bool connected = false;            // some hop has its connection (and TLS) up
    curl_off_t uploadedBeforeResponse = 0;
    Clock::time_point lastActivity = Clock::now();
};

int StatusCodeOf(std::string_view statusLine) {
    size_t blank = statusLine.find(' ');
    if (blank == std::string_view::npos || blank + 4 > statusLine.size()) return 0;
    int code = 0;
    for (char c : statusLine.substr(blank + 1, 3)) {
        if (c < '0' || c > '9') return 0;
        code = code * 10 + (c - '0');
    }
    return code;
}

// libcurl hands over one whole header line per call, the line end included. Line ends
// become CR LF whatever the server sent; trailers after a chunked body are ignored.
size_t OnHeaderLine(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    size_t length = size * count;
    state.lastActivity = Clock::now();
    std::string_view line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        state.block.assign(line);
        state.block += "\r\n";
        state.inBlock = true;
    } else if (line.empty()) {
        if (state.inBlock) {
            state.block += "\r\n";
            state.inBlock = false;
            int code = StatusCodeOf(state.block.substr(0, state.block.find('\r')));
            if (code < 100 || code >= 200) {
                state.lastResponse = state.block;
                state.anyResponse = true;
                state.responseOnThisHop = true;
            }
        }
    } else if (state.inBlock) {
        state.block.append(line);
        state.block += "\r\n";
    }
    return length;
}

size_t OnBodyBytes(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    state.body.append(data, size * count);
    state.lastActivity = Clock::now();
    return size * count;
}

// Called once the connection of a hop is up, TLS included, before its request is sent.
int OnConnected(void* user, char*, char*, int, int) {
    auto& state = *static_cast<TransferState*>(user);
    state.connected = true;
    state.responseOnThisHop = false;
    state.lastActivity = Clock::now();
    return CURL_PREREQFUNC_OK;
}

// Sets options one by one and remembers whether every one took.
class Options {
public:
    explicit Options(CURL* easy) : easy_(easy) {}
    template <typename T>
    void Set(CURLoption option, T value) {
        if (curl_easy_setopt(easy_, option, value) != CURLE_OK) ok_ = false;
    }
    bool ok() const { return ok_; }

private:
    CURL* easy_;
    bool ok_ = true;
};

bool Append(HeaderList& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return false;
    list.release();
    list.reset(grown);
    return true;
}

bool SendsBody(const ExchangeRequest& request) {
    if (request.verb == "HEAD") return false;
    return !request.body.empty() || request.verb == "POST" || request.verb == "PUT";
}

// With the cookie engine on, the caller's Cookie lines go to libcurl as its cookie text,
// so that cookies set during redirects join them on one line instead of a second one.
bool CookieTravelsWithEngine(const ExchangeRequest& request, const RequestHeader& header) {
    return request.cookieEngine && AsciiLower(header.name) == "cookie";
}

std::string CallerCookies(const ExchangeRequest& request) {
    std::string cookies;
    if (!request.headers) return cookies;
    for (const RequestHeader& header : request.headers->headers()) {
        if (!CookieTravelsWithEngine(request, header) || header.value.empty()) continue;
        cookies += (cookies.empty() ? "" : "; ") + header.value;
    }
    return cookies;
}

// The caller's headers, and an empty entry for each header libcurl would add on its own
// (Accept, Expect, Content-Type), so that only Host and Content-Length are libcurl's.
// An empty value is written "Name;", libcurl's way of sending a header with no value.
bool BuildHeaderList(const ExchangeRequest& request, HeaderList& list) {
    bool ok = true;
    if (request.headers) {
        for (const RequestHeader& header : request.headers->headers()) {
            if (CookieTravelsWithEngine(request, header)) continue;
            ok = ok && Append(list, header.value.empty() ? header.name + ";" : header.name + ": " + header.value);
        }
    }
    auto has = [&](std::string_view name) { return request.headers && request.headers->Find(name); };
    if (!has("Accept")) ok = ok && Append(list, "Accept:");
    if (!has("Expect")) ok = ok && Append(list, "Expect:");
    if (SendsBody(request) && !has("Content-Type")) ok = ok && Append(list, "Content-Type:");
    return ok;
}

void SetVerbAndBody(Options& options, const ExchangeRequest& request) {
    // libcurl needs a non-null body pointer even for zero bytes, so Content-Length: 0 goes out.
    const char* bodyBytes = request.body.empty() ? "" : request.body.data();
    auto bodyLength = static_cast<curl_off_t>(request.body.size());
    if (request.verb == "HEAD") {
        options.Set(CURLOPT_NOBODY, 1L);
    } else if (request.verb == "POST") {
        // Plain POST (not a custom verb), so libcurl turns it into GET on 301, 302 and 303.
        options.Set(CURLOPT_POST, 1L);
        options.Set(CURLOPT_POSTFIELDSIZE_LARGE, bodyLength);
        options.Set(CURLOPT_POSTFIELDS, bodyBytes);
    } else {
        if (SendsBody(request)) {
            options.Set(CURLOPT_POSTFIELDSIZE_LARGE, bodyLength);
            options.Set(CURLOPT_POSTFIELDS, bodyBytes);
        } else {
            options.Set(CURLOPT_HTTPGET, 1L);
        }
        if (request.verb != "GET" || SendsBody(request)) options.Set(CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }
}

// Resolve and connect together bound the connection, TLS handshake included; 0 for both
// leaves libcurl's own bound.
long ConnectionLimitMs(const ExchangeTimeouts& timeouts) {
    return static_cast<long>(std::max(timeouts.resolveMs, 0)) + static_cast<long>(std::max(timeouts.connectMs, 0));
}

bool Configure(CURL* easy, const ExchangeRequest& request, curl_slist* headers, curl_slist* proxyHeaders,
               const std::string& cookies, TransferState* state, char* errorText) {
    Options options(easy);
    options.Set(CURLOPT_ERRORBUFFER, errorText);
    options.Set(CURLOPT_URL, request.url.c_str());
    options.Set(CURLOPT_PROTOCOLS_STR, "http,https");
    options.Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    options.Set(CURLOPT_NOSIGNAL, 1L);
    options.Set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    // An empty proxy switches off libcurl's reading of proxy variables from the environment.
    options.Set(CURLOPT_PROXY, request.proxyUrl.c_str());
    options.Set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    // Certificates are always verified; nothing in the stand-in relaxes this.
    options.Set(CURLOPT_SSL_VERIFYPEER, 1L);
    options.Set(CURLOPT_SSL_VERIFYHOST, 2L);
    options.Set(CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    options.Set(CURLOPT_MAXREDIRS, 10L);
    options.Set(CURLOPT_POSTREDIR, 0L);
    if (request.cookieEngine) options.Set(CURLOPT_COOKIEFILE, "");
    if (!cookies.empty()) options.Set(CURLOPT_COOKIE, cookies.c_str());
    options.Set(CURLOPT_CONNECTTIMEOUT_MS, ConnectionLimitMs(request.timeouts));
    SetVerbAndBody(options, request);
    options.Set(CURLOPT_HTTPHEADER, headers);
    options.Set(CURLOPT_PROXYHEADER, proxyHeaders);
    if (request.server.given) {
        options.Set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        options.Set(CURLOPT_USERNAME, request.server.user.c_str());
        options.Set(CURLOPT_PASSWORD, request.server.password.c_str());
    }
    if (request.proxy.given) {
        options.Set(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
        options.Set(CURLOPT_PROXYUSERNAME, request.proxy.user.c_str());
        options.Set(CURLOPT_PROXYPASSWORD, request.proxy.password.c_str());
    }
    options.Set(CURLOPT_HEADERFUNCTION, &OnHeaderLine);
    options.Set(CURLOPT_HEADERDATA, state);
    options.Set(CURLOPT_WRITEFUNCTION, &OnBodyBytes);
    options.Set(CURLOPT_WRITEDATA, state);
    options.Set(CURLOPT_PREREQFUNCTION, &OnConnected);
    options.Set(CURLOPT_PREREQDATA, state);
    return options.ok();
}

// The stall bound that applies now, in milliseconds (0: none). Connecting is bound by
// libcurl itself; then the send time-out holds until the whole request went out, and the
// receive time-out after that.
int32_t StallLimitMs(const ExchangeRequest& request, const TransferState& state, curl_off_t uploaded) {
    if (!state.connected) return 0;
    bool requestOut = state.anyResponse || !SendsBody(request) || uploaded >= static_cast<curl_off_t>(request.body.size());
    return requestOut ? request.timeouts.receiveMs : request.timeouts.sendMs;
}

struct TransferOutcome {
    CURLcode code = CURLE_OK;
    bool stalled = false;
};

// Drives the transfer until it ends or stalls. The loop waits at most until the stall
// bound runs out, so a stall is noticed to the millisecond.
TransferOutcome RunTransfer(CURLM* multi, CURL* easy, const ExchangeRequest& request, TransferState& state) {
    curl_off_t uploaded = 0;
    while (true) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) return {CURLE_FAILED_INIT, false};
        int queued = 0;
        // The upload count is taken before a finished transfer is classified too: a request
        // sent and answered by a close within one pass went out whole, and that fails the
        // receive, not the send.
        curl_off_t nowUploaded = 0;
        if (curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &nowUploaded) == CURLE_OK && nowUploaded != uploaded) {
            uploaded = nowUploaded;
            state.lastActivity = Clock::now();
        }
        if (!state.anyResponse) state.uploadedBeforeResponse = std::max(state.uploadedBeforeResponse, uploaded);

        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) return {message->data.result, false};
        }
        if (running == 0) return {CURLE_OK, false};

        int waitMs = 1000;
        int32_t limit = StallLimitMs(request, state, uploaded);
        if (limit > 0) {
            auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - state.lastActivity).count();
            if (idle >= limit) return {CURLE_OPERATION_TIMEDOUT, true};
            waitMs = static_cast<int>(std::min<int64_t>(waitMs, limit - idle));
        }
        if (curl_multi_poll(multi, nullptr, 0, std::max(waitMs, 1), nullptr) != CURLM_OK) return {CURLE_FAILED_INIT, false};
    }
}

// A failure after the final headers came breaks the body; a failed redirect or anything
// before the first response is the send's or the receive's, by how far the request got.
ExchangeFailure ClassifyFailure(CURLcode code, const ExchangeRequest& request, const TransferState& state) {
    bool chainFailed = code == CURLE_TOO_MANY_REDIRECTS || code == CURLE_UNSUPPORTED_PROTOCOL || code == CURLE_URL_MALFORMAT;
    if (state.responseOnThisHop && !chainFailed) return ExchangeFailure::Body;
    if (state.anyResponse) return ExchangeFailure::Receive;
    if (!state.connected) return ExchangeFailure::Send;
    if (SendsBody(request) && state.uploadedBeforeResponse < static_cast<curl_off_t>(request.body.size())) {
        return ExchangeFailure::Send;
    }
    return ExchangeFailure::Receive;
}

uint64_t BytesOwed(CURL* easy, const TransferState& state) {
    curl_off_t declared = -1;
    if (curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &declared) == CURLE_OK &&
        declared > static_cast<curl_off_t>(state.body.size())) {
        return static_cast<uint64_t>(declared) - state.body.size();
    }
    return 1;
}

}  // namespace

void StartCurl() {
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

ExchangeResult PerformExchange(const ExchangeRequest& request) {
    StartCurl();
    ExchangeResult result;
    EasyHandle easy(curl_easy_init());
    MultiHandle multi(curl_multi_init());
    HeaderList headers;
    HeaderList proxyHeaders;   // libcurl's own Proxy-Connection line, taken out
    if (!easy || !multi || !BuildHeaderList(request, headers) || !Append(proxyHeaders, "Proxy-Connection:")) {
        result.detail = "libcurl could not be set up";
        return result;
    }
    TransferState state;
    std::string cookies = CallerCookies(request);
    char errorText[CURL_ERROR_SIZE] = {};
    if (!Configure(easy.get(), request, headers.get(), proxyHeaders.get(), cookies, &state, errorText)) {
        result.detail = "libcurl refused an option";
        return result;
    }
    if (curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK) {
        result.detail = "libcurl could not start the transfer";
        return result;
    }
    TransferOutcome outcome = RunTransfer(multi.get(), easy.get(), request, state);
    curl_multi_remove_handle(multi.get(), easy.get());

    if (outcome.code == CURLE_OK && state.anyResponse) {
        result.failure = ExchangeFailure::None;
    } else {
        result.failure = ClassifyFailure(outcome.code, request, state);
        result.detail = outcome.stalled ? "no byte moved within the time-out"
                                        : (errorText[0] ? errorText : curl_easy_strerror(outcome.code));
    }
    if (state.anyResponse) result.rawHeaders = std::move(state.lastResponse);
    if (result.failure == ExchangeFailure::Body) result.bytesOwed = BytesOwed(easy.get(), state);
    result.body = std::move(state.body);
    return result;
}

}  // namespace korvel::platform::winhttp
