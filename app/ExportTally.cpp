#include "app/ExportTally.h"

#include "core/CodePage.h"
#include "core/TextOperations.h"

namespace korvel {

void ExportTally::CountFailed(const Text& key) {
    ++failed_;
    if (static_cast<int32_t>(listedKeys_.size()) < kListedFailures) listedKeys_.push_back(key);
}

Text ExportTally::FinishedMessage() const {
    if (failed_ == 0) return "输出图片成功"_gbk;
    Text message = ConcatText("输出图片完成，但有"_gbk, IntToText(failed_), "行未能保存："_gbk);
    for (const Text& key : listedKeys_) message = ConcatText(message, "\r\n", key);
    if (failed_ > kListedFailures) message = ConcatText(message, "\r\n", "……"_gbk);
    return message;
}

Text ExportTally::StoppedMessage(int32_t total) const {
    return ConcatText("输出已停止：已保存"_gbk, IntToText(written_), "行，共"_gbk, IntToText(total), "行"_gbk);
}

}  // namespace korvel
