#pragma once
// The settings file "Vostrel5.INI" and the two list files "MailingList.dat" and "ActiveMailers.dat".
// Every key is described once, in kSettingsKeys; loading and saving walk that table.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostics.h"
#include "base/shell_state.h"
#include "platform/errors.h"
#include "platform/ports.h"
#include "shell/props_state.h"

namespace v5 {

// Named without a directory: the platform keeps it in the Windows directory.
inline constexpr const char* kSettingsFileName = "Vostrel5.INI";
inline constexpr const char* kMailingListFileName = "MailingList.dat";
inline constexpr const char* kActiveMailersFileName = "ActiveMailers.dat";
inline constexpr const char* kLoadedMailingListEntry = "Loaded Mailing List File";
inline constexpr const char* kUnableToWriteFormat = "Unable to write to %s";
// The version label's prefix at start-up; "Version" is always written with it (docs/settings.md).
inline constexpr const char* kVersionPrefix = "File Version:";

enum class SettingKind {
    WholeNumber,  // written in decimal
    ItemIndex,    // a whole number shown as a radio group's item index (see RadioItemIndex)
    Flag,         // written "1" or "0"; read as a whole number, non-zero meaning set
    Text,
};

// Where a key's value comes from or goes to.
enum class SettingSource {
    Props,        // a field of PropsState, read at every load
    InstallDir,   // written at every load, never read
    VersionText,  // written at every load, never read
};

struct SettingKey {
    const char* section;
    const char* key;
    SettingKind kind;
    std::int32_t defaultNumber;  // whole numbers and flags; text defaults are empty
    SettingSource source;
    std::int32_t PropsState::*number;  // WholeNumber, ItemIndex
    bool PropsState::*flag;            // Flag
    std::string PropsState::*text;     // Text read into the state
    // Trace points set in turn just before the key is handled at load (0: none).
    std::array<std::int32_t, 2> loadTracePoints;
};

// In the order LoadSettings handles them.
extern const std::array<SettingKey, 10> kSettingsKeys;

// One step of a save: the key, and the trace point set just before it (0: none).
struct SaveStep {
    const char* key;
    std::int32_t tracePoint;
};
extern const std::array<SaveStep, 5> kSaveSettingsOrder;
extern const std::array<SaveStep, 2> kSaveTipSettingsOrder;

// Trace points of the settings.
enum : std::int32_t {
    tpSettingsOpen = 1001,
    tpSettingsLoaded = 1013,
    tpSaveEnter = 1101,
    tpSaveListFiles = 1199,
};

const SettingKey& SettingKeyNamed(std::string_view key);

struct SettingsPorts {
    ShellState& state;
    Diagnostics& log;
    Profile& profile;
    PropsState& props;
    // The program's "FileVersion" value; empty when it has none.
    std::function<std::string()> programFileVersion;
    // Has the PGP launcher read the product name and version of PgpMainExe.
    std::function<void()> readPgpVersion;
};

// "File Version:", one blank and the version.
std::string VersionText(const std::string& fileVersion);

// The failure of a write to the settings file: an error for the application exception handler.
AppError UnableToWrite(const std::string& fileName);

void LoadSettings(SettingsPorts ports);
void SaveSettings(SettingsPorts ports);
void SaveTipSettings(SettingsPorts ports);

}  // namespace v5
