#include "FakeEncoder.h"

#include <sys/stat.h>

#include <fstream>

#include "core/CodePage.h"
#include "core/binding/Binding.h"
#include "tests/support/BindingEntry.h"

namespace korvel::testing_support {
namespace {

using namespace korvel::binding;

FakeEncoder* g_current = nullptr;


}  // namespace

FakeEncoder& FakeEncoder::Current() { return *g_current; }

FakeEncoder::FakeEncoder() {
    g_current = this;
    RegisterSystemLibrary("QRCodeWin32.dll", {
                                                 BindingEntry<kQRSetMessage>(&SetMessage),
                                                 BindingEntry<kQRSetBackColor>(&SetBackColor),
                                                 BindingEntry<kQRSetBarColor>(&SetBarColor),
                                                 BindingEntry<kQRConfigure>(&Configure),
                                                 BindingEntry<kQRAppearance>(&Appearance),
                                                 BindingEntry<kQRSetSize>(&SetSize),
                                                 BindingEntry<kQRSaveAsBMP>(&SaveAsBmp),
                                             });
    ResetBindings();
}

FakeEncoder::~FakeEncoder() {
    UnregisterSystemLibrary("QRCodeWin32.dll");
    ResetBindings();
    g_current = nullptr;
}

int32_t FakeEncoder::SetMessage(const char* text) {
    Current().log_.calls.push_back("QRSetMessage");
    Current().log_.message = text ? std::optional<std::string>(text) : std::nullopt;
    return 1;
}

int32_t FakeEncoder::SetBackColor(int32_t red, int32_t green, int32_t blue) {
    Current().log_.calls.push_back("QRSetBackColor");
    Current().log_.backColour = {red, green, blue};
    return 1;
}

int32_t FakeEncoder::SetBarColor(int32_t red, int32_t green, int32_t blue) {
    Current().log_.calls.push_back("QRSetBarColor");
    Current().log_.barColour = {red, green, blue};
    return 1;
}

int32_t FakeEncoder::Configure(int32_t version, int32_t level, int32_t third) {
    Current().log_.calls.push_back("QRConfigure");
    Current().log_.configure = {version, level, third};
    return 1;
}

int32_t FakeEncoder::Appearance(double appearance, int32_t second, int32_t third) {
    Current().log_.calls.push_back("QRAppearance");
    Current().log_.appearance = appearance;
    Current().log_.appearanceRest = {second, third};
    return 1;
}

int32_t FakeEncoder::SetSize(int32_t width, int32_t height) {
    Current().log_.calls.push_back("QRSetSize");
    Current().log_.size = {width, height};
    return 1;
}

int32_t FakeEncoder::SaveAsBmp(const char* path) {
    Current().log_.calls.push_back("QRSaveAsBMP");
    Current().log_.savePath = path ? path : "";
    const std::string file = GbkToUtf8(Text(Current().log_.savePath));
    struct stat status {};
    Current().log_.fileWasAtSavePath = ::stat(file.c_str(), &status) == 0;
    if (!Current().picture_) return 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Current().picture_->data()), static_cast<std::streamsize>(Current().picture_->size()));
    return out.good() ? 1 : 0;
}

}  // namespace korvel::testing_support
