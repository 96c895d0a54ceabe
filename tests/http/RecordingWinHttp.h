#pragma once
// A fake "Winhttp.dll" that records every call the request routine makes, with its
// arguments, and fails the call a test names. Registered in place of the stand-in for
// the life of a RecordingWinHttpTest and replaced by the real one afterwards.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/binding/WindowsTypes.h"

namespace korvel::testing {

struct RecordedCredentials {
    DWORD target, scheme;
    std::u16string user, password;
};

struct RecordedOption {
    DWORD option, value, length;
};

struct WinHttpScript {
    // The function whose call fails ("WinHttpOpen", ...); "" lets every call succeed.
    std::string failing;
    DWORD failingCredentialsTarget = 0;   // which target fails when failing is SetCredentials
    DWORD failingOptionValue = 1;         // which value fails when failing is SetOption
    bool secondHeaderQueryFails = false;
    std::u16string rawHeaders = u"HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n";
    std::string body = "body";
    // The read after this many body bytes fails; -1: reads never fail.
    int64_t readFailsAfter = -1;
};

struct WinHttpRecord {
    std::vector<std::string> calls;       // function names, in call order
    std::vector<std::string> closed;      // "request", "connection", "session", in order
    DWORD accessType = 0;
    std::u16string proxyName;
    bool proxyNameNull = false;
    std::u16string host;
    INTERNET_PORT port = 0;
    std::u16string verb, objectName;
    DWORD requestFlags = 0;
    std::vector<int32_t> timeouts;
    std::vector<RecordedCredentials> credentials;
    std::vector<RecordedOption> options;
    std::u16string headers;               // the block as passed, headersLength units
    DWORD headersModifiers = 0;
    bool headersTerminated = false;       // a NUL unit follows the counted units
    std::string sentBody;
    DWORD optionalLength = 0, totalLength = 0;
};

// Registers the fake, resets the binding and counts yields; restores everything after.
class RecordingWinHttpTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    WinHttpScript& script();
    const WinHttpRecord& record();
    void ClearRecord();
    int yields() const { return yields_; }
    // The yields the charset step makes for this page on its own, so that a count for a
    // whole exchange need not know what that step decides.
    int CharsetStepYields(const std::string& body);

private:
    int yields_ = 0;
};

// The GBK text of UTF-16 recorded by the fake, for comparing with Text values.
std::string Narrow(const std::u16string& text);

}  // namespace korvel::testing
