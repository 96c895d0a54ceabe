#pragma once
// A stand-in for the QR encoder library, registered under its library name, that records
// every call and writes a chosen picture (or nothing) when asked to save.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace korvel::testing_support {

struct FakeEncoderLog {
    std::vector<std::string> calls;        // function names, in call order
    std::optional<std::string> message;    // nullopt: a null pointer arrived
    std::array<int32_t, 3> backColour{};
    std::array<int32_t, 3> barColour{};
    std::array<int32_t, 3> configure{};
    double appearance = 0;
    std::array<int32_t, 2> appearanceRest{};
    std::array<int32_t, 2> size{};
    std::string savePath;                  // GBK, as passed
    bool fileWasAtSavePath = false;        // something lay at the path when the save began
};

class FakeEncoder {
public:
    FakeEncoder();    // registers itself and unbinds every entry
    ~FakeEncoder();   // unregisters and unbinds, so the real library can bind afresh
    FakeEncoder(const FakeEncoder&) = delete;
    FakeEncoder& operator=(const FakeEncoder&) = delete;

    // The file QRSaveAsBMP writes; nullopt writes nothing (the default).
    void WillWrite(std::optional<std::vector<uint8_t>> picture) { picture_ = std::move(picture); }
    const FakeEncoderLog& Log() const { return log_; }

    // The functions registered under the encoder's names, with the declared types.
    static int32_t SetMessage(const char* text);
    static int32_t SetBackColor(int32_t red, int32_t green, int32_t blue);
    static int32_t SetBarColor(int32_t red, int32_t green, int32_t blue);
    static int32_t Configure(int32_t version, int32_t level, int32_t third);
    static int32_t Appearance(double appearance, int32_t second, int32_t third);
    static int32_t SetSize(int32_t width, int32_t height);
    static int32_t SaveAsBmp(const char* path);

private:
    static FakeEncoder& Current();   // the one registered now

    FakeEncoderLog log_;
    std::optional<std::vector<uint8_t>> picture_;
};

}  // namespace korvel::testing_support
