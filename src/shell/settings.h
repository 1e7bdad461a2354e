#pragma once
// The settings file "Vostrel5.INI" and the two list files "MailingList.dat" and "ActiveMailers.dat".
// Every key is described once, in kSettingsKeys; loading and saving walk that table.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
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

// Where a key's value comes from or goes to.
enum class SettingSource {
    Control,      // the field that the window's control of the key's name shows (props_layout)
    State,        // a field of PropsState that no control shows
    InstallDir,   // written at every load, never read
    VersionText,  // written at every load, never read
};

// Which save writes a key: Ok's (the window's options, then the page shown last), the tip of the
// day's, or none.
enum class SavedWith { Nothing, Options, Page, Tips };

// A key's default is its field's initial value in PropsState; a flag is written "1" or "0", a
// radio group's item index is read as its group makes of it (RadioItemIndex).
struct SettingKey {
    const char* section;
    const char* key;
    SettingSource source;
    StateField field{};  // SettingSource::State
    // Trace points set in turn just before the key is handled at load (0: none).
    std::array<std::int32_t, 2> loadTracePoints;
    SavedWith savedWith = SavedWith::Nothing;
    std::int32_t saveTracePoint = 0;  // set just before the key is saved (0: none)
};

// In the order LoadSettings handles them, and each save writes its keys.
extern const std::span<const SettingKey> kSettingsKeys;

// Trace points of the settings.
enum : std::int32_t {
    tpSettingsOpen = 1001,
    tpSettingsLoaded = 1013,
    tpSaveEnter = 1101,
    tpSaveListFiles = 1199,
};

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
