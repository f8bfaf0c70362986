#pragma once
// What the update wizard needs of its window, and of the one text conversion
// it cannot do itself. The wizard dialog of the Windows side implements both
// (SetWindowTextW, LB_ADDSTRING, PBM_SETPOS, MessageBoxW, EndDialog,
// PeekMessageW; MultiByteToWideChar with code page 936); the tests implement
// them with recorders.
//
// Every text handed to the view is UTF-8. The fixed texts of the wizard are
// UTF-8 in the source; the texts that come from the update descriptions
// (titles, versions, file names) are code page 936 bytes and go through
// ITextCodec once, before they are formatted into a line, so the view never
// has to know which parts of a line came from where.
#include <string>

#include "shared/core/Gbk.h"

namespace vt {

class IUpdateView {
public:
    virtual ~IUpdateView() = default;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void ClearList() = 0;
    virtual void AddListLine(const std::string& text) = 0;
    // 0..100.
    virtual void SetProgress(int percent) = 0;
    virtual void SetButtonText(const std::string& text) = 0;
    // An OK/Cancel question with a stop icon; true only for OK.
    virtual bool AskOkCancel(const std::string& text, const std::string& caption) = 0;
    // An error that broke off a step's transfer: a message with a stop icon
    // and an OK button, under the program's name.
    virtual void ShowError(const std::string& text) = 0;
    // Ends the wizard. Called from inside a step's work too: the window must
    // only be marked to end (EndDialog), never destroyed under the caller.
    virtual void Close() = 0;
    virtual void SetWaitCursor(bool on) = 0;
    // Takes up to `attempts` waiting window messages and dispatches them, so
    // the window paints and its buttons work during a download. A press of
    // a button arriving here comes back into UpdateWizard::Press or Cancel.
    virtual void PumpMessages(int attempts) = 0;
};

class ITextCodec {
public:
    virtual ~ITextCodec() = default;
    virtual std::string GbkToUtf8(const Gbk& text) const = 0;
};

}  // namespace vt
