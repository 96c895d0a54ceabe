#pragma once
// The one place where the window's UTF-16 meets the program's GBK text. Both directions
// go through code page 936; text that is plain ASCII is copied as it stands, since code
// page 936 keeps the ASCII range unchanged.
#include <QString>
#include <QStringView>

#include "core/Text.h"

namespace korvel {

// GBK to UTF-16, every byte sequence kept (CR LF stays CR LF).
QString ToQString(const Text& gbk);

// GBK to UTF-16 with every line break (CR LF, lone CR or LF) as one newline, the form a
// label draws as a line break.
QString ToQStringWithNewlines(const Text& gbk);

// UTF-16 to GBK with every line break (CR LF, lone CR, lone LF, the Unicode line and
// paragraph separators) written as CR LF. A character GBK cannot hold becomes "?".
Text ToGbkWithCrLf(QStringView utf16);

}  // namespace korvel
