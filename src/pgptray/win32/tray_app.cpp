#include "pgptray/win32/tray_app.h"

#include "pgptray/tray_texts.h"
#include <stdexcept>

#include "pgptray/win32/gpg_process.h"
#include "platform/clipboard_retry.h"
#include "platform/win32/toolkit/clipboard.h"
#include "platform/win32/toolkit/unicode.h"

namespace pgptray {
namespace {

constexpr char kSection[] = "Preferences";

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

std::string iniPath() { return programFolder() + "PGPTray.ini"; }

}  // namespace

void StartSiblingProgram(const char* fileName) {
    const std::string program = programFolder() + fileName;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // It runs on by itself: its handles are let go of at once.
    if (CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        v5::win32::OwnedProcess{pi};
}

std::string IniSettingsStore::read(const std::string& key, const std::string& fallback) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(kSection, key.c_str(), fallback.c_str(), buffer, sizeof buffer, iniPath().c_str());
    return buffer;
}

void IniSettingsStore::write(const std::string& key, const std::string& value) {
    WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), iniPath().c_str());
}

// A clipboard that another program keeps holding is reported as such, not read as empty.
bool SystemClipboard::read(std::string& text, TextCharset charset) {
    v5::win32::ClipboardRead outcome;
    if (charset == TextCharset::CodePage) {
        outcome = v5::win32::ReadClipboardText(text);
    } else {
        std::wstring wide;
        outcome = v5::win32::ReadClipboardUnicode(wide);
        text = v5::win32::Utf8FromWide(wide);
    }
    if (outcome == v5::win32::ClipboardRead::Unavailable) throw std::runtime_error(v5::kClipboardBusyText);
    return outcome == v5::win32::ClipboardRead::Read;
}

bool SystemClipboard::writeCrLf(std::string_view gpgOutput, TextCharset charset) {
    const std::string crLf = ToCrLf(gpgOutput);
    const std::wstring wide = charset == TextCharset::CodePage ? v5::win32::WideFromCodePage(crLf)
                                                               : v5::win32::WideFromGpgOutput(crLf);
    // A decrypted text stays out of clipboard history and the cloud clipboard.
    const v5::win32::ClipboardWrite outcome =
        v5::win32::WriteClipboardUnicode(wide, nullptr, v5::win32::ClipboardHistory::Excluded);
    if (outcome == v5::win32::ClipboardWrite::Unavailable) throw std::runtime_error(v5::kClipboardBusyText);
    return outcome == v5::win32::ClipboardWrite::Written;
}

GpgResult GpgProcess::run(const std::string& gpgExe, const GpgRequest& request, const std::string& input,
                          const std::string* passphrase) {
    return RunGpg(gpgExe, request, input, passphrase);
}

void GpgProcess::launchAgent(const std::string& gpgExe, const std::string& keyFolder) {
    LaunchAgent(gpgExe, keyFolder);
}

std::string SystemMachine::gnupgInstallDir() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        v5::win32::OwnedKey key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\GnuPG", 0, KEY_READ | view, key.receive()) != ERROR_SUCCESS)
            continue;
        char value[MAX_PATH] = {};
        DWORD size = sizeof value - 1, type = 0;
        const LONG r =
            RegQueryValueExA(key.get(), "Install Directory", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        if (r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) return value;
    }
    return {};
}

std::string SystemMachine::environment(const std::string& name) {
    std::string value(32767, '\0');
    value.resize(GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size())));
    return value;
}

bool SystemMachine::isFile(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemMachine::changeStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
    return std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
           std::to_string(data.ftLastWriteTime.dwLowDateTime) + ":" + std::to_string(data.nFileSizeLow);
}

TrayProgram::TrayProgram() {
    windows.onTool = [this](unsigned id) {
        app.command(TrayCommandFor(id));
        app.finishCommand();
    };
}

}  // namespace pgptray
