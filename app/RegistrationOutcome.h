#pragma once
// Whether the server's answer to a registration can become an import code. A code that
// leads nowhere would send the phone application to a roster that was never stored, so
// a failed registration is told to the user instead.
#include <optional>

#include "core/Text.h"

namespace korvel {

// The longest view URL a QR code holds whole, in bytes; the image maker cuts longer texts.
inline constexpr int32_t kViewUrlLimit = 120;

// The message for a registration that failed, or nullopt when the reply is a usable id.
// statusText is what the request routine left there: one of its numbered error texts
// ("7" two digits and a blank), or the response's status code and reason. In this order:
//   - an error text, or a status code outside 200..299 (none counts as outside):
//     "注册失败：" + statusText;
//   - an empty reply: "注册失败：服务器返回为空";
//   - a view URL longer than kViewUrlLimit bytes: "注册失败：服务器返回过长".
// All texts GBK.
std::optional<Text> RegistrationFailure(const Text& statusText, const Text& reply, const Text& viewUrl);

}  // namespace korvel
