#pragma once
// A registration server on loopback for the import workflow's tests: it reads the posted
// form as a form-handling server would and answers each registration as the test tells it.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/RegistrationServer.h"
#include "tests/support/LoopbackHttpServer.h"

namespace korvel::test {

// Decodes an application/x-www-form-urlencoded body: fields split at "&", the name at
// the first "=", "+" read as a blank and "%XX" as the byte XX. The value of the first
// field with that name, as bytes; nullopt when there is none.
std::optional<std::string> FormField(std::string_view body, std::string_view name);

class ImportRegistrationServer {
public:
    // 127.0.0.1 and the server's ephemeral port, for GenerateImportQr.
    RegistrationServer Address() const;
    // The view URL the workflow makes of the id on this server.
    std::string ViewUrl(const std::string& id) const;

    // The next registration's answer: status 200 and the id, after the delay.
    void AnswerId(std::string id, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // The next registration's answer: an error status with a page of its own.
    void AnswerStatus(int status, std::string reason);
    // The next registration's answer: status 200 and nothing in the body.
    void AnswerEmpty();
    // From now on nobody listens on the port: connections are refused.
    void GoAway();

    // Every registration as it arrived, in order.
    std::vector<testing::RecordedRequest> Requests() const { return http_.Requests(); }
    // The field "nr" of each registration after form decoding, in order.
    std::vector<std::string> RosterFields() const;

private:
    testing::LoopbackHttpServer http_;
};

}  // namespace korvel::test
