#pragma once
// The Win32 adapters of the tray programs' ports, and the wiring that gives them to the core.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pgptray/tray_app.h"
#include "pgptray/tray_ports.h"

namespace pgptray {

class Form;

// Section "Preferences" of PGPTray.ini beside the program, through the private profile calls.
class IniSettingsStore : public SettingsStore {
public:
    std::string read(const std::string& key, const std::string& fallback) override;
    void write(const std::string& key, const std::string& value) override;
};

// The clipboard's CF_TEXT.
class SystemClipboard : public ClipboardText {
public:
    bool read(std::string& text, TextCharset charset) override;
    bool writeCrLf(std::string_view gpgOutput, TextCharset charset) override;
};

// gpg.exe run through pipes (gpg_process).
class GpgProcess : public GpgRunner {
public:
    GpgResult run(const std::string& gpgExe, const GpgRequest& request, const std::string& input,
                  const std::string* passphrase) override;
    void launchAgent(const std::string& gpgExe, const std::string& keyFolder) override;
};

// The registry, the environment and the file system.
class SystemMachine : public Machine {
public:
    std::string gnupgInstallDir() override;
    std::string environment(const std::string& name) override;
    bool isFile(const std::string& path) override;
    std::string changeStamp(const std::string& path) override;
};

// The dialogs (tray_dialogs.cpp) and message boxes.
class TrayWindows : public TrayDialogs {
public:
    TrayWindows();
    ~TrayWindows() override;
    bool chooseRecipients(const std::vector<GpgKey>& keys, const std::string& notice, bool& encryptToSelf,
                          std::vector<std::string>& chosen) override;
    bool chooseOwnKey(const std::vector<GpgKey>& secretKeys, std::string& fingerprint) override;
    bool askPassphrase(const std::string& keyLabel, bool retry, std::string& passphrase) override;
    bool editPreferences(TraySettings& settings, const std::vector<std::string>& signingKeys) override;
    void message(const std::string& text, MessageKind kind) override;
    bool ask(const std::string& question) override;
    void showResult(const std::string& text) override;
    void appendResult(const std::string& text) override;
    bool resultOpen() override;
    void showTools() override;

    bool toolsOpen() const;
    // What a click on a button of the tools window sends (a hidden window's command identifier).
    std::function<void(unsigned id)> onTool;

private:
    std::unique_ptr<Form> result_;
    std::unique_ptr<Form> tools_;
};

// A program's adapters and the core over them.
struct TrayProgram {
    IniSettingsStore settingsStore;
    SystemClipboard clipboard;
    GpgProcess gpgProcess;
    SystemMachine machine;
    TrayWindows windows;
    TrayApp app{{settingsStore, clipboard, gpgProcess, machine, windows}};

    TrayProgram();
    TrayProgram(const TrayProgram&) = delete;
    TrayProgram& operator=(const TrayProgram&) = delete;
};

// Starts a program of this folder ("PGPKeys.Exe") without waiting for it.
void StartSiblingProgram(const char* fileName);

}  // namespace pgptray
