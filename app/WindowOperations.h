#pragma once
// The operations the workflows use on the main window, and nothing else of it. Texts are
// GBK; the window converts to and from the toolkit's UTF-16 at this boundary. None of the
// operations fails in a way a workflow sees. Once the window is closed, every operation
// leaves the controls alone (reads give empty values, ShowMessage and ChooseFolder return
// at once) so a workflow interrupted inside ProcessPendingMessages can finish quietly;
// IsClosed tells it to stop early.
#include <cstdint>

#include "app/Control.h"
#include "core/Bytes.h"
#include "core/Text.h"

namespace korvel {

class WindowOperations {
public:
    virtual ~WindowOperations() = default;

    // The content of an edit box or the caption of a label, as the user sees it: lines
    // joined by CR LF (never a lone CR or LF), the empty text when it is empty.
    virtual Text ReadText(Control control) const = 0;
    // Replaces the content or caption with the text; CR LF (or a lone CR or LF) breaks lines.
    virtual void WriteText(Control control, const Text& text) = 0;
    // Shows or hides the control with its children; the same value again changes nothing.
    virtual void SetVisible(Control control, bool visible) = 0;
    // True greys the control out and makes it ignore input.
    virtual void SetDisabled(Control control, bool disabled) = 0;
    // Keeps an exact copy of the bytes as the picture and draws it stretched over the box;
    // bytes that are no image leave the box blank, empty bytes clear it.
    virtual void SetPicture(Control control, const Bytes& picture) = 0;
    // The bytes last set, unchanged; empty when none were set or they were cleared.
    virtual Bytes ReadPicture(Control control) const = 0;

    // A message box captioned "信息：" with one OK button and no icon, modal to the whole
    // program; returns when the user dismisses it.
    virtual void ShowMessage(const Text& text) = 0;
    // The folder browser with the prompt above the folder tree. The chosen folder's full
    // path without a trailing separator (except the root "/"); the empty text on cancel.
    virtual Text ChooseFolder(const Text& prompt) = 0;

    // True from the moment the window was closed; the remaining steps of a workflow return.
    virtual bool IsClosed() const = 0;

    // A modeless indicator of a long export: done rows out of total (0 <= done <= total),
    // shown at the first call and updated by the next ones, with a way for the user to ask
    // the export to stop. The window keeps taking input while it shows. A window without
    // such an indicator ignores these calls and never asks to stop.
    virtual void ShowProgress(int32_t /*done*/, int32_t /*total*/) {}
    // Removes the indicator and forgets a request to stop.
    virtual void HideProgress() {}
    // True once the user asked the export under way to stop, until HideProgress.
    virtual bool StopRequested() const { return false; }
};

}  // namespace korvel
