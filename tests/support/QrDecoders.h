#pragma once
// Two independent QR decoders, run as outside programs on a picture file, so every code
// the program writes is read back by readers that share nothing with the writer.
#include <string>

namespace korvel::testing_support {

enum class QrDecoder { kZXing, kZbar };

const char* DecoderName(QrDecoder decoder);  // "ZXingReader", "zbarimg"

struct DecodeResult {
    bool decoded = false;
    std::string bytes;  // the symbol's data bytes exactly, no character-set conversion
    std::string error;  // why nothing was decoded: a missing program, a bad file, no symbol
};

// Decodes the QR code in any BMP file that ReadBmpFile reads. The picture is handed to the
// decoder as a grey-level copy with a white margin added and small pictures enlarged, so
// a picture cut to the symbol's own edge (no quiet zone) reads as well as a full one.
DecodeResult DecodeQrBmp(QrDecoder decoder, const std::string& bmpPath);

}  // namespace korvel::testing_support
