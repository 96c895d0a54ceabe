#include "qr/MakeQrImage.h"

#include <algorithm>

#include "core/Services.h"
#include "core/TextOperations.h"
#include "core/binding/Binding.h"
#include "qr/Bitmap.h"
#include "qr/FindSymbolOrigin.h"
#include "qr/TemporaryImagePath.h"

namespace korvel {
namespace {

// clang-format off
constexpr int32_t kTextLimit          = 120;    // bytes, not characters
constexpr int32_t kLargestVersion     = 40;
constexpr int32_t kLargestLevel       = 4;
constexpr double  kSmallestAppearance = 0.02;
constexpr double  kLargestAppearance  = 0.26;
constexpr double  kTolerance          = 1e-7;
constexpr int32_t kConfigureThird     = 5;
constexpr int32_t kLastCoordinate     = kQrImageSide - 1;
constexpr int32_t kBlack              = 0;
// clang-format on

struct EncoderSettings {
    Text text;
    int32_t version;
    int32_t level;
    double appearance;
};

// Holds each setting within the range the encoder takes.
EncoderSettings ClampSettings(const Text& text, std::optional<int32_t> version, std::optional<int32_t> level,
                              std::optional<double> appearance) {
    EncoderSettings settings{
        .text = text.size() > kTextLimit ? LeftText(text, kTextLimit) : text,
        .version = std::clamp(version.value_or(0), 0, kLargestVersion),
        .level = std::clamp(level.value_or(0), 0, kLargestLevel),
        .appearance = appearance.value_or(kSmallestAppearance),
    };
    if (settings.appearance - kSmallestAppearance < -kTolerance) settings.appearance = kSmallestAppearance;
    if (settings.appearance - kLargestAppearance > kTolerance) settings.appearance = kLargestAppearance;
    return settings;
}

// The seven encoder calls, in the order the encoder expects them.
void DrawWithEncoder(const EncoderSettings& settings, const Text& path) {
    using namespace binding;
    Call<kQRSetMessage>(settings.text.ArgumentPointer());
    Call<kQRSetBackColor>(255, 255, 255);
    Call<kQRSetBarColor>(0, 0, 0);
    Call<kQRConfigure>(settings.version, settings.level, kConfigureThird);
    Call<kQRAppearance>(settings.appearance, 1, 0);
    Call<kQRSetSize>(kQrImageSide, kQrImageSide);
    Call<kQRSaveAsBMP>(path.ArgumentPointer());
}

// The encoder's picture, loaded into full; the file is gone again on return.
bool DrawAndLoad(const EncoderSettings& settings, const Text& path, Bitmap& full) {
    // A picture left by an earlier call must never pass for this call's.
    RemoveFile(path);
    DrawWithEncoder(settings, path);
    const bool loaded = full.LoadFile(path);
    RemoveFile(path);
    return loaded;
}

// The symbol's side: the largest i at which the pixels i - 1 places right of the origin and
// i - 1 places below it are both dark. Light pixels in between do not end the measurement;
// reaching coordinate 399 does, so the side is at most 399.
int32_t MeasureSide(const Bitmap& picture, int32_t x0, int32_t y0) {
    int32_t side = 0;
    for (int32_t i = 1; i <= kLastCoordinate; ++i) {
        if (IsDarkPixel(picture, x0 + i - 1, y0) && IsDarkPixel(picture, x0, y0 + i - 1)) side = i;
        if (x0 + i - 1 >= kLastCoordinate || y0 + i - 1 >= kLastCoordinate) break;
    }
    return side;
}

}  // namespace

Bytes MakeQrImage(const Text& text, std::optional<int32_t> version, std::optional<int32_t> level,
                  std::optional<double> appearance) {
    Bitmap full;
    Bitmap crop;
    const EncoderSettings settings = ClampSettings(text, version, level, appearance);
    const Text path = TemporaryImagePath();
    if (path.empty()) return Bytes();
    // The all-black blank that once stood in for a missing picture is not made: a picture
    // that does not load now ends the call with empty bytes, so the blank could never be read.
    // No usable picture: the callers take empty bytes as the failure they are.
    if (!DrawAndLoad(settings, path, full)) return Bytes();

    int32_t x0 = 0;
    int32_t y0 = 0;
    FindSymbolOrigin(full, &x0, &y0);
    const int32_t side = MeasureSide(full, x0, y0);
    crop.CreateBlank(side, side, 1, kBlack);
    full.CopyRegion({.x = x0,
                     .y = y0,
                     .width = side,
                     .height = side,
                     .destination = &crop,
                     .destinationX = 0,
                     .destinationY = 0,
                     .transparent = std::nullopt});
    return crop.ToBmpBytes();
}

void BindQrImageMaker() {
    using namespace binding;
    for (const int entry : {kQRSetMessage, kQRSetBackColor, kQRSetBarColor, kQRConfigure, kQRAppearance, kQRSetSize,
                            kQRSaveAsBMP}) {
        Bind(entry);
    }
}

}  // namespace korvel
