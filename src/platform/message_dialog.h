#pragma once
// The standard message dialog: a caption by its kind, an icon, a text and any set of buttons,
// of which Help opens a help topic and leaves the dialog open. The system message box offers
// only fixed button sets; this one offers what the program's questions need (Abort, Retry and
// Help; Cancel and Ignore).
#include <string>

namespace v5 {

enum class DialogKind { Warning, Error, Information, Confirmation };

// Button set bits, in the order the buttons stand.
enum DialogButton : unsigned {
    dbYes = 1u << 0,
    dbNo = 1u << 1,
    dbOk = 1u << 2,
    dbCancel = 1u << 3,
    dbAbort = 1u << 4,
    dbRetry = 1u << 5,
    dbIgnore = 1u << 6,
    dbHelp = 1u << 7,
};

// The button that closed the dialog; drNone when it was closed otherwise (Alt+F4 with no
// Cancel button).
enum class DialogResult { drNone, drYes, drNo, drOk, drCancel, drAbort, drRetry, drIgnore };

// The caption of each kind of dialog.
const char* DialogCaption(DialogKind kind);

class MessageDialogs {
public:
    virtual ~MessageDialogs() = default;
    // helpContext: the topic of the application's help file that Help opens.
    virtual DialogResult show(const std::string& text, DialogKind kind, unsigned buttons, int helpContext) = 0;
};

}  // namespace v5
