#pragma once
// What the setting calls leave for the next QRSaveAsBMP. One set per thread: threads that
// draw at the same time each keep their own settings, and one thread draws as ever.
#include <cstdint>
#include <string>

#include "encoder/MonochromeBmp.h"
#include "encoder/QrSymbol.h"

namespace korvel::encoder {

struct EncoderSettings {
    std::string message;                               // the bytes to encode, as given
    Rgb background{255, 255, 255};
    Rgb bar{0, 0, 0};
    int minimumVersion = 0;                            // 0 = smallest that holds the message
    CorrectionLevel level = CorrectionLevel::kLow;
    int32_t width = 400;                               // pixels of the picture written
    int32_t height = 400;
};

EncoderSettings& Settings();

}  // namespace korvel::encoder
