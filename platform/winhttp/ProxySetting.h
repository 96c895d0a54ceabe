#pragma once
// The named proxy of a session: WinHttpOpen's proxy list and bypass list, and the proxy
// one request goes through.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::platform::winhttp {

struct ProxyEntry {
    std::string scheme;   // "http", "https" or "" for every scheme
    std::string host;     // UTF-8
    int port = 80;
};

class ProxySetting {
public:
    ProxySetting() = default;   // no proxy

    // Entries separated by ";" or blanks, each "[scheme=][http://]host[:port]" with port 80
    // by default. Nothing when an entry is malformed or the list is empty.
    static std::optional<ProxySetting> Parse(std::string_view proxyList, std::string_view bypassList);

    // libcurl's proxy URL ("http://host:port") for a request to host over the scheme, or
    // "" when the request goes direct: no entry serves the scheme, or the host is bypassed.
    std::string ProxyUrlFor(std::string_view scheme, std::string_view host) const;

private:
    bool Bypasses(std::string_view host) const;

    std::vector<ProxyEntry> entries_;
    std::vector<std::string> bypass_;   // lower case; "<local>" and "*." suffixes kept as written
};

}  // namespace korvel::platform::winhttp
