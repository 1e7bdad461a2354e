#include "pgptray/tray_settings.h"

#include "pgptray/tray_ports.h"

namespace pgptray {
namespace {

// The text keys of PGPTray.ini, each read with an empty default.
struct TextSetting {
    const char* key;
    std::string TraySettings::*member;
};
constexpr TextSetting kTextSettings[] = {
    {"GpgPath", &TraySettings::gpgPath},
    {"KeyFolder", &TraySettings::keyFolder},
    {"DefaultKey", &TraySettings::defaultKey},
};
// The switches of PGPTray.ini, "1" or "0".
struct SwitchSetting {
    const char* key;
    bool TraySettings::*member;
    bool fallback;
};
constexpr SwitchSetting kSwitchSettings[] = {
    {"EncryptToSelf", &TraySettings::encryptToSelf, true},
    {"EncryptWithoutAsking", &TraySettings::encryptWithoutAsking, false},
};

}  // namespace

TraySettings LoadSettings(SettingsStore& store) {
    TraySettings s;
    for (const TextSetting& t : kTextSettings) s.*t.member = store.read(t.key, "");
    // A value other than "0" and "1" reads as the switch's default.
    for (const SwitchSetting& b : kSwitchSettings) {
        const std::string value = store.read(b.key, "");
        s.*b.member = value == "1" ? true : value == "0" ? false : b.fallback;
    }
    return s;
}

void SaveSettings(SettingsStore& store, const TraySettings& s) {
    for (const TextSetting& t : kTextSettings) store.write(t.key, s.*t.member);
    for (const SwitchSetting& b : kSwitchSettings) store.write(b.key, s.*b.member ? "1" : "0");
}

}  // namespace pgptray
