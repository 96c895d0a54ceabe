#pragma once
// Turns a text into a picture of its QR code, cut to the symbol's own square.
#include <cstdint>
#include <optional>

#include "core/Bytes.h"
#include "core/Text.h"

namespace korvel {

// text: GBK; only its first 120 bytes are encoded (a two-byte character across the 120th
// byte keeps its first byte). version is held within 0..40 (default 0), level within 0..4
// (default 0), appearance within 0.02..0.26 (default 0.02; values up to 1e-7 outside the
// range stay as they are). The result is a complete 1-bit BMP file of the symbol's square,
// black on white; empty when the encoder left no picture the bitmap loader accepts.
// An encoder library or function that cannot be bound ends the program. Threads may call
// it at the same time: each has its own encoder settings and its own temporary file. A
// thread other than the window's calls it only after BindQrImageMaker() has run on the
// window's thread.
Bytes MakeQrImage(const Text& text, std::optional<int32_t> version = std::nullopt,
                  std::optional<int32_t> level = std::nullopt, std::optional<double> appearance = std::nullopt);

// Binds the encoder's functions now, so that a library or function that cannot be bound
// ends the program from the calling thread, where the report can be shown.
void BindQrImageMaker();

}  // namespace korvel
