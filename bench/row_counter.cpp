// The row counter runs on every keystroke in a column box, so one call must fit into a
// frame (16 ms) even for a long roster. Measures UpdateRowCounter on a 100,000-row column
// of the real window (offscreen): one column of ASCII IDs, one of Chinese names.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <QApplication>

#include "app/MainWindow.h"
#include "app/Roster.h"
#include "core/CodePage.h"
#include "platform/Platform.h"

namespace korvel {
namespace {

constexpr int kRows = 100000;

Text IdColumn() {
    std::string column;
    for (int i = 1; i <= kRows; ++i) {
        if (i > 1) column += "\r\n";
        column += "3502018" + std::to_string(1000000 + i);
    }
    return Text(std::move(column));
}

Text NameColumn() {
    const Text names[] = {"张伟"_gbk, "王秀英"_gbk, "李娜"_gbk, "刘建国"_gbk, "陈静"_gbk};
    std::string column;
    for (int i = 0; i < kRows; ++i) {
        if (i > 0) column += "\r\n";
        column += names[i % 5].str();
    }
    return Text(std::move(column));
}

void CountRows(benchmark::State& state, MainWindow* window, Column column, Control label) {
    for (auto _ : state) UpdateRowCounter(*window, column);
    // The caption proves the whole column was counted.
    state.SetLabel(GbkToUtf8(window->ReadText(label)));
}

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    using namespace korvel;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::Install();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    MainWindow window;
    window.show();
    window.WriteText(Control::编辑框3, IdColumn());
    window.WriteText(Control::编辑框2, NameColumn());
    QApplication::processEvents();

    benchmark::RegisterBenchmark("UpdateRowCounter/ids_ascii_100000_rows", CountRows, &window, Column::Id,
                                 Control::标签3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("UpdateRowCounter/names_gbk_100000_rows", CountRows, &window, Column::Name,
                                 Control::标签2)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
