#pragma once
// COM start-up and shut-down of "ole32.dll": a count per thread, nothing more.
#include <cstdint>

namespace korvel::platform {

inline constexpr int32_t S_OK = 0;
inline constexpr int32_t S_FALSE = 1;                                         // already started on this thread
inline constexpr int32_t E_INVALIDARG = static_cast<int32_t>(0x80070057u);    // reserved was not null

// Starts COM on the calling thread: S_OK the first time, S_FALSE while already started.
// Every successful call (S_OK or S_FALSE) wants one CoUninitialize.
int32_t CoInitialize(void* reserved);

// Ends one CoInitialize of the calling thread; does nothing when none is open.
void CoUninitialize();

// For tests: the calling thread's open CoInitialize calls.
int CurrentComInitCount();

}  // namespace korvel::platform
