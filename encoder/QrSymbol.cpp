#include "encoder/QrSymbol.h"

#include <qrencode.h>

#include <memory>

namespace korvel::encoder {
namespace {

struct QrCodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

QRecLevel ToLibraryLevel(CorrectionLevel level) {
    switch (level) {
        case CorrectionLevel::kLow: return QR_ECLEVEL_L;
        case CorrectionLevel::kMedium: return QR_ECLEVEL_M;
        case CorrectionLevel::kQuartile: return QR_ECLEVEL_Q;
        case CorrectionLevel::kHigh: return QR_ECLEVEL_H;
    }
    return QR_ECLEVEL_L;
}

}  // namespace

std::optional<QrSymbol> QrSymbol::Encode(std::string_view bytes, int minimumVersion, CorrectionLevel level) {
    if (bytes.empty() || minimumVersion < 0 || minimumVersion > 40) return std::nullopt;
    std::unique_ptr<QRcode, QrCodeFree> code(QRcode_encodeData(static_cast<int>(bytes.size()),
                                                               reinterpret_cast<const unsigned char*>(bytes.data()),
                                                               minimumVersion, ToLibraryLevel(level)));
    if (!code) return std::nullopt;
    const int32_t side = code->width;
    std::vector<uint8_t> dark(static_cast<std::size_t>(side) * side);
    // The library marks a dark module in the lowest bit of each byte.
    for (std::size_t i = 0; i < dark.size(); ++i) dark[i] = code->data[i] & 1;
    return QrSymbol(side, std::move(dark));
}

}  // namespace korvel::encoder
