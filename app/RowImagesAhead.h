#pragma once
// Makes the personal codes of a roster's rows on helper threads that keep a few rows ahead
// of the window's thread, which takes them in roster order to show and write. Each helper
// takes the next row not yet taken by another, so no helper waits on a slower one; at most
// kRowsAhead rows are made and not yet written, however long the roster.
#include <condition_variable>
#include <cstdint>
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
    void Start();
    void Serve();
    MadeRow Make(int32_t row) const;
    std::optional<MadeRow>& Place(int32_t row) { return made_[static_cast<std::size_t>(row) % made_.size()]; }
    // Rows from `from` on that are made, without a gap.
    int32_t ReadyFrom(int32_t from);
    bool EnoughMadeFrom(int32_t row);

    const Roster& roster_;
    const int32_t total_;
    bool started_ = false;

    std::mutex mutex_;                  // guards everything below
    std::condition_variable rowsMade_;  // the window's thread waits for made rows
    std::condition_variable roomMade_;  // helpers wait for room
    std::vector<std::optional<MadeRow>> made_;   // row r at r % size
    int32_t nextToMake_ = 1;
    int32_t nextToTake_ = 1;
    bool waiting_ = false;        // the window's thread waits for rows
    int32_t helpersWaiting_ = 0;
    std::optional<FatalErrorOnHelperThread> fatal_;
    int32_t fatalRow_ = 0;
    bool ending_ = false;
    std::vector<std::thread> helpers_;
};

}  // namespace korvel
