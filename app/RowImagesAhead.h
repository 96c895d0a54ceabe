#pragma once
// Makes the personal codes of a roster's rows, in roster order, on a helper thread that
// keeps a few rows ahead of the window's thread, which takes them one by one to show and
// write. The two threads share the export's time; memory holds a few images at most,
// however long the roster.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "app/ExportRow.h"
#include "app/Roster.h"
#include "core/Bytes.h"
#include "core/FatalError.h"

namespace korvel {

class RowImagesAhead {
public:
    struct MadeRow {
        ExportRow row;
        Bytes image;   // empty for a row that makes no code, or whose code was not drawn
    };

    // roster: counts equal; it must outlive this object.
    explicit RowImagesAhead(const Roster& roster);
    // Stops after the image under way and drops the rows not taken.
    ~RowImagesAhead();
    RowImagesAhead(const RowImagesAhead&) = delete;
    RowImagesAhead& operator=(const RowImagesAhead&) = delete;

    // The next row, 1 first; at most as many calls as the roster has rows. A fatal error
    // met while making its code is reported here, on the window's thread, and ends the
    // program.
    MadeRow Next();

private:
    void Start();
    void Serve();
    MadeRow Make(int32_t row) const;

    const Roster& roster_;
    const int32_t total_;
    int32_t taken_ = 0;
    std::mutex mutex_;
    std::condition_variable madeOne_;   // the window's thread waits for made rows
    std::condition_variable tookOne_;   // the helper waits for room
    std::deque<MadeRow> made_;
    std::optional<FatalErrorOnHelperThread> fatal_;
    bool ending_ = false;
    bool started_ = false;
    bool alone_ = false;   // no helper could be started: rows are made in Next
    std::thread helper_;
};

}  // namespace korvel
