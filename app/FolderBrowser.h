#pragma once
// The folder browser: folders only, the prompt above the folder tree, an edit field for
// a typed folder name, starting at the desktop (or the home folder when there is no
// desktop folder). Modal to the whole program and owned by the active window, so every
// other window of the program is disabled while it is open and active again afterwards.
#include <QString>

#include "core/Text.h"

namespace korvel {

// The chosen folder's full path in GBK, without a trailing separator except for the
// root "/"; the empty text when the user cancels.
Text BrowseForFolder(const Text& prompt);

// Where the browser opens: ~/Desktop when it exists, else the home folder.
QString FolderBrowserStart();

// The path without trailing separators, except that the root stays "/".
QString WithoutTrailingSeparator(const QString& path);

}  // namespace korvel
