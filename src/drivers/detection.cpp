#include "drivers/detection.h"

#include "base/file_routines.h"
#include "base/shell_state.h"
#include "drivers/builtin_driver.h"
#include "drivers/driver_entry.h"
#include "drivers/mfd.h"

namespace v5 {
namespace {
constexpr int kProgressStart = 5;
constexpr int kProgressSpan = 20;
constexpr const char* kEntrySeparator = " / ";
}  // namespace

std::string NoMailerRunningText(const std::string& applicationTitle) {
    return "No mailers in the " + applicationTitle +
           " \"Active\" list are running. Press the Help button for tips on how to resolve this";
}

int DetectionProgressPosition(int b, int n) { return n > 0 ? b * (kProgressSpan / n) + kProgressStart : kProgressStart; }

bool DetectRunningMailer(DetectionPorts ports, const std::vector<std::string>& activeDriverScripts,
                         bool showProgress) {
    DriverState& drivers = ports.drivers;
    const std::string& mfd = ports.state.MfdFilePath;
    for (;;) {
        TfrmChooseMailer form(drivers, ports.showHelp);
        std::string lastAdded;
        const int n = static_cast<int>(activeDriverScripts.size());
        for (int b = 0; b < n; ++b) {
            if (showProgress && ports.progress) ports.progress->setProgress(DetectionProgressPosition(b, n));
            drivers.CurrentDriver = activeDriverScripts[b];
            if (!FileExists(ports.state.DriverDir + "\\" + drivers.CurrentDriver)) continue;
            DeleteFileIfPresent(mfd);
            ports.runner.RunDriver(kDataFileCommand + mfd);
            TMFDData record;
            try {
                record = ReadMFDFile(mfd);
            } catch (...) {
                DeleteFileIfPresent(mfd);
                throw;
            }
            DeleteFileIfPresent(mfd);
            const std::string title = ports.findMailerWindowTitle(record.Short);
            if (title.empty() && record.Short != kNoWindowShort) continue;
            form.lstRunningMailers.push_back(MakeDriverEntry(record.Information + kEntrySeparator + title,
                                                             drivers.CurrentDriver));
            lastAdded = drivers.CurrentDriver;
        }
        if (form.lstRunningMailers.size() == 1) {
            drivers.CurrentDriver = lastAdded;
            return false;
        }
        if (form.lstRunningMailers.size() > 1) {
            ports.choice.showModal(form);
            return drivers.CurrentDriver.empty();
        }
        const DialogResult answer = ports.dialogs.show(NoMailerRunningText(ports.state.ApplicationTitle),
                                                       DialogKind::Error, dbAbort | dbRetry | dbHelp,
                                                       kNoMailerHelpTopic);
        if (answer != DialogResult::drRetry) return true;
    }
}

}  // namespace v5
