#include "platform/winhttp/RequestHeaderList.h"

#include <algorithm>

#include "platform/winhttp/WideText.h"

namespace korvel::platform::winhttp {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A header name is a token: visible ASCII without separators.
bool IsHeaderName(std::string_view name) {
    if (name.empty()) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F && std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
    });
}

}  // namespace

bool RequestHeaderList::Add(std::string_view block, DWORD modifiers) {
    if (modifiers & kAddRequestFlagCoalesceMask) return false;
    size_t i = 0;
    while (i < block.size()) {
        size_t end = block.find('\n', i);
        if (end == std::string_view::npos) end = block.size();
        std::string_view line = block.substr(i, end - i);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && !AddLine(line, modifiers)) return false;
        i = end + 1;
    }
    return true;
}

bool RequestHeaderList::AddLine(std::string_view line, DWORD modifiers) {
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    std::string_view name = TrimBlanks(line.substr(0, colon));
    if (!IsHeaderName(name)) return false;
    RequestHeader header{std::string(name), std::string(TrimBlanks(line.substr(colon + 1)))};

    std::string lowerName = AsciiLower(name);
    auto existing = std::find_if(headers_.begin(), headers_.end(),
                                 [&](const RequestHeader& h) { return AsciiLower(h.name) == lowerName; });
    bool present = existing != headers_.end();
    if (modifiers & WINHTTP_ADDREQ_FLAG_REPLACE) {
        if (present) {
            if (header.value.empty()) {
                headers_.erase(existing);
            } else {
                *existing = std::move(header);
            }
            return true;
        }
        if (!(modifiers & WINHTTP_ADDREQ_FLAG_ADD)) return false;
    } else if (modifiers & kAddRequestFlagAddIfNew) {
        if (present) return false;
    }
    headers_.push_back(std::move(header));
    return true;
}

const RequestHeader* RequestHeaderList::Find(std::string_view name) const {
    std::string lowerName = AsciiLower(name);
    for (const RequestHeader& header : headers_) {
        if (AsciiLower(header.name) == lowerName) return &header;
    }
    return nullptr;
}

}  // namespace korvel::platform::winhttp
