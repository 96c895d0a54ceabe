// WinHttpCrackUrl of the WinHTTP stand-in over arbitrary UTF-16. Every piece it gives
// must point inside the caller's string (or be copied whole into the caller's buffer, never
// past its capacity), and the pieces must tell the URL's parts apart as a request needs.
//
// Input: two bytes of piece modes (two bits per piece, in the order scheme, host, user,
// password, path, extra: 0 not asked, 1 a pointer into the URL, 2 a buffer of the piece's
// capacity byte, 3 a capacity without a buffer), six capacity bytes, a flags byte (bit 0:
// the length passed is 0 and the string ends at its first NUL unit; bit 1: every further
// byte is one unit, else the rest is UTF-16LE).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "platform/Platform.h"
#include "platform/winhttp/WinHttpFunctions.h"

namespace {

using namespace korvel;
using platform::winhttp::WinHttpCrackUrl;

constexpr DWORD kAsk = 0xFFFFFFFF;
constexpr int kPieces = 6;

struct PieceField {
    char16_t* URL_COMPONENTS::*pointer;
    DWORD URL_COMPONENTS::*length;
};
constexpr PieceField kFields[kPieces] = {
    {&URL_COMPONENTS::lpszScheme, &URL_COMPONENTS::dwSchemeLength},
    {&URL_COMPONENTS::lpszHostName, &URL_COMPONENTS::dwHostNameLength},
    {&URL_COMPONENTS::lpszUserName, &URL_COMPONENTS::dwUserNameLength},
    {&URL_COMPONENTS::lpszPassword, &URL_COMPONENTS::dwPasswordLength},
    {&URL_COMPONENTS::lpszUrlPath, &URL_COMPONENTS::dwUrlPathLength},
    {&URL_COMPONENTS::lpszExtraInfo, &URL_COMPONENTS::dwExtraInfoLength},
};
enum Piece { kScheme, kHost, kUser, kPassword, kPath, kExtra };

std::u16string Units(std::string_view bytes, bool widen) {
    std::u16string units;
    if (widen) {
        for (char byte : bytes) units += static_cast<char16_t>(static_cast<uint8_t>(byte));
    } else {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            units += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
        }
    }
    return units;
}

std::u16string Lower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    }
    return out;
}

// Cracks with every piece asked for as a pointer; checks the pieces against the URL.
// url is the caller's string, of which `end` units are the URL.
bool CrackWhole(const std::u16string& url, DWORD lengthArgument, size_t end, std::u16string_view pieces[kPieces],
                URL_COMPONENTS& components) {
    components = URL_COMPONENTS();
    components.dwStructSize = sizeof components;
    for (const PieceField& field : kFields) components.*field.length = kAsk;
    if (!WinHttpCrackUrl(url.c_str(), lengthArgument, 0, &components)) return false;
    const char16_t* first = url.c_str();
    for (int i = 0; i < kPieces; ++i) {
        const char16_t* at = components.*kFields[i].pointer;
        const DWORD length = components.*kFields[i].length;
        FUZZ_CHECK(at >= first && at <= first + end && length <= end && at + length <= first + end);
        pieces[i] = std::u16string_view(at, length);
    }
    FUZZ_CHECK(components.nScheme == INTERNET_SCHEME_HTTP || components.nScheme == INTERNET_SCHEME_HTTPS);
    FUZZ_CHECK(Lower(pieces[kScheme]) == (components.nScheme == INTERNET_SCHEME_HTTPS ? u"https" : u"http"));
    FUZZ_CHECK(components.lpszScheme == first);
    FUZZ_CHECK(components.nPort >= 1);
    FUZZ_CHECK(!pieces[kHost].empty());
    FUZZ_CHECK(pieces[kPath].empty() || pieces[kPath].front() == u'/');
    FUZZ_CHECK(pieces[kExtra].empty() || pieces[kExtra].front() == u'?' || pieces[kExtra].front() == u'#');
    // Path and extra information run up to the end of the URL, one after the other.
    FUZZ_CHECK(components.lpszUrlPath + pieces[kPath].size() == components.lpszExtraInfo);
    FUZZ_CHECK(components.lpszExtraInfo + pieces[kExtra].size() == first + end);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::Install();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const unsigned modes = input.TakeByte() | unsigned{input.TakeByte()} << 8;
    uint8_t capacities[kPieces];
    for (uint8_t& capacity : capacities) capacity = input.TakeByte();
    const uint8_t flags = input.TakeByte();
    const std::u16string url = Units(input.Rest(), flags & 2);
    const bool toNul = flags & 1;
    const DWORD lengthArgument = toNul ? 0 : static_cast<DWORD>(url.size());
    const size_t end = toNul ? std::u16string_view(url.c_str()).size() : url.size();

    std::u16string_view whole[kPieces];
    URL_COMPONENTS reference;
    const bool cracked = CrackWhole(url, lengthArgument, end, whole, reference);

    // The same URL with the pieces asked for as the modes say.
    // A capacity of 0 asks for nothing; a capacity without a buffer asks for a pointer.
    unsigned mode[kPieces];
    for (int i = 0; i < kPieces; ++i) {
        mode[i] = (modes >> (2 * i)) & 3;
        if (mode[i] >= 2 && capacities[i] == 0) mode[i] = 0;
    }
    URL_COMPONENTS components;
    components.dwStructSize = sizeof components;
    std::vector<std::vector<char16_t>> buffers(kPieces);
    for (int i = 0; i < kPieces; ++i) {
        if (mode[i] == 1) components.*kFields[i].length = kAsk;
        if (mode[i] >= 2) components.*kFields[i].length = capacities[i];
        if (mode[i] == 2) {
            buffers[i].assign(capacities[i], u'\x7F');
            components.*kFields[i].pointer = buffers[i].data();
        }
    }
    const bool filled = WinHttpCrackUrl(url.c_str(), lengthArgument, 0, &components) != 0;
    if (!cracked) {
        FUZZ_CHECK(!filled);
        return 0;
    }
    // A buffer too small for its piece fails the call; the pieces are checked only after
    // a call that succeeded.
    bool anyTooSmall = false;
    for (int i = 0; i < kPieces; ++i) anyTooSmall = anyTooSmall || (mode[i] == 2 && whole[i].size() + 1 > capacities[i]);
    FUZZ_CHECK(filled == !anyTooSmall);
    if (!filled) return 0;
    for (int i = 0; i < kPieces; ++i) {
        const char16_t* at = components.*kFields[i].pointer;
        const DWORD length = components.*kFields[i].length;
        if (mode[i] == 0) {
            FUZZ_CHECK(at == nullptr && length == 0);
        } else if (mode[i] == 2) {
            FUZZ_CHECK(at == buffers[i].data() && length == whole[i].size());
            FUZZ_CHECK(std::u16string_view(at, length) == whole[i] && at[length] == 0);
        } else {
            FUZZ_CHECK(std::u16string_view(at, length) == whole[i] && at == reference.*kFields[i].pointer);
        }
    }
    FUZZ_CHECK(components.nPort == reference.nPort && components.nScheme == reference.nScheme);
    return 0;
}
