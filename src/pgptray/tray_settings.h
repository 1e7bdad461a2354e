#pragma once
// The preferences of the tray programs, kept in "PGPTray.ini" beside them.
#include <string>

namespace pgptray {

class SettingsStore;

struct TraySettings {
    std::string gpgPath;      // gpg.exe or its folder; empty: search
    std::string keyFolder;    // gpg's home folder; empty: gpg's own default
    std::string defaultKey;   // fingerprint of the signing key; empty: gpg's default
    bool encryptToSelf = true;
    // Encrypt at once, without the recipient dialog, when Vostrel 5 named the recipients and
    // each has exactly one verified key (and the message has no blind copies).
    bool encryptWithoutAsking = false;
};

TraySettings LoadSettings(SettingsStore& store);
void SaveSettings(SettingsStore& store, const TraySettings& settings);

}  // namespace pgptray
