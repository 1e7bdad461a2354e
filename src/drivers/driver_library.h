#pragma once
// The driver catalogue "SELECTG.DAT", the Library and Active lists it fills, the moves between
// them, the Details of a driver and RunDriver, which runs the current driver with a command.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "drivers/driver_state.h"
#include "platform/ports.h"

namespace v5 {

struct ShellState;

inline constexpr const char* kCatalogueFileName = "SELECTG.DAT";
inline constexpr const char* kScriptEngineName = "SBM.EXE";
inline constexpr const char* kInternalScriptType = "Internal";
inline constexpr const char* kScriptTypeSection = "MFS";
inline constexpr const char* kScriptTypeKey = "Type";
inline constexpr const char* kScriptInfoSection = "Information";
inline constexpr int kScriptInfoLines = 100;
inline constexpr const char* kScriptInfoCaptionPrefix = "Mail Form Script - ";
// The mark the Active list puts before items that share the selected item's driver script.
inline constexpr char kConflictMark = '=';

// Catalogue line flags in field 2.
inline constexpr char kFlagExclusive = '0';
inline constexpr char kFlagHidden = '5';
inline constexpr char kFlagHiddenToo = '-';

// The text between the (n-1)-th and the n-th "!" of a catalogue line; empty when missing.
std::string CatalogueField(std::string_view line, int n);

// The two lists of the Mailer Choice page, each kept sorted without regard to letter case,
// with the index of the selected entry (-1 for none).
struct DriverLists {
    std::vector<std::string>& library;
    int& libraryIndex;
    std::vector<std::string>& active;
    int& activeIndex;
};

// Inserts the entry at its sorted place and returns that place.
int AddSorted(std::vector<std::string>& list, const std::string& entry);

// Fills the lists from the catalogue's text and collects the exclusive drivers.
// `fileExists` tells whether a driver file (its full path) is there.
void LoadDriverCatalogue(std::string_view catalogueText, const std::string& driverDir,
                         const std::vector<std::string>& activeMailersLines,
                         const std::function<bool(const std::string&)>& fileExists, DriverLists lists,
                         std::vector<std::string>& exclusiveDrivers);

bool IsExclusiveDriver(const std::vector<std::string>& exclusiveDrivers, std::string_view file);

// The two questions of MakeActive, as the user reads them.
std::string AloneQuestion(const std::string& chosenName, const std::string& firstActiveName);
std::string RemoveOthersQuestion(const std::string& chosenName);

// Moves the selected Library entry, with every entry of the same driver, to the Active list.
// `askYesNo` puts a question to the user and is true for Yes. False when the user stopped it
// (or nothing is selected): then nothing has changed.
bool MakeActive(DriverLists lists, const std::vector<std::string>& exclusiveDrivers,
                const std::function<bool(const std::string&)>& askYesNo);
// Moves the selected Active entry, with every entry of the same driver, back to the Library.
void ReturnToLibrary(DriverLists lists);
// Empties the Active list and selects again the Library entry that was selected.
void ReturnAllToLibrary(DriverLists lists);

// The Details window of a driver script: its caption and 100 lines of description.
struct TfrmShowScriptInfo {
    std::string Caption;
    std::string Text1;
};
TfrmShowScriptInfo MakeScriptInfo(Profile& profile, const std::string& driverDir, const std::string& file);

// Shows the Details window modally, placed at a third of the free screen width and height.
class ScriptInfoView {
public:
    virtual ~ScriptInfoView() = default;
    virtual void showModal(const TfrmShowScriptInfo& form) = 0;
};

// How a driver command is carried out: by the built-in driver, or by starting a command line.
struct DriverInvocation {
    bool builtIn = false;
    std::string commandLine;
};

// A path is put in double quotes when it holds a blank, so that Windows does not take the part
// before the blank for the program.
std::string QuotedProgramPath(const std::string& path);

// What RunDriver does for the current driver and a command text ("Data File=" + path,
// "read File=" + path, "Write File=" + path, or empty for a driver program's information).
DriverInvocation PlanDriverRun(const ShellState& state, Profile& profile, const std::string& currentDriver,
                               const std::string& commandText);

}  // namespace v5
