#pragma once
// What a personal export did, row by row, and the one message that tells the user. Only
// the first keys of failed rows are kept, so a long roster that fails throughout costs no
// more memory than a short one.
#include <cstdint>
#include <vector>

#include "core/Text.h"

namespace korvel {

class ExportTally {
public:
    // The number of failed rows whose keys the message lists.
    static constexpr int32_t kListedFailures = 10;

    void CountWritten() { ++written_; }
    // key: the row's GBK key, as the user would find it in the roster.
    void CountFailed(const Text& key);

    int32_t Written() const { return written_; }
    int32_t Failed() const { return failed_; }

    // The message of an export that went through every row. Every row written: "输出图片成功".
    // Some failed: "输出图片完成，但有" + count + "行未能保存：", then the keys of the first ten
    // failed rows one per line and "……" on a last line when more failed; lines joined by
    // CR LF.
    Text FinishedMessage() const;
    // The message of an export of total rows that the user stopped early: how many rows
    // were saved.
    Text StoppedMessage(int32_t total) const;

private:
    int32_t written_ = 0;
    int32_t failed_ = 0;
    std::vector<Text> listedKeys_;
};

}  // namespace korvel
