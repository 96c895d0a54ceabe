#pragma once
// Small run-time services: the program's folder, files, and letting the window breathe.
// Paths are GBK Text; they reach the file system as UTF-8 at the last moment.
#include <functional>

#include "core/Bytes.h"
#include "core/Text.h"

namespace korvel {

// The folder that holds the running program file, without a trailing separator.
// Computed once, at the first call.
Text ProgramDirectory();

// The platform's path separator ("/" here), for joining a folder and a file name.
Text PathSeparator();

// Deletes the file; true when it was deleted.
bool RemoveFile(const Text& path);

// Creates the file or cuts it to length 0 and writes data, holding an exclusive lock
// while it is open, so a file in use elsewhere fails. False for an empty path, a file
// name (last component) holding \ / : * ? " < > | or a control character, a file that
// cannot be opened or locked, or a failed write; after a failed write the file keeps what
// was written. writingBegan, when not null, is set to whether the file was taken for
// writing: false means the call left it as it was. Never throws.
bool WriteBytesToFile(const Text& path, const Bytes& data, bool* writingBegan = nullptr);

// Dispatches the window messages already waiting, through the hook the window sets;
// does nothing without one.
void ProcessPendingMessages();
void SetPendingMessagesHook(std::function<void()> hook);

}  // namespace korvel
