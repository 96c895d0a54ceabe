// The seven functions the program binds by name. Each takes its arguments as the program
// passes them (32-bit integers, one 64-bit real, NUL-terminated code page 936 text) and
// returns 1 when it did what was asked, 0 otherwise; the program reads no result.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "encoder/EncoderSettings.h"
#include "encoder/FileOutput.h"
#include "encoder/GbkPath.h"
#include "encoder/MonochromeBmp.h"
#include "encoder/QrSymbol.h"
#include "encoder/SymbolDrawing.h"

#define QR_EXPORT extern "C" __attribute__((visibility("default")))

namespace korvel::encoder {
namespace {

// Picture sizes accepted by QRSetSize; larger ones would only waste memory.
constexpr int32_t kLargestSide = 4096;

Rgb ClampedColour(int32_t red, int32_t green, int32_t blue) {
    auto channel = [](int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); };
    return Rgb{channel(red), channel(green), channel(blue)};
}

// Levels 0 to 3 are L, M, Q and H; 4, the top of the range callers pass, is H as well.
// Values outside 0..4 take the nearer end.
CorrectionLevel LevelFromNumber(int32_t level) {
    if (level <= 0) return CorrectionLevel::kLow;
    if (level == 1) return CorrectionLevel::kMedium;
    if (level == 2) return CorrectionLevel::kQuartile;
    return CorrectionLevel::kHigh;
}

}  // namespace

EncoderSettings& Settings() {
    thread_local EncoderSettings settings;
    return settings;
}

}  // namespace korvel::encoder

using korvel::encoder::Settings;

// text: the bytes to encode up to their NUL, taken exactly as given (no character-set
// conversion); null counts as empty, which QRSaveAsBMP then refuses.
QR_EXPORT int32_t QRSetMessage(const char* text) {
    Settings().message = text ? text : "";
    return 1;
}

// Colour of the light modules, quiet zone and margin; each channel clamped to 0..255.
QR_EXPORT int32_t QRSetBackColor(int32_t red, int32_t green, int32_t blue) {
    Settings().background = korvel::encoder::ClampedColour(red, green, blue);
    return 1;
}

// Colour of the dark modules; each channel clamped to 0..255.
QR_EXPORT int32_t QRSetBarColor(int32_t red, int32_t green, int32_t blue) {
    Settings().bar = korvel::encoder::ClampedColour(red, green, blue);
    return 1;
}

// version: 0 the smallest that holds the message, 1..40 at least that version (clamped to
// 0..40). level: 0 L, 1 M, 2 Q, 3 and 4 H (clamped to 0..4). The third number is
// accepted and has no effect: the mask is always the one the symbol standard's penalty
// rules pick.
QR_EXPORT int32_t QRConfigure(int32_t version, int32_t level, int32_t /*third*/) {
    Settings().minimumVersion = std::clamp(version, 0, 40);
    Settings().level = korvel::encoder::LevelFromNumber(level);
    return 1;
}

// Accepted and without effect: the module size always follows from the picture size
// (the largest whole number of pixels that fits), and the quiet zone is always 4 modules.
QR_EXPORT int32_t QRAppearance(double /*appearance*/, int32_t /*second*/, int32_t /*third*/) { return 1; }

// Picture size in pixels, each side 1..4096; other sizes are refused (result 0) and the
// previous size stays.
QR_EXPORT int32_t QRSetSize(int32_t width, int32_t height) {
    using korvel::encoder::kLargestSide;
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) return 0;
    Settings().width = width;
    Settings().height = height;
    return 1;
}

// Writes the symbol of the message as a 1-bit BMP file at path (code page 936). Writes
// nothing, and returns 0, when the message is empty or too long for version 40 at the
// level, when the symbol does not fit the picture at one pixel per module, or when the
// path is not valid code page 936 or the file cannot be written.
QR_EXPORT int32_t QRSaveAsBMP(const char* path) {
    using namespace korvel::encoder;
    if (!path) return 0;
    const EncoderSettings& settings = Settings();
    const std::optional<QrSymbol> symbol = QrSymbol::Encode(settings.message, settings.minimumVersion, settings.level);
    if (!symbol) return 0;
    const std::optional<TwoColourPicture> picture = DrawSymbol(*symbol, settings.width, settings.height);
    if (!picture) return 0;
    const std::optional<std::string> utf8Path = GbkPathToUtf8(path);
    if (!utf8Path) return 0;
    return WriteWholeFile(*utf8Path, MonochromeBmp(*picture, settings.bar, settings.background)) ? 1 : 0;
}
