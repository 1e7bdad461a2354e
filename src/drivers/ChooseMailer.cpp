#include "drivers/ChooseMailer.h"

#include "drivers/driver_entry.h"

namespace v5 {

void TfrmChooseMailer::FormShow() {
    chosen_ = false;
    int index = drivers_.LastMailerChoice;
    if (index >= static_cast<int>(lstRunningMailers.size())) {
        index = 0;
        drivers_.LastMailerChoice = 0;
    }
    itemIndex = index < static_cast<int>(lstRunningMailers.size()) ? index : -1;
    btnOkEnabled = itemIndex >= 0;
}

void TfrmChooseMailer::lstRunningMailersClick(int index) {
    itemIndex = index >= 0 && index < static_cast<int>(lstRunningMailers.size()) ? index : -1;
    drivers_.LastMailerChoice = itemIndex;
    btnOkEnabled = itemIndex >= 0;
}

bool TfrmChooseMailer::choose() {
    const int index = drivers_.LastMailerChoice;
    if (itemIndex < 0 || index < 0 || index >= static_cast<int>(lstRunningMailers.size())) return false;
    drivers_.CurrentDriver = DriverFileOf(lstRunningMailers[index]);
    chosen_ = true;
    return true;
}

bool TfrmChooseMailer::btnOkClick() { return choose(); }
bool TfrmChooseMailer::lstRunningMailersDblClick() { return choose(); }

void TfrmChooseMailer::btnCancelClick() { drivers_.CurrentDriver.clear(); }

void TfrmChooseMailer::btnHelpClick() {
    if (showHelp_) showHelp_(kChooseMailerHelpTopic);
}

void TfrmChooseMailer::FormClose() {
    if (!chosen_) drivers_.CurrentDriver.clear();
}

}  // namespace v5
