// The personal export of a long roster through the real window (offscreen) into a fresh
// temporary folder: rows per second and peak memory, for 1,000 and for 10,000 rows, each
// size in a fresh child process so that neither inherits the other's peak. The whole
// process's peak (VmHWM) is split into where it goes: the window holding the pasted roster
// in its column boxes, the roster read at the click with the rows begun, and the peak over
// the rows above the first row (VmHWM reset through /proc/self/clear_refs while the first
// row yields), which is what would grow if rows kept memory. Beside it, in the same run,
// `zint --batch` writing one QR code BMP per line for the same 10,000 contents ("djxh" +
// ID), the tool a user would pick instead. Rates are given by the wall clock and by the
// processor time used, since the machine may be shared.
//
//   bench_personal_export            the comparison
//   bench_personal_export --rows N   one export of N rows, one line of figures
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "app/MainWindow.h"
#include "app/WindowHooks.h"
#include "app/Workflows.h"
#include "core/CodePage.h"
#include "platform/Platform.h"
#include "tests/support/ProgramRun.h"


namespace {

using korvel::testing_support::ProgramRun;
using korvel::testing_support::RunProgram;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kSmallRoster = 1000;
constexpr int kLargeRoster = 10000;

std::string IdOf(int row) { return std::to_string(35020180000LL + row); }

// A kilobyte figure of /proc/self/status, such as VmHWM (peak resident) or VmRSS.
long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    }
    return -1;
}

// Starts the peak (VmHWM) afresh at the present resident size.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

double ProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

fs::path FreshFolder(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

std::size_t FilesIn(const fs::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

// The roster as a paste would put it into the three columns, CR LF between rows.
void FillRoster(korvel::MainWindow& window, int rows) {
    const char* const names[] = {"张伟", "王秀英", "李娜", "刘建国", "陈静"};
    std::string serials, people, ids;
    for (int row = 1; row <= rows; ++row) {
        const char* separator = row > 1 ? "\r\n" : "";
        serials += separator + std::to_string(row);
        people += separator + std::string(names[row % 5]);
        ids += separator + IdOf(row);
    }
    window.WriteText(korvel::Control::编辑框1, korvel::Utf8ToGbk(serials));
    window.WriteText(korvel::Control::编辑框2, korvel::Utf8ToGbk(people));
    window.WriteText(korvel::Control::编辑框3, korvel::Utf8ToGbk(ids));
}

// One export of rows rows, timed from the click to the final message; prints one line.
int RunExport(int argc, char** argv, int rows) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    korvel::platform::Install();
    QApplication application(argc, argv);
    const korvel::WindowHooks hooks;
    korvel::MainWindow window;
    window.show();
    QApplication::processEvents();
    const long residentBeforeRoster = StatusKilobytes("VmRSS");
    FillRoster(window, rows);
    QApplication::processEvents();

    const fs::path folder = FreshFolder("personal-export");
    window.SetFolderChooser([&folder](const korvel::Text&) { return korvel::Utf8ToGbk(folder.string()); });
    Clock::time_point ended;
    QString message;
    // The timer first fires while the first row yields: the roster has been read and the
    // rows begun. From there on, the peak is the rows' own.
    bool rowsBegan = false;
    long peakBeforeRows = 0;
    long residentAtRows = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (rowsBegan) return;
            rowsBegan = true;
            peakBeforeRows = StatusKilobytes("VmHWM");
            ResetPeakMemory();
            residentAtRows = StatusKilobytes("VmRSS");
            return;
        }
        ended = Clock::now();
        message = box->text();
        box->accept();
    });
    answer.start(1);
    const long processPeakBefore = StatusKilobytes("VmHWM");
    ResetPeakMemory();
    const long residentBefore = StatusKilobytes("VmRSS");

    const Clock::time_point started = Clock::now();
    const double processorStarted = ProcessorSeconds();
    korvel::GeneratePersonalQrs(window);
    const double processorSeconds = ProcessorSeconds() - processorStarted;

    const double seconds = std::chrono::duration<double>(ended - started).count();
    const long rowsPeak = StatusKilobytes("VmHWM");
    const long exportPeak = std::max(peakBeforeRows, rowsPeak);
    const std::size_t files = FilesIn(folder);
    std::printf("rows=%d files=%zu seconds=%.3f rows_per_second=%.0f cpu_rows_per_second=%.0f "
                "process_peak_kb=%ld export_peak_kb=%ld resident_before_roster_kb=%ld resident_before_export_kb=%ld "
                "resident_at_first_row_kb=%ld rows_peak_kb=%ld message=%s\n",
                rows, files, seconds, rows / seconds, rows / processorSeconds, std::max(processPeakBefore, exportPeak),
                exportPeak, residentBeforeRoster, residentBefore, residentAtRows, rowsPeak,
                message.toStdString().c_str());
    fs::remove_all(folder);
    return files == static_cast<std::size_t>(rows) ? 0 : 1;
}

struct Rates {
    double wall = -1;       // rows per second by the wall clock; -1 when the run failed
    double processor = -1;  // rows per second of processor time used
};

// zint writing one QR code BMP per input line into a fresh folder.
Rates ZintRates(int rows) {
    const fs::path folder = FreshFolder("zint-batch");
    const fs::path input = folder / "contents.txt";
    {
        std::ofstream lines(input);
        for (int row = 1; row <= rows; ++row) lines << "djxh" << IdOf(row) << '\n';
    }
    const fs::path output = folder / "codes";
    fs::create_directory(output);
    const Clock::time_point started = Clock::now();
    const ProgramRun run = RunProgram({"zint", "--barcode=QRCODE", "--batch", "--filetype=BMP",
                                       "--input=" + input.string(), "--output=" + (output / "~~~~~.bmp").string()});
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const std::size_t files = FilesIn(output);
    fs::remove_all(folder);
    if (run.exitStatus != 0 || files != static_cast<std::size_t>(rows)) return {};
    return {.wall = rows / seconds, .processor = rows / run.processorSeconds};
}

long FigureOf(const std::string& line, const char* name) {
    const std::size_t at = line.find(std::string(name) + "=");
    return at == std::string::npos ? -1 : std::strtol(line.c_str() + at + std::strlen(name) + 1, nullptr, 10);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--rows") == 0) return RunExport(1, argv, std::atoi(argv[2]));

    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::string lines[2];
    const int sizes[2] = {kSmallRoster, kLargeRoster};
    for (int i = 0; i < 2; ++i) {
        const ProgramRun run = RunProgram({self, "--rows", std::to_string(sizes[i])});
        lines[i] = run.output;
        std::printf("export   %s", lines[i].c_str());
        if (run.exitStatus != 0) std::printf("export of %d rows failed (status %d)\n", sizes[i], run.exitStatus);
    }
    const Rates zint = ZintRates(kLargeRoster);
    std::printf("zint     rows=%d rows_per_second=%.0f cpu_rows_per_second=%.0f\n", kLargeRoster, zint.wall,
                zint.processor);

    const auto growth = [&lines](const char* figure) {
        const double small = static_cast<double>(FigureOf(lines[0], figure));
        return 100.0 * (static_cast<double>(FigureOf(lines[1], figure)) - small) / small;
    };
    std::printf("peak memory, 10,000 rows against 1,000 (target within 10%%): whole process %+.1f%%\n",
                growth("process_peak_kb"));
    // Where the difference lies: the pasted roster held by the window's three column boxes,
    // the export's copy of the roster read at the click, and the rows themselves.
    const auto between = [](const std::string& line, const char* from, const char* to) {
        return FigureOf(line, to) - FigureOf(line, from);
    };
    for (int i = 0; i < 2; ++i) {
        std::printf("  %5d rows: window holding the roster %+ld KB, roster read and rows begun %+ld KB, "
                    "peak over the rows above the first row %+ld KB\n",
                    sizes[i], between(lines[i], "resident_before_roster_kb", "resident_before_export_kb"),
                    between(lines[i], "resident_before_export_kb", "resident_at_first_row_kb"),
                    between(lines[i], "resident_at_first_row_kb", "rows_peak_kb"));
    }
    // Memory that grows with the roster beyond the roster itself would show here: what the
    // rows add above the first row, as a share of the 1,000-row process.
    std::printf("what the rows add, 10,000 rows against 1,000, as a share of the 1,000-row peak: %+.1f%%\n",
                100.0 * static_cast<double>(between(lines[1], "resident_at_first_row_kb", "rows_peak_kb") -
                                            between(lines[0], "resident_at_first_row_kb", "rows_peak_kb")) /
                    static_cast<double>(FigureOf(lines[0], "process_peak_kb")));
    const double ours = static_cast<double>(FigureOf(lines[1], "rows_per_second"));
    const double oursProcessor = static_cast<double>(FigureOf(lines[1], "cpu_rows_per_second"));
    std::printf("rows per second, 10,000 rows, ours against zint --batch: wall clock %.0f against %.0f (%.2f times), "
                "processor time %.0f against %.0f (%.2f times)\n",
                ours, zint.wall, ours / zint.wall, oursProcessor, zint.processor, oursProcessor / zint.processor);
    return 0;
}
