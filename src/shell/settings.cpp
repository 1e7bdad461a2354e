#include "shell/settings.h"

#include <stdexcept>

#include "base/list_files.h"
#include "drivers/driver_library.h"
#include "shell/props_layout.h"

namespace v5 {

namespace {

using Source = SettingSource;

constexpr SettingKey kKeys[] = {
    // Routine outward choice: 0 "&Encrypt", 1 "S&ign", 2 "Encrypt &and Sign".
    {"General", "optProcessing", Source::Control, {}, {1002, 0}, SavedWith::Options, 1102},
    // One-off outward choice of the Special page, the same three items.
    {"General", "optOutward", Source::Control, {}, {0, 0}, SavedWith::Options, 1104},
    // Page shown last: 0 Routine, 1 Special, 2 Mailer Choice, 3 Options, 4 About.
    {"General", "RecentPage", Source::State, {.number = &PropsState::RecentPage}, {1004, 0}, SavedWith::Page},
    // "Ignore &Wrapped Keys".
    {"General", "chkIgnoreWrappedKeys", Source::Control, {}, {1005, 1006}, SavedWith::Options, 1105},
    // "&Prefer key import over message reading".
    {"General", "chkForceKeyRead", Source::Control, {}, {0, 0}, SavedWith::Options},
    // Number of the tip of the day shown last.
    {"General", "TipNumber", Source::State, {.number = &PropsState::TipNumber}, {1008, 1011}, SavedWith::Tips},
    // Show the tip of the day at start-up and daily; mirrored by chkShowTips.
    {"General", "TipEnabled", Source::State, {.flag = &PropsState::TipEnabled}, {0, 0}, SavedWith::Tips},
    // Where the program is installed, for whoever looks; nothing here reads it.
    {"General", "LocalRoot", Source::InstallDir, {}, {1012, 0}},
    // The program's version text; nothing here reads it.
    {"General", "Version", Source::VersionText, {}, {0, 0}},
    // Full path of PGP's tray program, written by the installation.
    {"PGP", "Mainexe", Source::State, {.text = &PropsState::PgpMainExe}, {0, 0}},
};

}  // namespace

const std::span<const SettingKey> kSettingsKeys = kKeys;

namespace {

void SetTracePoint(ShellState& state, std::int32_t value) {
    if (value != 0) state.TracePoint = value;
}

void Write(Profile& profile, const SettingKey& key, const std::string& value) {
    if (!profile.writeString(kSettingsFileName, key.section, key.key, value)) throw UnableToWrite(kSettingsFileName);
}

// The field a key stores, and for a radio group its number of items (0 for any other field).
struct StoredField {
    StateField field;
    int radioItems = 0;
};

StoredField FieldOf(const SettingKey& key) {
    if (key.source != SettingSource::Control) return {key.field};
    const PropsControl* control = FindControl(key.key);
    if (!control) throw std::logic_error(std::string("no control for the setting ") + key.key);
    return {control->bind.field, control->kind == ControlKind::GroupBox ? RadioItemCount(*control) : 0};
}

void ReadIntoState(Profile& profile, const SettingKey& key, PropsState& props) {
    static const PropsState kDefaults;
    const StoredField stored = FieldOf(key);
    const StateField& f = stored.field;
    const auto number = [&](std::int32_t fallback) {
        return profile.readInt(kSettingsFileName, key.section, key.key, fallback);
    };
    if (f.flag) {
        props.*f.flag = number(kDefaults.*f.flag ? 1 : 0) != 0;
    } else if (f.number) {
        const std::int32_t value = number(kDefaults.*f.number);
        props.*f.number = stored.radioItems ? RadioItemIndex(value, stored.radioItems) : value;
    } else if (f.text) {
        props.*f.text = profile.readString(kSettingsFileName, key.section, key.key, kDefaults.*f.text);
    }
}

std::string StoredForm(const StateField& f, const PropsState& props) {
    if (f.flag) return ProfileFlagText(props.*f.flag);
    if (f.number) return std::to_string(props.*f.number);
    if (f.text) return props.*f.text;
    return {};
}

void WalkSave(const SettingsPorts& ports, SavedWith which) {
    for (const SettingKey& key : kSettingsKeys) {
        if (key.savedWith != which) continue;
        SetTracePoint(ports.state, key.saveTracePoint);
        Write(ports.profile, key, StoredForm(FieldOf(key).field, ports.props));
    }
}

}  // namespace

std::string VersionText(const std::string& fileVersion) { return std::string(kVersionPrefix) + " " + fileVersion; }

AppError UnableToWrite(const std::string& fileName) {
    std::string message = kUnableToWriteFormat;
    message.replace(message.find("%s"), 2, fileName);
    return AppError(message);
}

void LoadSettings(SettingsPorts ports) {
    PropsState& props = ports.props;
    props.lstMailingListAddress.clear();
    props.mailingListItemIndex = -1;
    props.lstMailingListAddress = ReadListFile(ports.state.InstallDir + kMailingListFileName);
    ports.log.WriteDebugLog(kLoadedMailingListEntry);

    ports.state.TracePoint = tpSettingsOpen;
    for (const SettingKey& key : kSettingsKeys) {
        for (std::int32_t tracePoint : key.loadTracePoints) SetTracePoint(ports.state, tracePoint);
        switch (key.source) {
            case SettingSource::Control:
            case SettingSource::State: ReadIntoState(ports.profile, key, props); break;
            case SettingSource::InstallDir: Write(ports.profile, key, ports.state.InstallDir); break;
            case SettingSource::VersionText:
                Write(ports.profile, key,
                      VersionText(ports.programFileVersion ? ports.programFileVersion() : std::string()));
                break;
        }
    }
    if (ports.readPgpVersion) ports.readPgpVersion();
    ports.state.TracePoint = tpSettingsLoaded;
}

void SaveSettings(SettingsPorts ports) {
    ports.state.TracePoint = tpSaveEnter;
    WalkSave(ports, SavedWith::Options);
    WalkSave(ports, SavedWith::Page);
    ports.state.TracePoint = tpSaveListFiles;

    PropsState& props = ports.props;
    WriteListFile(ports.state.InstallDir + kMailingListFileName, props.lstMailingListAddress);
    // The conflict marks are a view of the list, never part of an item.
    for (std::string& item : props.lstActive)
        if (!item.empty() && item.front() == kConflictMark) item.erase(0, 1);
    if (!props.catalogueUnreadable) WriteListFile(ports.state.InstallDir + kActiveMailersFileName, props.lstActive);
}

void SaveTipSettings(SettingsPorts ports) {
    WalkSave(ports, SavedWith::Tips);
    ports.props.chkShowTips = ports.props.TipEnabled;
}

}  // namespace v5
