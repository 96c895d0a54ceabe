#include "platform/winhttp/ProxySetting.h"

#include "platform/winhttp/WideText.h"

namespace korvel::platform::winhttp {
namespace {

std::vector<std::string_view> SplitList(std::string_view list) {
    std::vector<std::string_view> items;
    size_t i = 0;
    while (i < list.size()) {
        size_t end = list.find_first_of("; \t", i);
        if (end == std::string_view::npos) end = list.size();
        if (end > i) items.push_back(list.substr(i, end - i));
        i = end + 1;
    }
    return items;
}

std::optional<ProxyEntry> ParseEntry(std::string_view item) {
    ProxyEntry entry;
    size_t equals = item.find('=');
    if (equals != std::string_view::npos) {
        entry.scheme = AsciiLower(item.substr(0, equals));
        item.remove_prefix(equals + 1);
    }
    if (AsciiLower(item.substr(0, 7)) == "http://") item.remove_prefix(7);
    if (!item.empty() && item.back() == '/') item.remove_suffix(1);
    size_t colon = item.rfind(':');
    if (colon != std::string_view::npos && item.find(']', colon) == std::string_view::npos) {
        std::string_view digits = item.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return std::nullopt;
        int port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            port = port * 10 + (c - '0');
        }
        if (port < 1 || port > 65535) return std::nullopt;
        entry.port = port;
        item = item.substr(0, colon);
    }
    if (item.empty()) return std::nullopt;
    entry.host = std::string(item);
    return entry;
}

}  // namespace

std::optional<ProxySetting> ProxySetting::Parse(std::string_view proxyList, std::string_view bypassList) {
    ProxySetting setting;
    for (std::string_view item : SplitList(proxyList)) {
        std::optional<ProxyEntry> entry = ParseEntry(item);
        if (!entry) return std::nullopt;
        setting.entries_.push_back(*entry);
    }
    if (setting.entries_.empty()) return std::nullopt;
    for (std::string_view item : SplitList(bypassList)) setting.bypass_.push_back(AsciiLower(item));
    return setting;
}

bool ProxySetting::Bypasses(std::string_view host) const {
    std::string lower = AsciiLower(host);
    for (const std::string& rule : bypass_) {
        if (rule == "<local>") {
            if (lower.find('.') == std::string::npos) return true;
        } else if (rule.starts_with("*")) {
            std::string_view suffix = std::string_view(rule).substr(1);
            if (lower.size() >= suffix.size() && lower.ends_with(suffix)) return true;
        } else if (rule == lower) {
            return true;
        }
    }
    return false;
}

std::string ProxySetting::ProxyUrlFor(std::string_view scheme, std::string_view host) const {
    if (Bypasses(host)) return {};
    for (const ProxyEntry& entry : entries_) {
        if (entry.scheme.empty() || entry.scheme == scheme) {
            return "http://" + entry.host + ":" + std::to_string(entry.port);
        }
    }
    return {};
}

}  // namespace korvel::platform::winhttp
