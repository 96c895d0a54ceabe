#include "core/binding/LibraryName.h"

#include "core/binding/Binding.h"

namespace korvel::binding {
namespace {

constexpr std::string_view kWindowsSuffix = ".dll";

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && FoldedLibraryName(text.substr(text.size() - suffix.size())) == suffix;
}

}  // namespace

std::string FoldedLibraryName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

// "QRCodeWin32.dll" -> "libQRCodeWin32.so"; a folder in front is kept, and a name that
// does not end in ".dll" is taken as the platform's own file name already.
std::string SharedObjectFileName(std::string_view declaredName) {
    const std::size_t slash = declaredName.rfind('/');
    const std::size_t fileStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view folder = declaredName.substr(0, fileStart);
    const std::string_view file = declaredName.substr(fileStart);
    if (file.size() <= kWindowsSuffix.size() || !EndsWithIgnoringCase(file, kWindowsSuffix)) {
        return std::string(declaredName);
    }
    const std::string_view stem = file.substr(0, file.size() - kWindowsSuffix.size());
    std::string mapped(folder);
    mapped += "lib";
    mapped += stem;
    mapped += ".so";
    return mapped;
}

}  // namespace korvel::binding
