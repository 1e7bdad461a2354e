#pragma once
// The mailer choice window: the running mailers, one of which the user picks for the run.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "drivers/driver_state.h"

namespace v5 {

inline constexpr const char* kChooseMailerCaption = "These mailers are running right now - choose one";
inline constexpr int kChooseMailerClientWidth = 470;
inline constexpr int kChooseMailerClientHeight = 91;
inline constexpr int kChooseMailerHelpTopic = 9002;

class TfrmChooseMailer {
public:
    TfrmChooseMailer(DriverState& drivers, std::function<void(int topic)> showHelp)
        : drivers_(drivers), showHelp_(std::move(showHelp)) {}

    // Entries: Information, " / ", the mailer's title, 200 blanks, the driver file name.
    std::vector<std::string> lstRunningMailers;
    int itemIndex = -1;
    bool btnOkEnabled = false;

    void FormShow();
    // index: the entry selected by the click, -1 when it selected none.
    void lstRunningMailersClick(int index);
    // True when the window is to close with the choice made.
    bool btnOkClick();
    bool lstRunningMailersDblClick();
    void btnCancelClick();
    void btnHelpClick();
    // Whatever way the window closes: without a choice the run has no driver to use.
    void FormClose();

private:
    bool choose();

    DriverState& drivers_;
    std::function<void(int)> showHelp_;
    bool chosen_ = false;
};

}  // namespace v5
