#include "tests/support/QrDecoders.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/support/BmpPixels.h"
#include "tests/support/ProgramRun.h"

namespace korvel::testing_support {
namespace {

// Readers want a quiet zone of four modules; a quarter of the side is more than enough
// for any picture a test makes. Pictures are enlarged by a whole factor to at least this
// side: ZXingReader misses a version 40 symbol drawn at 2 pixels per module, and finds it
// at 4.
constexpr int32_t kSmallestSide = 800;

uint8_t Grey(Rgb colour) { return static_cast<uint8_t>((299 * colour.red + 587 * colour.green + 114 * colour.blue) / 1000); }

// A binary grey-level PGM of the picture, enlarged by a whole factor and framed in white.
bool WriteFramedPgm(const BmpPixels& image, const std::string& path) {
    const int32_t side = std::max({image.width, image.height, 1});
    const int32_t scale = std::max(1, (kSmallestSide + side - 1) / side);
    const int32_t margin = std::max(image.width, image.height) * scale / 4 + 8;
    const int32_t width = image.width * scale + 2 * margin;
    const int32_t height = image.height * scale + 2 * margin;
    std::vector<uint8_t> grey(static_cast<std::size_t>(width) * height, 255);
    for (int32_t y = 0; y < image.height * scale; ++y) {
        for (int32_t x = 0; x < image.width * scale; ++x) {
            grey[static_cast<std::size_t>(y + margin) * width + x + margin] = Grey(image.At(x / scale, y / scale));
        }
    }
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << width << ' ' << height << "\n255\n";
    out.write(reinterpret_cast<const char*>(grey.data()), static_cast<std::streamsize>(grey.size()));
    return static_cast<bool>(out);
}

std::vector<std::string> DecoderCommand(QrDecoder decoder, const std::string& picture) {
    if (decoder == QrDecoder::kZXing) return {"ZXingReader", "-format", "QRCode", "-bytes", picture};
    // -Sbinary keeps zbar from turning the data into UTF-8; --raw prints nothing else.
    return {"zbarimg", "--nodbus", "--quiet", "--raw", "-Sbinary", picture};
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-decode-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

const char* DecoderName(QrDecoder decoder) { return decoder == QrDecoder::kZXing ? "ZXingReader" : "zbarimg"; }

DecodeResult DecodeQrBmp(QrDecoder decoder, const std::string& bmpPath) {
    DecodeResult result;
    const std::optional<BmpPixels> image = ReadBmpFile(bmpPath, &result.error);
    if (!image) return result;
    if (image->width == 0 || image->height == 0) {
        result.error = "picture without pixels";
        return result;
    }
    ScratchFolder scratch;
    const std::string picture = scratch.path() + "/picture.pgm";
    if (scratch.path().empty() || !WriteFramedPgm(*image, picture)) {
        result.error = "cannot write the grey-level copy";
        return result;
    }
    const ProgramRun run = RunProgram(DecoderCommand(decoder, picture));
    if (!run.started) {
        result.error = run.error;
    } else if (run.exitStatus != 0 || run.output.empty()) {
        result.error = std::string(DecoderName(decoder)) + " found no QR code (exit status " + std::to_string(run.exitStatus) + ")";
    } else {
        result.decoded = true;
        result.bytes = run.output;
    }
    return result;
}

}  // namespace korvel::testing_support
