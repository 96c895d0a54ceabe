#include "app/RowImagesAhead.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "qr/MakeQrImage.h"

namespace korvel {
namespace {

// Two helpers keep two processors busy together with the window's thread, which writes.
constexpr int kHelpers = 2;
// Rows made and not yet written, at most.
constexpr int32_t kRowsAhead = 16;
// Waking a thread costs more than a row: the window's thread, once it has to wait, waits
// for this many rows, and the helpers are woken once this much room is free.
constexpr int32_t kRowsPerWaking = 4;

}  // namespace

RowImagesAhead::RowImagesAhead(const Roster& roster)
    : roster_(roster), total_(ElementCount(roster.ids)), made_(kRowsAhead) {}

RowImagesAhead::~RowImagesAhead() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    roomMade_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
}

RowImagesAhead::MadeRow RowImagesAhead::Make(int32_t row) const {
    MadeRow made{.row = PlanExportRow(roster_, row), .image = Bytes()};
    if (made.row.MakesImage()) made.image = MakeQrImage(made.row.content, 0, 0, 1.0);
    return made;
}

// The helpers start at the first row taken, once the encoder is bound: a missing encoder is
// reported from the window's thread. Without any helper the rows are made in Next.
void RowImagesAhead::Start() {
    started_ = true;
    BindQrImageMaker();
    for (int k = 0; k < kHelpers; ++k) {
        try {
            helpers_.emplace_back(&RowImagesAhead::Serve, this);
        } catch (const std::system_error&) {
            break;
        }
    }
}

int32_t RowImagesAhead::ReadyFrom(int32_t from) {
    int32_t row = from;
    while (row < nextToMake_ && Place(row)) ++row;
    return row - from;
}

// Once it has to wait, the window's thread waits until the rows from `row` on are made a
// few at a time, or until every row before a row that met a fatal error is made.
bool RowImagesAhead::EnoughMadeFrom(int32_t row) {
    const int32_t ready = ReadyFrom(row);
    if (fatal_ && ready >= fatalRow_ - row) return true;
    return ready >= std::min(kRowsPerWaking, total_ - row + 1);
}

RowImagesAhead::MadeRow RowImagesAhead::Next() {
    if (!started_) Start();
    if (helpers_.empty()) return Make(nextToTake_++);
    std::unique_lock lock(mutex_);
    const int32_t row = nextToTake_;
    if (!Place(row)) {
        waiting_ = true;
        rowsMade_.wait(lock, [&] { return EnoughMadeFrom(row); });
        waiting_ = false;
    }
    if (!Place(row)) {
        // Only a fatal error leaves a row unmade; every row before it has been taken.
        const FatalErrorOnHelperThread fatal = std::move(*fatal_);
        lock.unlock();
        ReportFatalError(fatal.code, fatal.message);
    }
    MadeRow made = std::move(*Place(row));
    Place(row).reset();
    ++nextToTake_;
    const bool wakeHelpers = helpersWaiting_ > 0 && nextToMake_ + kRowsPerWaking <= nextToTake_ + kRowsAhead;
    lock.unlock();
    if (wakeHelpers) roomMade_.notify_all();
    return made;
}

void RowImagesAhead::Serve() {
    const HelperThreadMark mark;
    std::unique_lock lock(mutex_);
    for (;;) {
        const auto hasRoom = [this] { return nextToMake_ < nextToTake_ + kRowsAhead; };
        if (!ending_ && !fatal_ && nextToMake_ <= total_ && !hasRoom()) {
            ++helpersWaiting_;
            roomMade_.wait(lock, [&] { return ending_ || hasRoom(); });
            --helpersWaiting_;
        }
        if (ending_ || fatal_ || nextToMake_ > total_) return;
        const int32_t row = nextToMake_++;
        lock.unlock();
        std::optional<MadeRow> made;
        std::optional<FatalErrorOnHelperThread> fatal;
        try {
            made = Make(row);
        } catch (FatalErrorOnHelperThread& error) {
            fatal = std::move(error);
        } catch (...) {
            // Memory ran out past the report's own reserve: the heading alone is reported.
            fatal = FatalErrorOnHelperThread{};
        }
        lock.lock();
        if (fatal) {
            // Both helpers may meet one: the earlier row's is the one reported, as a single
            // thread would have met it first.
            if (!fatal_ || row < fatalRow_) {
                fatal_ = std::move(fatal);
                fatalRow_ = row;
            }
        } else {
            Place(row) = std::move(made);
        }
        if (waiting_ && EnoughMadeFrom(nextToTake_)) {
            lock.unlock();
            rowsMade_.notify_one();
            lock.lock();
        }
    }
}

}  // namespace korvel
