#pragma once
// The twelve controls of the main window, addressed by their own names. The workflows use
// these enumerators; the window gives each widget the same name as its objectName.
#include <array>
#include <cstddef>
#include <string_view>

namespace korvel {

// Qt's meta-object compiler reads this header through the window's and cannot parse names
// outside ASCII; it needs no more than the type's name.
#ifdef Q_MOC_RUN
enum class Control;
#else
enum class Control {
    标签1,
    标签2,
    标签3,
    编辑框1,
    编辑框2,
    编辑框3,
    编辑框4,
    标签4,
    按钮1,
    按钮2,
    分组框1,
    图片框1,
};

inline constexpr std::size_t kControlCount = 12;

// The control's own name in UTF-16, as the widget's objectName carries it.
inline constexpr std::u16string_view ControlName(Control control) {
    constexpr std::array<std::u16string_view, kControlCount> names = {
        u"标签1", u"标签2", u"标签3", u"编辑框1", u"编辑框2", u"编辑框3",
        u"编辑框4", u"标签4", u"按钮1", u"按钮2", u"分组框1", u"图片框1",
    };
    return names[static_cast<std::size_t>(control)];
}

inline constexpr std::size_t ControlIndex(Control control) { return static_cast<std::size_t>(control); }
#endif

}  // namespace korvel
