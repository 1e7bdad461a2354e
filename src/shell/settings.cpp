#include "shell/settings.h"

#include <stdexcept>

#include "base/list_files.h"
#include "drivers/driver_library.h"

namespace v5 {

namespace {
constexpr std::int32_t PropsState::*kNoNumber = nullptr;
constexpr bool PropsState::*kNoFlag = nullptr;
constexpr std::string PropsState::*kNoText = nullptr;
}  // namespace

// Section, key, kind, default, source, state field, trace points at load.
const std::array<SettingKey, 10> kSettingsKeys = {{
    // Routine outward choice: 0 "&Encrypt", 1 "S&ign", 2 "Encrypt &and Sign".
    {"General", "optProcessing", SettingKind::ItemIndex, 0, SettingSource::Props, &PropsState::optProcessing,
     kNoFlag, kNoText, {1002, 0}},
    // One-off outward choice of the Special page, the same three items.
    {"General", "optOutward", SettingKind::ItemIndex, 0, SettingSource::Props, &PropsState::optOutward, kNoFlag,
     kNoText, {0, 0}},
    // Page shown last: 0 Routine, 1 Special, 2 Mailer Choice, 3 Options, 4 About.
    {"General", "RecentPage", SettingKind::WholeNumber, 2, SettingSource::Props, &PropsState::RecentPage, kNoFlag,
     kNoText, {1004, 0}},
    // "Ignore &Wrapped Keys".
    {"General", "chkIgnoreWrappedKeys", SettingKind::Flag, 0, SettingSource::Props, kNoNumber,
     &PropsState::chkIgnoreWrappedKeys, kNoText, {1005, 1006}},
    // "&Prefer key import over message reading".
    {"General", "chkForceKeyRead", SettingKind::Flag, 0, SettingSource::Props, kNoNumber,
     &PropsState::chkForceKeyRead, kNoText, {0, 0}},
    // Number of the tip of the day shown last.
    {"General", "TipNumber", SettingKind::WholeNumber, 0, SettingSource::Props, &PropsState::TipNumber, kNoFlag,
     kNoText, {1008, 1011}},
    // Show the tip of the day at start-up and daily; mirrored by chkShowTips.
    {"General", "TipEnabled", SettingKind::Flag, 1, SettingSource::Props, kNoNumber, &PropsState::TipEnabled,
     kNoText, {0, 0}},
    // Where the program is installed, for whoever looks; nothing here reads it.
    {"General", "LocalRoot", SettingKind::Text, 0, SettingSource::InstallDir, kNoNumber, kNoFlag, kNoText,
     {1012, 0}},
    // The program's version text; nothing here reads it.
    {"General", "Version", SettingKind::Text, 0, SettingSource::VersionText, kNoNumber, kNoFlag, kNoText, {0, 0}},
    // Full path of PGP's tray program, written by the installation.
    {"PGP", "Mainexe", SettingKind::Text, 0, SettingSource::Props, kNoNumber, kNoFlag, &PropsState::PgpMainExe,
     {0, 0}},
}};

const std::array<SaveStep, 5> kSaveSettingsOrder = {{
    {"optProcessing", 1102},
    {"optOutward", 1104},
    {"chkIgnoreWrappedKeys", 1105},
    {"chkForceKeyRead", 0},
    {"RecentPage", 0},
}};

const std::array<SaveStep, 2> kSaveTipSettingsOrder = {{
    {"TipNumber", 0},
    {"TipEnabled", 0},
}};

namespace {

void SetTracePoint(ShellState& state, std::int32_t value) {
    if (value != 0) state.TracePoint = value;
}

void Write(Profile& profile, const SettingKey& key, const std::string& value) {
    if (!profile.writeString(kSettingsFileName, key.section, key.key, value)) throw UnableToWrite(kSettingsFileName);
}

void ReadIntoState(Profile& profile, const SettingKey& key, PropsState& props) {
    switch (key.kind) {
        case SettingKind::WholeNumber:
            props.*key.number = profile.readInt(kSettingsFileName, key.section, key.key, key.defaultNumber);
            break;
        case SettingKind::ItemIndex:
            props.*key.number = RadioItemIndex(
                profile.readInt(kSettingsFileName, key.section, key.key, key.defaultNumber), kOutwardItemCount);
            break;
        case SettingKind::Flag:
            props.*key.flag = profile.readInt(kSettingsFileName, key.section, key.key, key.defaultNumber) != 0;
            break;
        case SettingKind::Text:
            props.*key.text = profile.readString(kSettingsFileName, key.section, key.key, "");
            break;
    }
}

std::string StoredForm(const SettingKey& key, const PropsState& props) {
    switch (key.kind) {
        case SettingKind::WholeNumber:
        case SettingKind::ItemIndex: return std::to_string(props.*key.number);
        case SettingKind::Flag: return ProfileFlagText(props.*key.flag);
        case SettingKind::Text: return props.*key.text;
    }
    return {};
}

void WalkSave(const SettingsPorts& ports, std::span<const SaveStep> steps) {
    for (const SaveStep& step : steps) {
        SetTracePoint(ports.state, step.tracePoint);
        const SettingKey& key = SettingKeyNamed(step.key);
        Write(ports.profile, key, StoredForm(key, ports.props));
    }
}

}  // namespace

const SettingKey& SettingKeyNamed(std::string_view name) {
    for (const SettingKey& key : kSettingsKeys)
        if (name == key.key) return key;
    throw std::logic_error("no setting named " + std::string(name));
}

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
            case SettingSource::Props: ReadIntoState(ports.profile, key, props); break;
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
    WalkSave(ports, kSaveSettingsOrder);
    ports.state.TracePoint = tpSaveListFiles;

    PropsState& props = ports.props;
    WriteListFile(ports.state.InstallDir + kMailingListFileName, props.lstMailingListAddress);
    // The conflict marks are a view of the list, never part of an item.
    for (std::string& item : props.lstActive)
        if (!item.empty() && item.front() == kConflictMark) item.erase(0, 1);
    if (!props.catalogueUnreadable) WriteListFile(ports.state.InstallDir + kActiveMailersFileName, props.lstActive);
}

void SaveTipSettings(SettingsPorts ports) {
    WalkSave(ports, kSaveTipSettingsOrder);
    ports.props.chkShowTips = ports.props.TipEnabled;
}

}  // namespace v5
