#include "app/RosterPayload.h"

#include <string>

#include "core/TextOperations.h"

namespace korvel {
namespace {

// The three bytes a form decoder would not give back as they stand.
const char* FormEscapeOf(unsigned char byte) {
    switch (byte) {
        case '%': return "%25";
        case '&': return "%26";
        case '+': return "%2B";
        default: return nullptr;
    }
}

}  // namespace

Text BuildRosterPayload(const Roster& roster) {
    // One buffer for the whole roster: a payload of many thousand rows is built in one pass.
    std::string payload = "bjdl";
    const int32_t rows = ElementCount(roster.serials);
    for (int32_t i = 1; i <= rows; ++i) {
        payload += RowKey(roster, i).view();
        if (i != rows) payload += '|';
    }
    return Text(std::move(payload));
}

Text RegistrationBody(const Text& payload) {
    std::string body = "nr=";
    body.reserve(payload.view().size() + 3);
    const int32_t length = payload.size();
    for (int32_t i = 0; i < length; ++i) {
        const unsigned char byte = payload.at(i);
        // A two-byte character goes out whole; its trail byte is never read as a sign.
        if (IsLeadByte(byte) && i + 1 < length) {
            body += payload.view().substr(static_cast<size_t>(i), 2);
            ++i;
        } else if (const char* escape = FormEscapeOf(byte)) {
            body += escape;
        } else {
            body += static_cast<char>(byte);
        }
    }
    return Text(std::move(body));
}

}  // namespace korvel
