#include "app/RowImagesAhead.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "qr/MakeQrImage.h"

namespace korvel {
namespace {

// How far the helper may run ahead, and how many rows wait before a sleeping side is woken:
// waking a thread costs more than a row, so each waits for a few rows, not for one.
constexpr std::size_t kRowsAhead = 8;
constexpr std::size_t kRowsPerWaking = kRowsAhead / 2;

}  // namespace

RowImagesAhead::RowImagesAhead(const Roster& roster)
    : roster_(roster), total_(ElementCount(roster.ids)) {}

RowImagesAhead::~RowImagesAhead() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    tookOne_.notify_all();
    if (helper_.joinable()) helper_.join();
}

RowImagesAhead::MadeRow RowImagesAhead::Make(int32_t row) const {
    MadeRow made{.row = PlanExportRow(roster_, row), .image = Bytes()};
    if (made.row.MakesImage()) made.image = MakeQrImage(made.row.content, 0, 0, 1.0);
    return made;
}

// The helper starts at the first row taken, once the encoder is bound: a missing encoder
// is reported from the window's thread.
void RowImagesAhead::Start() {
    started_ = true;
    BindQrImageMaker();
    try {
        helper_ = std::thread(&RowImagesAhead::Serve, this);
    } catch (const std::system_error&) {
        alone_ = true;
    }
}

RowImagesAhead::MadeRow RowImagesAhead::Next() {
    if (!started_) Start();
    const int32_t row = ++taken_;
    if (alone_) return Make(row);
    std::unique_lock lock(mutex_);
    if (made_.empty() && !fatal_) {
        const std::size_t wanted = std::min<std::size_t>(kRowsPerWaking, static_cast<std::size_t>(total_ - row + 1));
        madeOne_.wait(lock, [&] { return made_.size() >= wanted || fatal_; });
    }
    if (made_.empty()) {
        const FatalErrorOnHelperThread fatal = std::move(*fatal_);
        lock.unlock();
        ReportFatalError(fatal.code, fatal.message);
    }
    MadeRow made = std::move(made_.front());
    made_.pop_front();
    const bool roomEnough = made_.size() == kRowsAhead - kRowsPerWaking;
    lock.unlock();
    if (roomEnough) tookOne_.notify_one();
    return made;
}

void RowImagesAhead::Serve() {
    ThrowFatalErrorsOnThisThread();
    for (int32_t row = 1; row <= total_; ++row) {
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
        std::unique_lock lock(mutex_);
        if (fatal) {
            fatal_ = std::move(fatal);
            lock.unlock();
            madeOne_.notify_one();
            return;
        }
        if (ending_) return;
        made_.push_back(std::move(*made));
        if (made_.size() >= kRowsPerWaking || row == total_) {
            lock.unlock();
            madeOne_.notify_one();
            lock.lock();
        }
        tookOne_.wait(lock, [this] { return ending_ || made_.size() < kRowsAhead; });
        if (ending_) return;
    }
}

}  // namespace korvel
