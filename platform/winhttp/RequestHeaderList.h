#pragma once
// The request headers a caller added, in order, as WinHttpAddRequestHeaders keeps them.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/binding/WindowsTypes.h"

namespace korvel::platform::winhttp {

inline constexpr DWORD kAddRequestFlagAddIfNew = 0x10000000;
inline constexpr DWORD kAddRequestFlagCoalesceMask = 0x40000000 | 0x01000000;

struct RequestHeader {
    std::string name;    // as written
    std::string value;   // blanks around it removed
};

class RequestHeaderList {
public:
    // Adds the CR LF separated lines of block (LF alone is accepted, empty lines skipped)
    // under the modifier flags:
    //   REPLACE: a header of the same name (letter case ignored) takes the new value, an
    //            empty value removes it; a missing one is added only with ADD as well;
    //   ADD_IF_NEW: fails when the name is present;
    //   ADD or none: appended.
    // A line without a name and ":" fails the call; lines before it stay added.
    // Coalescing is not supported and fails.
    bool Add(std::string_view block, DWORD modifiers);

    // The value of the first header of that name, letter case ignored, or nothing.
    const RequestHeader* Find(std::string_view name) const;

    const std::vector<RequestHeader>& headers() const { return headers_; }

private:
    bool AddLine(std::string_view line, DWORD modifiers);

    std::vector<RequestHeader> headers_;
};

}  // namespace korvel::platform::winhttp
