// One personal QR code: MakeQrImage of "djxh" followed by an 11-digit ID, against the
// floor of encoding the same text with libqrencode and writing the final 1-bit BMP bytes
// straight into memory, with the same side. Prints both medians and their ratio; the
// image maker should stay within 3 times the floor. The encoder's own share (its seven
// calls and the picture file) is printed too, to tell its time from the image maker's.
#include <benchmark/benchmark.h>
#include <qrencode.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/Bytes.h"
#include "core/Services.h"
#include "core/Text.h"
#include "core/binding/Binding.h"
#include "platform/Platform.h"
#include "qr/MakeQrImage.h"
#include "qr/TemporaryImagePath.h"

namespace korvel {
namespace {

constexpr const char* kText = "djxh35020181234";
constexpr int kPictureSide = 400;
constexpr int kQuietModules = 4;   // on every side, as the encoder draws them

void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The cropped symbol as a 1-bit BMP (black, white table), each module drawn as the largest
// whole number of pixels that lets symbol and quiet zone fit the 400-pixel picture.
std::vector<uint8_t> FloorImage(const char* text) {
    QRcode* code = QRcode_encodeString8bit(text, 0, QR_ECLEVEL_L);
    if (!code) return {};
    const int modules = code->width;
    const int scale = kPictureSide / (modules + 2 * kQuietModules);
    const int side = modules * scale;
    const int stride = (side + 31) / 32 * 4;
    std::vector<uint8_t> out(62 + static_cast<size_t>(stride) * side, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLe(out, 2, static_cast<uint32_t>(out.size()), 4);
    PutLe(out, 10, 62, 4);
    PutLe(out, 14, 40, 4);
    PutLe(out, 18, static_cast<uint32_t>(side), 4);
    PutLe(out, 22, static_cast<uint32_t>(side), 4);
    PutLe(out, 26, 1, 2);
    PutLe(out, 28, 1, 2);
    PutLe(out, 58, 0x00FFFFFF, 4);   // entry 1 white; entry 0 stays black
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    for (int my = 0; my < modules; ++my) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < side; ++x) {
            const bool dark = code->data[my * modules + x / scale] & 1;
            if (!dark) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
        for (int k = 0; k < scale; ++k) {
            const int y = my * scale + k;   // from the top; stored bottom row first
            std::copy(row.begin(), row.end(), out.begin() + 62 + static_cast<ptrdiff_t>(side - 1 - y) * stride);
        }
    }
    QRcode_free(code);
    return out;
}

uint32_t SideOf(const uint8_t* bmp) { return bmp[18] | (bmp[19] << 8); }

void MakeQrImageOnce(benchmark::State& state) {
    Bytes image;
    for (auto _ : state) {
        image = MakeQrImage(Text(kText), 0, 0, 1.0);
        benchmark::DoNotOptimize(image.data());
    }
    state.SetLabel(image.size() > 62 ? "side " + std::to_string(SideOf(image.data())) : "no image");
}

// The encoder's share of MakeQrImage: its seven calls writing the 400 x 400 picture, and
// the file's removal, without loading, scanning or cropping.
void EncoderAlone(benchmark::State& state) {
    using namespace binding;
    const Text path = TemporaryImagePath();
    const Text text(kText);
    for (auto _ : state) {
        Call<kQRSetMessage>(text.ArgumentPointer());
        Call<kQRSetBackColor>(255, 255, 255);
        Call<kQRSetBarColor>(0, 0, 0);
        Call<kQRConfigure>(0, 0, 5);
        Call<kQRAppearance>(0.26, 1, 0);
        Call<kQRSetSize>(kPictureSide, kPictureSide);
        Call<kQRSaveAsBMP>(path.ArgumentPointer());
        RemoveFile(path);
    }
}

void Floor(benchmark::State& state) {
    std::vector<uint8_t> image;
    for (auto _ : state) {
        image = FloorImage(kText);
        benchmark::DoNotOptimize(image.data());
    }
    state.SetLabel(image.size() > 62 ? "side " + std::to_string(SideOf(image.data())) : "no image");
}

// Prints as usual, keeps the medians, and ends with the ratio of the two.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median") continue;
            realMedians_[run.run_name.function_name] = run.GetAdjustedRealTime();
            cpuMedians_[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        PrintRatio("real", realMedians_);
        PrintRatio("cpu", cpuMedians_);
    }

private:
    static void PrintRatio(const char* clock, const std::map<std::string, double>& medians) {
        const auto image = medians.find("MakeQrImage"), floor = medians.find("Floor");
        if (image == medians.end() || floor == medians.end() || floor->second <= 0) return;
        std::printf("median %s time: MakeQrImage %.1f us, floor %.1f us: %.2f x the floor (target: at most 3 x)\n",
                    clock, image->second, floor->second, image->second / floor->second);
    }

    std::map<std::string, double> realMedians_;
    std::map<std::string, double> cpuMedians_;
};

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    using namespace korvel;
    platform::Install();
    benchmark::RegisterBenchmark("MakeQrImage", MakeQrImageOnce)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(15)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("EncoderAlone", EncoderAlone)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(15)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Floor", Floor)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
