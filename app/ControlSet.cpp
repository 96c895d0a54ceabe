#include "app/ControlSet.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/PictureBox.h"

namespace korvel {
namespace {

// Sample roster of the first start: ten rows in each column.
constexpr const char16_t* kSerialsAtStart = u"1\n2\n3\n4\n5\n6\n7\n8\n9\n10";
constexpr const char16_t* kNamesAtStart = u"张伟\n王秀英\n李娜\n刘建国\n陈静\n杨晓明\n赵磊\n黄丽华\n孙浩\n吴敏";
constexpr const char16_t* kIdsAtStart =
    u"35020180001\n35020180002\n35020180003\n35020180004\n35020180005\n"
    u"35020180006\n35020180007\n35020180008\n35020180009\n35020180010";

constexpr const char16_t* kInstruction =
    u"\u3000\u3000本程序是《Korvel》安卓APP程序的配套二维码生成器，需要联网，方便生成导入程序和个人"
    u"二维码文档，请在左边的对应文本框内输入相应的内容，每个一行，一一对应，每个类型可以是任意内容！"
    u"你可以打开学籍系统导出的文件，按照对应内容列复制黏贴即可！";

constexpr const char16_t* kPreviewTitle = u"请使用客户端扫描二维码（双击二维码关闭窗口）";

QColor FaceColour(const QWidget* widget) { return widget->palette().color(QPalette::Button); }

void Place(QWidget* widget, Control control, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromStdU16String(std::u16string(ControlName(control))));
    widget->setGeometry(left, top, width, height);
}

QLabel* MakeColumnLabel(QWidget* parent, const char16_t* title) {
    auto* label = new QLabel(QString::fromUtf16(title), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(colours);
    return label;
}

QPlainTextEdit* MakeEditBox(QWidget* parent, const char16_t* content) {
    auto* box = new QPlainTextEdit(parent);
    box->setPlainText(QString::fromUtf16(content));
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Tab moves on to the next control; Enter still breaks the line.
    box->setTabChangesFocus(true);
    QPalette colours = box->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Qt::white);
        colours.setColor(group, QPalette::Text, Qt::black);
    }
    // The text control paints a box without the focus in the inactive colours: drawing
    // the selection in the text's own colours hides it there.
    colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    box->setPalette(colours);
    return box;
}

QLabel* MakeInstructionLabel(QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf16(kInstruction), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(16);
    font.setWeight(QFont::Normal);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(colours);
    return label;
}

QGroupBox* MakePreviewGroup(QWidget* parent) {
    auto* group = new QGroupBox(QString::fromUtf16(kPreviewTitle), parent);
    // Filled, so the preview covers the columns beneath it and not only the picture does.
    QPalette colours = group->palette();
    colours.setColor(QPalette::Window, FaceColour(group));
    group->setPalette(colours);
    group->setAutoFillBackground(true);
    group->hide();
    return group;
}

}  // namespace

ControlSet::ControlSet(QWidget* window) {
    auto put = [this](Control control, QWidget* widget, int left, int top, int width, int height) {
        Place(widget, control, left, top, width, height);
        widgets_[ControlIndex(control)] = widget;
    };
    put(Control::标签1, MakeColumnLabel(window, u"序号列"), 32, 16, 80, 24);
    put(Control::标签2, MakeColumnLabel(window, u"姓名列"), 168, 16, 80, 24);
    put(Control::标签3, MakeColumnLabel(window, u"编号列"), 344, 16, 80, 24);
    put(Control::编辑框1, MakeEditBox(window, kSerialsAtStart), 8, 46, 120, 384);
    put(Control::编辑框2, MakeEditBox(window, kNamesAtStart), 144, 46, 120, 384);
    put(Control::编辑框3, MakeEditBox(window, kIdsAtStart), 280, 46, 224, 384);
    put(Control::编辑框4, MakeEditBox(window, u""), 512, 0, 144, 48);
    Widget(Control::编辑框4)->hide();
    put(Control::标签4, MakeInstructionLabel(window), 520, 48, 144, 272);
    auto* generateImport = new QPushButton(QStringLiteral("生成导入二维码"), window);
    generateImport->setDefault(true);
    put(Control::按钮1, generateImport, 536, 328, 112, 40);
    put(Control::按钮2, new QPushButton(QStringLiteral("生成个人二维码"), window), 536, 384, 112, 40);
    QGroupBox* preview = MakePreviewGroup(window);
    put(Control::分组框1, preview, 32, 16, 430, 430);
    put(Control::图片框1, new PictureBox(preview), 14, 20, 400, 400);
    // Created last, the group box already lies above the columns; raise it all the same
    // so that no later change of creation order can bury the preview.
    preview->raise();
}

QPlainTextEdit* ControlSet::EditBox(Control control) const { return qobject_cast<QPlainTextEdit*>(Widget(control)); }
QLabel* ControlSet::Label(Control control) const { return qobject_cast<QLabel*>(Widget(control)); }
QPushButton* ControlSet::Button(Control control) const { return qobject_cast<QPushButton*>(Widget(control)); }
PictureBox* ControlSet::Picture() const { return qobject_cast<PictureBox*>(Widget(Control::图片框1)); }

}  // namespace korvel
