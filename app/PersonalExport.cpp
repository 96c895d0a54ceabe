#include "app/PersonalExport.h"

#include <optional>

#include "app/ExportTally.h"
#include "app/RowImagesAhead.h"
#include "app/Roster.h"
#include "core/CodePage.h"
#include "core/Services.h"
#include "core/TextOperations.h"

namespace korvel {
namespace {

using Clock = std::chrono::steady_clock;

// Says when the indicator is due: not before showAfter has passed since the first row
// began, then at most once per updateEvery.
class ProgressPacer {
public:
    explicit ProgressPacer(const ProgressPacing& pacing) : pacing_(pacing), start_(Clock::now()) {}

    bool Due() {
        const Clock::time_point now = Clock::now();
        if (now - start_ < pacing_.showAfter) return false;
        if (shown_ && now - lastShown_ < pacing_.updateEvery) return false;
        shown_ = true;
        lastShown_ = now;
        return true;
    }

private:
    ProgressPacing pacing_;
    Clock::time_point start_;
    Clock::time_point lastShown_;
    bool shown_ = false;
};

enum class Ending { kFinished, kStopped, kClosed };

// One export of a roster into a folder that has been chosen.
class PersonalExport {
public:
    PersonalExport(WindowOperations& window, Text folder, Roster roster)
        : window_(window), folder_(std::move(folder)), roster_(std::move(roster)) {}

    // Goes through the rows; every path but a closed window ends with the final message.
    Ending Run(const ProgressPacing& pacing);

private:
    Ending RunRows(const ProgressPacing& pacing);
    bool WriteRow(const ExportRow& row, Bytes image);
    void ShowFinalMessage(Ending ending);

    WindowOperations& window_;
    const Text folder_;      // GBK, without a trailing separator except for the root
    const Roster roster_;    // counts equal
    const int32_t total_ = ElementCount(roster_.ids);
    ExportTally tally_;
    // Last: its helpers end, dropping the rows made ahead, before the roster goes.
    RowImagesAhead images_{roster_};
};

Ending PersonalExport::Run(const ProgressPacing& pacing) {
    const Ending ending = RunRows(pacing);
    if (ending == Ending::kClosed) return ending;
    window_.HideProgress();
    ShowFinalMessage(ending);
    return window_.IsClosed() ? Ending::kClosed : ending;
}

// The rows' codes are made a few rows ahead while the window's thread writes; a stopped or
// closed export drops the ones made ahead.
Ending PersonalExport::RunRows(const ProgressPacing& pacing) {
    ProgressPacer pacer(pacing);
    for (int32_t row = 1; row <= total_; ++row) {
        RowImagesAhead::MadeRow made = images_.Next();
        if (WriteRow(made.row, std::move(made.image))) {
            tally_.CountWritten();
        } else {
            tally_.CountFailed(made.row.key);
        }
        if (pacer.Due()) window_.ShowProgress(row, total_);
        // Lets the window paint and answer between rows; any handler may run in here.
        ProcessPendingMessages();
        if (window_.IsClosed()) return Ending::kClosed;
        if (row < total_ && window_.StopRequested()) return Ending::kStopped;
    }
    return Ending::kFinished;
}

// Passes the row's code through 图片框1 and writes the bytes read back. False, with no
// file written, for a row that makes no code, a code the encoder did not draw, or a file
// that cannot be written whole. The row's image and bytes are released on return.
bool PersonalExport::WriteRow(const ExportRow& row, Bytes image) {
    if (!row.MakesImage() || image.empty()) return false;
    window_.SetPicture(Control::图片框1, image);
    image = Bytes();
    const Bytes picture = window_.ReadPicture(Control::图片框1);
    if (picture.empty()) return false;
    const Text path = ConcatText(folder_, PathSeparator(), *row.fileName);
    bool writingBegan = false;
    if (WriteBytesToFile(path, picture, &writingBegan)) return true;
    // A part of a picture under the row's name would pass for its code (a full disk stops
    // a write half way): the failed row leaves no file. A file that could not be taken for
    // writing, such as one in use elsewhere, keeps its contents.
    if (writingBegan) RemoveFile(path);
    return false;
}

void PersonalExport::ShowFinalMessage(Ending ending) {
    window_.ShowMessage(ending == Ending::kStopped ? tally_.StoppedMessage(total_) : tally_.FinishedMessage());
}

// The steps before the rows: the roster is read only once the folder is known. False when
// the window was closed on the way.
bool ExportIntoFolder(WindowOperations& window, const Text& folder, const ProgressPacing& pacing) {
    Roster roster = ReadRoster(window);
    if (!RosterCountsEqual(roster)) {
        window.ShowMessage(RosterMismatchMessage());
        return !window.IsClosed();
    }
    PersonalExport run(window, folder, std::move(roster));
    return run.Run(pacing) != Ending::kClosed;
}

}  // namespace

void ExportPersonalQrs(WindowOperations& window, const ProgressPacing& pacing) {
    window.SetDisabled(Control::按钮2, true);
    const Text folder = window.ChooseFolder("保存："_gbk);
    if (window.IsClosed()) return;
    if (!folder.empty() && !ExportIntoFolder(window, folder, pacing)) return;
    window.SetDisabled(Control::按钮2, false);
}

}  // namespace korvel
