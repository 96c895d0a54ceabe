#include "app/RowImagesAhead.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "qr/MakeQrImage.h"

namespace korvel {
namespace {

// Two helpers keep two processors busy together with the window's thread, which writes.
constexpr int32_t kHelpers = 2;
// How far a helper may run ahead, and how many rows wait before a sleeping side is woken:
// waking a thread costs more than a row, so each waits for a few rows, not for one.
constexpr std::size_t kRowsAhead = 8;
constexpr std::size_t kRowsPerWaking = kRowsAhead / 2;

}  // namespace

RowImagesAhead::RowImagesAhead(const Roster& roster) : roster_(roster), total_(ElementCount(roster.ids)) {}

RowImagesAhead::~RowImagesAhead() {
    for (const std::unique_ptr<Lane>& lane : lanes_) {
        {
            const std::lock_guard lock(lane->mutex);
            lane->ending = true;
        }
        lane->tookSome.notify_all();
    }
    for (const std::unique_ptr<Lane>& lane : lanes_) {
        if (lane->helper.joinable()) lane->helper.join();
    }
}

RowImagesAhead::MadeRow RowImagesAhead::Make(int32_t row) const {
    MadeRow made{.row = PlanExportRow(roster_, row), .image = Bytes()};
    if (made.row.MakesImage()) made.image = MakeQrImage(made.row.content, 0, 0, 1.0);
    return made;
}

int32_t RowImagesAhead::RowsLeftInLane(int32_t row) const {
    return (total_ - row) / static_cast<int32_t>(lanes_.size()) + 1;
}

// The helpers start at the first row taken, once the encoder is bound: a missing encoder is
// reported from the window's thread. The rows of a helper that could not be started are
// made in Next.
void RowImagesAhead::Start() {
    started_ = true;
    BindQrImageMaker();
    for (int32_t k = 0; k < std::min(kHelpers, total_); ++k) lanes_.push_back(std::make_unique<Lane>());
    for (std::size_t k = 0; k < lanes_.size(); ++k) {
        try {
            lanes_[k]->helper = std::thread(&RowImagesAhead::Serve, this, std::ref(*lanes_[k]), static_cast<int32_t>(k) + 1);
        } catch (const std::system_error&) {
            // This lane's rows are made by the window's thread.
        }
    }
}

RowImagesAhead::MadeRow RowImagesAhead::Next() {
    if (!started_) Start();
    const int32_t row = ++taken_;
    Lane& lane = *lanes_[static_cast<std::size_t>(row - 1) % lanes_.size()];
    if (!lane.helper.joinable()) return Make(row);
    std::unique_lock lock(lane.mutex);
    if (lane.made.empty() && !lane.fatal) {
        const auto wanted = std::min(kRowsPerWaking, static_cast<std::size_t>(RowsLeftInLane(row)));
        lane.madeSome.wait(lock, [&] { return lane.made.size() >= wanted || lane.fatal; });
    }
    if (lane.made.empty()) {
        const FatalErrorOnHelperThread fatal = std::move(*lane.fatal);
        lock.unlock();
        ReportFatalError(fatal.code, fatal.message);
    }
    MadeRow made = std::move(lane.made.front());
    lane.made.pop_front();
    const bool roomEnough = lane.made.size() == kRowsAhead - kRowsPerWaking;
    lock.unlock();
    if (roomEnough) lane.tookSome.notify_one();
    return made;
}

void RowImagesAhead::Serve(Lane& lane, int32_t firstRow) {
    ThrowFatalErrorsOnThisThread();
    const auto step = static_cast<int32_t>(lanes_.size());
    for (int32_t row = firstRow; row <= total_; row += step) {
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
        std::unique_lock lock(lane.mutex);
        if (fatal) {
            lane.fatal = std::move(fatal);
            lock.unlock();
            lane.madeSome.notify_one();
            return;
        }
        if (lane.ending) return;
        lane.made.push_back(std::move(*made));
        if (lane.made.size() >= kRowsPerWaking || row + step > total_) {
            lock.unlock();
            lane.madeSome.notify_one();
            lock.lock();
        }
        lane.tookSome.wait(lock, [&] { return lane.ending || lane.made.size() < kRowsAhead; });
        if (lane.ending) return;
    }
}

}  // namespace korvel
