#pragma once
// Makes the personal codes of a roster's rows on helper threads that keep a few rows ahead
// of the window's thread, which takes them in roster order to show and write. Helper k of
// n makes rows k + 1, k + 1 + n, ...; memory holds a few images per helper at most,
// however long the roster.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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
    // Stops after the images under way and drops the rows not taken.
    ~RowImagesAhead();
    RowImagesAhead(const RowImagesAhead&) = delete;
    RowImagesAhead& operator=(const RowImagesAhead&) = delete;

    // The next row, 1 first; at most as many calls as the roster has rows. A fatal error
    // met while making its code is reported here, on the window's thread, and ends the
    // program.
    MadeRow Next();

private:
    // One helper and the rows it has made, oldest first.
    struct Lane {
        std::mutex mutex;
        std::condition_variable madeSome;   // the window's thread waits for made rows
        std::condition_variable tookSome;   // the helper waits for room
        std::deque<MadeRow> made;
        std::optional<FatalErrorOnHelperThread> fatal;
        bool ending = false;
        std::thread helper;
    };

    void Start();
    void Serve(Lane& lane, int32_t firstRow);
    MadeRow Make(int32_t row) const;
    // Rows of the lane of row, from row on.
    int32_t RowsLeftInLane(int32_t row) const;

    const Roster& roster_;
    const int32_t total_;
    int32_t taken_ = 0;
    bool started_ = false;
    std::vector<std::unique_ptr<Lane>> lanes_;   // made before any helper starts
};

}  // namespace korvel
