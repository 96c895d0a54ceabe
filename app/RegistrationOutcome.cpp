#include "app/RegistrationOutcome.h"

#include "core/CodePage.h"
#include "core/TextOperations.h"

namespace korvel {
namespace {

bool IsDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

// The status code at the start of "200 OK"; nullopt when the text starts with no digit.
// Digits beyond the sixth cannot make a status code and are not read.
std::optional<int32_t> LeadingStatusCode(const Text& statusText) {
    int32_t code = 0;
    int32_t i = 0;
    for (; i < statusText.size() && i < 6 && IsDigit(statusText.at(i)); ++i) code = code * 10 + (statusText.at(i) - '0');
    if (i == 0) return std::nullopt;
    return code;
}

bool IsSuccessStatus(const Text& statusText) {
    const std::optional<int32_t> code = LeadingStatusCode(statusText);
    return code && *code >= 200 && *code <= 299;
}

}  // namespace

std::optional<Text> RegistrationFailure(const Text& statusText, const Text& reply, const Text& viewUrl) {
    const Text failed = "注册失败："_gbk;
    // The request routine's own error texts, "700 ..." to "713 ...", lead with a number
    // outside the success range as well.
    if (!IsSuccessStatus(statusText)) return ConcatText(failed, statusText);
    if (reply.empty()) return ConcatText(failed, "服务器返回为空"_gbk);
    if (TextLength(viewUrl) > kViewUrlLimit) return ConcatText(failed, "服务器返回过长"_gbk);
    return std::nullopt;
}

}  // namespace korvel
