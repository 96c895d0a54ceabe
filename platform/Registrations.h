#pragma once
// One registration per group of stand-ins; Install() calls them all. Each lives in the
// file that implements its stand-ins.

namespace korvel::platform {

void RegisterKernelAndCom();        // "kernel32.dll" conversions, "ole32.dll" COM start-up
void RegisterWinHttp();             // "Winhttp.dll"
void RegisterAutomationClasses();   // "VBScript.RegExp", "Adodb.Stream"

}  // namespace korvel::platform
