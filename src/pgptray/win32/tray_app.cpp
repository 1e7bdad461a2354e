#include "pgptray/win32/tray_app.h"

#include "pgptray/gpg_locate.h"
#include "pgptray/gpg_status.h"
#include "pgptray/tray_texts.h"
#include "pgptray/win32/form.h"

namespace pgptray {
namespace {

constexpr char kSection[] = "Preferences";
constexpr int kResultText = 300;

std::string iniPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + "PGPTray.ini";
}

std::string readIni(const char* key, const char* fallback) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(kSection, key, fallback, buffer, sizeof buffer, iniPath().c_str());
    return buffer;
}

bool isFile(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string registryInstallDir() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\GnuPG", 0, KEY_READ | view, &key) != ERROR_SUCCESS) continue;
        char value[MAX_PATH] = {};
        DWORD size = sizeof value - 1, type = 0;
        const LONG r = RegQueryValueExA(key, "Install Directory", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        if (r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) return value;
    }
    return {};
}

bool isEncryptedMessage(const std::string& text) {
    return text.find("-----BEGIN PGP MESSAGE-----") != std::string::npos &&
           text.find("-----END PGP MESSAGE-----") != std::string::npos;
}

}  // namespace

void StartSiblingProgram(const char* fileName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program = path;
    program = program.substr(0, program.find_last_of('\\') + 1) + fileName;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

TraySettings LoadSettings() {
    TraySettings s;
    s.gpgPath = readIni("GpgPath", "");
    s.keyFolder = readIni("KeyFolder", "");
    s.defaultKey = readIni("DefaultKey", "");
    s.encryptToSelf = readIni("EncryptToSelf", "1") != "0";
    return s;
}

void SaveSettings(const TraySettings& s) {
    const std::string ini = iniPath();
    WritePrivateProfileStringA(kSection, "GpgPath", s.gpgPath.c_str(), ini.c_str());
    WritePrivateProfileStringA(kSection, "KeyFolder", s.keyFolder.c_str(), ini.c_str());
    WritePrivateProfileStringA(kSection, "DefaultKey", s.defaultKey.c_str(), ini.c_str());
    WritePrivateProfileStringA(kSection, "EncryptToSelf", s.encryptToSelf ? "1" : "0", ini.c_str());
}

bool ReadClipboardText(std::string& text) {
    if (!OpenClipboard(nullptr)) return false;
    bool ok = false;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text.assign(p, strnlen(p, GlobalSize(h)));
            GlobalUnlock(h);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

// The conversion writes straight into the clipboard's block: no second copy of a large text.
bool WriteClipboardCrLf(std::string_view gpgOutput) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, CrLfSize(gpgOutput) + 1);
    if (!mem) return false;
    char* p = static_cast<char*>(GlobalLock(mem));
    if (!p) {
        GlobalFree(mem);
        return false;
    }
    *CopyAsCrLf(gpgOutput, p) = '\0';
    GlobalUnlock(mem);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_TEXT, mem) != nullptr;
    if (!ok) GlobalFree(mem);
    CloseClipboard();
    return ok;
}

TrayApp::TrayApp() : settings(LoadSettings()) {}
TrayApp::~TrayApp() = default;

std::string TrayApp::gpg() {
    char path[32767] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    const std::string found = LocateGpg({settings.gpgPath, registryInstallDir(), path}, isFile);
    if (found.empty()) {
        TrayMessage(kGpgNotFound, MB_OK | MB_ICONERROR);
        return found;
    }
    if (found + "|" + settings.keyFolder != agentFor_) {
        LaunchAgent(found, settings.keyFolder);
        agentFor_ = found + "|" + settings.keyFolder;
    }
    return found;
}

GpgRequest TrayApp::request(GpgOperation operation) const {
    GpgRequest r;
    r.operation = operation;
    r.keyFolder = settings.keyFolder;
    return r;
}

GpgResult TrayApp::run(const GpgRequest& request, const std::string& input, const std::string* passphrase) {
    const std::string exe = gpg();
    if (exe.empty()) return {};
    return RunGpg(exe, request, input, passphrase);
}

// When the key folder's files last changed: a listing taken since then still holds.
std::string TrayApp::keyFolderStamp() const {
    std::string folder = settings.keyFolder;
    if (folder.empty()) {
        char appData[MAX_PATH] = {};
        GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
        folder = std::string(appData) + "\\gnupg";
    }
    std::string stamp = folder;
    for (const char* name : {"\\pubring.kbx", "\\private-keys-v1.d", "\\trustdb.gpg"}) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA((folder + name).c_str(), GetFileExInfoStandard, &data)) continue;
        stamp += "|" + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
                 std::to_string(data.ftLastWriteTime.dwLowDateTime) + ":" + std::to_string(data.nFileSizeLow);
    }
    return stamp;
}

std::vector<GpgKey> TrayApp::listKeys(bool secret) {
    const std::string exe = gpg();
    if (exe.empty()) return {};
    KeyCache& cache = secret ? secretKeys_ : publicKeys_;
    const std::string stamp = exe + "|" + keyFolderStamp();
    if (cache.stamp != stamp) {
        cache.keys = ParseKeyListing(
            RunGpg(exe, request(secret ? GpgOperation::ListSecretKeys : GpgOperation::ListPublicKeys), {}, nullptr)
                .output);
        cache.stamp = stamp;
    }
    return cache.keys;
}

bool TrayApp::runWithPassphrase(const GpgRequest& req, const std::string& input, GpgResult& result) {
    const std::string exe = gpg();
    if (exe.empty()) return false;
    // First without a pass phrase: an unprotected key, or one the agent holds, needs none.
    const std::string none;
    result = RunGpg(exe, req, input, &none);
    bool asked = false;
    while (result.started && result.exitCode != 0) {
        const GpgStatus st = ParseStatus(result.status);
        if (!st.anyPassphraseTrouble()) break;
        // A message names the keys it is for; ask for the pass phrase of ours among them, else
        // for the signing key's.
        const std::vector<GpgKey> secretKeys = listKeys(true);
        std::string keyLabel = signerLabel(secretKeys);
        for (const std::string& id : st.encryptedTo)
            if (const GpgKey* k = FindKey(secretKeys, id)) keyLabel = KeyLabel(*k);
        std::string passphrase;
        if (!AskPassphrase(keyLabel, asked, passphrase)) return false;
        asked = true;
        result = RunGpg(exe, req, input, &passphrase);
        SecureZeroMemory(passphrase.data(), passphrase.size());
    }
    return true;
}

bool TrayApp::clipboardText(std::string& text) {
    if (ReadClipboardText(text) && !text.empty()) return true;
    TrayMessage(kClipboardEmpty, MB_OK | MB_ICONWARNING);
    return false;
}

std::string TrayApp::signerLabel(const std::vector<GpgKey>& secretKeys) const {
    const GpgKey* k = settings.defaultKey.empty() ? nullptr : FindKey(secretKeys, settings.defaultKey);
    if (!k) {
        for (const GpgKey& key : secretKeys)
            if (key.usable() && key.canSign) return KeyLabel(key);
        return "your key";
    }
    return KeyLabel(*k);
}

void TrayApp::command(TrayCommand c) {
    if (busy_) return;  // one operation at a time; a request meanwhile is refused
    busy_ = true;
    // A decryption's result comes before anything the next command shows. The import of a key
    // that came inside the decrypted message (the sender's next request) is added below it, so
    // that who signed that message stays in view beside what its key did.
    finishCommand();
    appendResult_ = c == TrayCommand::ImportKeys && decryptionInView_ && result_ && !result_->closed();
    decryptionInView_ = false;
    // The preferences may have been changed meanwhile by PGPTools.Exe or PGPKeys.Exe.
    settings = LoadSettings();
    try {
        switch (c) {
            case TrayCommand::Encrypt: encrypt(false); break;
            case TrayCommand::EncryptSign: encrypt(true); break;
            case TrayCommand::Sign: sign(); break;
            case TrayCommand::DecryptVerify: decryptVerify(); break;
            case TrayCommand::ImportKeys: importKeys(); break;
            case TrayCommand::Preferences: showPreferences(); break;
            case TrayCommand::Tools: showTools(); break;
            case TrayCommand::Nothing: break;
        }
    } catch (const std::exception& e) {
        TrayMessage(std::string("The operation failed: ") + e.what() + "\r\nThe clipboard was left as it was.",
                    MB_OK | MB_ICONERROR);
    }
    appendResult_ = false;
    busy_ = false;
}

void TrayApp::encrypt(bool withSignature) {
    std::string text;
    if (!clipboardText(text) || gpg().empty()) return;
    std::vector<std::string> recipients = presetRecipients;
    bool toSelf = settings.encryptToSelf;
    if (recipients.empty()) {
        const std::vector<GpgKey> secretKeys = listKeys(true);
        if (!ChooseRecipients(listKeys(false), toSelf, recipients)) return;
        if (toSelf != settings.encryptToSelf) {
            settings.encryptToSelf = toSelf;
            SaveSettings(settings);
        }
        if (toSelf) {
            const GpgKey* self = settings.defaultKey.empty() ? nullptr : FindKey(secretKeys, settings.defaultKey);
            for (const GpgKey& k : secretKeys)
                if (!self && k.usable() && k.canEncrypt) self = &k;
            if (self) recipients.push_back(self->fingerprint);
        }
    }
    if (recipients.empty()) {
        TrayMessage("No recipient was chosen. The clipboard was left as it was.", MB_OK | MB_ICONWARNING);
        return;
    }
    GpgRequest req = request(withSignature ? GpgOperation::EncryptSign : GpgOperation::Encrypt);
    req.recipients = recipients;
    req.signer = settings.defaultKey;
    GpgResult r;
    if (withSignature) {
        if (!runWithPassphrase(req, text, r)) return;
    } else {
        r = run(req, text);
    }
    if (r.exitCode == 0 && isEncryptedMessage(r.output)) {
        WriteClipboardCrLf(r.output);
        return;
    }
    TrayMessage(DescribeFailure(ParseStatus(r.status), r.messages), MB_OK | MB_ICONERROR);
}

void TrayApp::sign() {
    std::string text;
    if (!clipboardText(text) || gpg().empty()) return;
    GpgRequest req = request(GpgOperation::ClearSign);
    req.signer = settings.defaultKey;
    GpgResult r;
    if (!runWithPassphrase(req, text, r)) return;
    const GpgStatus st = ParseStatus(r.status);
    if (r.exitCode == 0 && st.signatureCreated && !r.output.empty()) {
        WriteClipboardCrLf(r.output);
        return;
    }
    TrayMessage(DescribeFailure(st, r.messages), MB_OK | MB_ICONERROR);
}

void TrayApp::decryptVerify() {
    std::string text;
    if (!clipboardText(text) || gpg().empty()) return;
    GpgResult r;
    if (!runWithPassphrase(request(GpgOperation::DecryptVerify), text, r)) return;
    const GpgStatus st = ParseStatus(r.status);
    const bool gotText = !r.output.empty() && (st.decryptionOkay || !st.signatures.empty());
    if (!gotText) {
        TrayMessage(DescribeFailure(st, r.messages), MB_OK | MB_ICONERROR);
        return;
    }
    WriteClipboardCrLf(r.output);
    // The result window needs the key listings; the caller gets its clipboard first.
    pendingDecryption_ = st;
}

void TrayApp::finishCommand() {
    if (!pendingDecryption_) return;
    const GpgStatus st = *pendingDecryption_;
    pendingDecryption_.reset();
    showResult(DescribeDecryption(st, listKeys(true), listKeys(false)));
    decryptionInView_ = true;
}

void TrayApp::importKeys() {
    std::string text;
    if (!clipboardText(text)) return;
    const GpgResult r = run(request(GpgOperation::Import), text);
    if (!r.started) return;
    showResult(DescribeImport(ParseStatus(r.status)));
}

void TrayApp::showResult(const std::string& text) {
    if (appendResult_ && result_ && !result_->closed()) {
        appendResult_ = false;
        result_->setText(kResultText, result_->text(kResultText) + "\r\n" + text);
        SetForegroundWindow(result_->hwnd());
        return;
    }
    result_ = std::make_unique<Form>(std::string(kProgramTitle) + " - Result", 420, 200);
    Form& f = *result_;
    f.add("EDIT", text, ES_MULTILINE | ES_READONLY | WS_VSCROLL, 10, 10, 400, 140, kResultText, WS_EX_CLIENTEDGE);
    f.button("OK", 170, 162, 80, 26, IDOK, true);
    f.showModeless();
}

}  // namespace pgptray
