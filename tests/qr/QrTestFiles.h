#pragma once
// Files in a test's own scratch folder, and the bitmap's texts as GBK.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/CodePage.h"
#include "core/Text.h"
#include "core/TempFolder.h"

namespace korvel::testing_support {

// A fresh file each time: cutting an existing file to length 0 makes some file systems
// flush it to disk on close, which slows a test that rewrites one file many times.
inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// The GBK path the bitmap loader takes for a file in the folder.
inline Text GbkPath(const std::filesystem::path& path) { return Utf8ToGbk(path.string()); }

inline Text NotCreatedText() { return "位图尚未创建，没有可用数据"_gbk; }
inline Text OutOfBoundsText() { return "像素点坐标越界"_gbk; }
inline Text InvalidDepthText() { return "位深度无效"_gbk; }
inline Text CannotOpenText() { return "无法打开指定的文件"_gbk; }
inline Text UnsupportedText() { return "不被支持的位图数据或无法识别的文件格式"_gbk; }

constexpr int32_t kBlack = 0;
constexpr int32_t kWhite = 16777215;
constexpr int32_t Rgb(int32_t red, int32_t green, int32_t blue) { return red | (green << 8) | (blue << 16); }

}  // namespace korvel::testing_support
