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
constexpr char kEncryptToSelf[] = "EncryptToSelf";

}  // namespace

TraySettings LoadSettings(SettingsStore& store) {
    TraySettings s;
    for (const TextSetting& t : kTextSettings) s.*t.member = store.read(t.key, "");
    s.encryptToSelf = store.read(kEncryptToSelf, "1") != "0";
    return s;
}

void SaveSettings(SettingsStore& store, const TraySettings& s) {
    for (const TextSetting& t : kTextSettings) store.write(t.key, s.*t.member);
    store.write(kEncryptToSelf, s.encryptToSelf ? "1" : "0");
}

}  // namespace pgptray
