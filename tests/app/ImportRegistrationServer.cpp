#include "tests/app/ImportRegistrationServer.h"

#include <thread>

namespace korvel::test {
namespace {

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    return -1;
}

// "+" is a blank and "%XX" the byte XX; a "%" not followed by two hex digits stays.
std::string FormDecode(std::string_view encoded) {
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%' && i + 2 < encoded.size() && HexValue(encoded[i + 1]) >= 0 && HexValue(encoded[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

}  // namespace

std::optional<std::string> FormField(std::string_view body, std::string_view name) {
    while (true) {
        const size_t end = body.find('&');
        const std::string_view field = body.substr(0, end);
        const size_t equals = field.find('=');
        if (FormDecode(field.substr(0, equals)) == name) {
            return equals == std::string_view::npos ? std::string() : FormDecode(field.substr(equals + 1));
        }
        if (end == std::string_view::npos) return std::nullopt;
        body.remove_prefix(end + 1);
    }
}

RegistrationServer ImportRegistrationServer::Address() const { return RegistrationServer(Text("127.0.0.1"), http_.port()); }

std::string ImportRegistrationServer::ViewUrl(const std::string& id) const {
    return http_.Url("/kv/ck.asp?id=") + id;
}

void ImportRegistrationServer::AnswerId(std::string id, std::chrono::milliseconds delay) {
    http_.Enqueue(testing::ServerReply::From([id, delay](const testing::RecordedRequest&) {
        // A server that takes its time; the answer still comes well within the time-out.
        std::this_thread::sleep_for(delay);
        return testing::HttpResponse(200, "OK", {{"Content-Type", "text/plain"}}, id);
    }));
}

void ImportRegistrationServer::AnswerStatus(int status, std::string reason) {
    http_.Enqueue(testing::ServerReply::Raw(
        testing::HttpResponse(status, reason, {{"Content-Type", "text/html"}}, "<html><body>" + reason + "</body></html>")));
}

void ImportRegistrationServer::AnswerEmpty() { http_.Enqueue(testing::ServerReply::Raw(testing::HttpResponse(200, "OK", {}, ""))); }

void ImportRegistrationServer::GoAway() { http_.Stop(); }

std::vector<std::string> ImportRegistrationServer::RosterFields() const {
    std::vector<std::string> fields;
    for (const testing::RecordedRequest& request : http_.Requests()) fields.push_back(FormField(request.body, "nr").value_or("<none>"));
    return fields;
}

}  // namespace korvel::test
