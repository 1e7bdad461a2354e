#pragma once
// The commands the tray program's hidden window answers (WM_COMMAND identifiers).

namespace pgptray {

inline constexpr char kHiddenWindowClass[] = "PGPtray_Hidden_Window";

enum class TrayCommand { Encrypt, EncryptSign, Sign, DecryptVerify, ImportKeys, Preferences, Tools, Nothing };

inline TrayCommand TrayCommandFor(unsigned id) {
    switch (id) {
        case 40017: return TrayCommand::Encrypt;
        case 40007: return TrayCommand::EncryptSign;
        case 40018: return TrayCommand::Sign;
        case 40008: return TrayCommand::DecryptVerify;
        case 40006: return TrayCommand::ImportKeys;
        case 40012: return TrayCommand::Preferences;
        case 40019: return TrayCommand::Tools;
        default: return TrayCommand::Nothing;
    }
}

}  // namespace pgptray
