// The Mailer Choice page of the properties window: the driver catalogue read at start-up, the
// moves between the Library and the Active list, and the Details of a driver.
#include "base/file_routines.h"
#include "drivers/detection.h"
#include "drivers/driver_entry.h"
#include "drivers/driver_library.h"
#include "platform/errors.h"
#include "shell/props.h"

namespace v5 {

namespace {
DriverLists ListsOf(PropsState& p) { return {p.lstLibrary, p.libraryItemIndex, p.lstActive, p.activeItemIndex}; }

int SelectedOrNone(int index, const std::vector<std::string>& list) {
    return index >= 0 && index < static_cast<int>(list.size()) ? index : -1;
}
}  // namespace

// Start-up step 11: the catalogue fills both lists.
void TfrmProps::LoadDriverCatalogue() {
    const std::string path = state_.DriverDir + "\\" + kCatalogueFileName;
    std::string text;
    try {
        if (!FileExists(path)) throw InOutError("File not found: " + path);
        text = ReadFileString(path);
    } catch (...) {
        props_.catalogueUnreadable = true;
        throw;
    }
    v5::LoadDriverCatalogue(text, state_.DriverDir, props_.activeMailersLines, FileExists, ListsOf(props_),
                            drivers_.ExclusiveDrivers);
}

void TfrmProps::MakeActive() {
    const bool moved = v5::MakeActive(ListsOf(props_), drivers_.ExclusiveDrivers, [this](const std::string& question) {
        return log_.AppMessageBox(question, amQuestion, kMbYesNo) == kIdYes;
    });
    if (!moved) return;
    UpdateControls();
    BuildActiveDriverScripts();
}

void TfrmProps::ReturnToLibrary() {
    v5::ReturnToLibrary(ListsOf(props_));
    BuildActiveDriverScripts();
}

void TfrmProps::ReturnAllToLibrary() {
    v5::ReturnAllToLibrary(ListsOf(props_));
    BuildActiveDriverScripts();
}

void TfrmProps::ShowDriverDetails(const std::string& file) {
    if (file.find(".EXE") != std::string::npos) {
        drivers_.CurrentDriver = file;
        if (runner_) runner_->RunDriver("");
    } else {
        ShowScriptInfo(file);
    }
}

void TfrmProps::ShowScriptInfo(const std::string& file) {
    drivers_.CurrentDriver = file;
    const TfrmShowScriptInfo form = MakeScriptInfo(profile_, state_.DriverDir, file);
    if (scriptInfo_) scriptInfo_->showModal(form);
}

void TfrmProps::lstLibraryDblClick() { MakeActive(); }
void TfrmProps::MakeActive1Click() { MakeActive(); }

void TfrmProps::lstActiveDblClick() {
    ReturnToLibrary();
    UpdateControls();
}
void TfrmProps::Tolibrary1Click() { lstActiveDblClick(); }

void TfrmProps::lstActiveDragDrop(bool fromLibrary) {
    if (fromLibrary) MakeActive();
}

void TfrmProps::lstLibraryDragDrop(bool fromActive) {
    if (fromActive) lstActiveDblClick();
}

bool TfrmProps::lstLibraryMouseDown(int entryUnderPointer, bool rightButton) {
    props_.libraryItemIndex = SelectedOrNone(entryUnderPointer, props_.lstLibrary);
    return rightButton && props_.libraryItemIndex >= 0;
}

bool TfrmProps::lstActiveMouseDown(int entryUnderPointer, bool rightButton) {
    const int hit = SelectedOrNone(entryUnderPointer, props_.lstActive);
    UpdateControls();
    props_.activeItemIndex = hit;
    return rightButton && hit >= 0;
}

void TfrmProps::Details1Click() {
    const int selected = SelectedOrNone(props_.libraryItemIndex, props_.lstLibrary);
    if (selected >= 0) ShowDriverDetails(DriverFileOf(props_.lstLibrary[selected]));
}

void TfrmProps::detActiveClick() {
    const int selected = SelectedOrNone(props_.activeItemIndex, props_.lstActive);
    if (selected >= 0) ShowDriverDetails(DriverFileOf(props_.lstActive[selected]));
}

}  // namespace v5
