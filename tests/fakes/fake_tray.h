#pragma once
// Recording fakes of the tray programs' ports (pgptray/tray_ports.h): the preferences' store,
// the clipboard, gpg, the machine and the dialogs. Each answers as a test scripts it.
#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pgptray/tray_ports.h"
#include "pgptray/tray_texts.h"
#include "platform/text_charset.h"

namespace pgptray::fakes {

class FakeSettingsStore : public SettingsStore {
public:
    std::map<std::string, std::string> values;  // key → value; a missing key reads as the fallback
    std::vector<std::string> written;           // "key=value", in order
    std::string read(const std::string& key, const std::string& fallback) override {
        const auto it = values.find(key);
        return it == values.end() ? fallback : it->second;
    }
    void write(const std::string& key, const std::string& value) override {
        values[key] = value;
        written.push_back(key + "=" + value);
    }
};

// The system's code page as the fake clipboard has it: cp1252 as far as the tests use it
// (Latin-1, the euro sign and the dashes); a character it cannot carry reads "?".
inline constexpr std::pair<char32_t, unsigned char> kCp1252Extra[] = {{0x20AC, 0x80}, {0x2014, 0x97}, {0x2013, 0x96}};

inline std::string Utf8FromCp1252(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        char32_t u = static_cast<unsigned char>(c);
        for (const auto& [code, byte] : kCp1252Extra)
            if (byte == u) u = code;
        if (u < 0x80) out += static_cast<char>(u);
        else if (u < 0x800) out += {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F))};
        else
            out += {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (u & 0x3F))};
    }
    return out;
}

inline std::string Cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t u = n == 1 ? b : b & (0x7F >> n);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) u = (u << 6) | (utf8[i + k] & 0x3F);
        i += n;
        char byte = u <= 0xFF && (u < 0x80 || u >= 0xA0) ? static_cast<char>(u) : '?';
        for (const auto& [code, cp] : kCp1252Extra)
            if (code == u) byte = static_cast<char>(cp);
        out += byte;
    }
    return out;
}

// Holds the clipboard's Unicode text as UTF-8; its 8-bit text is derived from it in cp1252, as
// the system does.
class FakeClipboardText : public ClipboardText {
public:
    std::optional<std::string> text;  // UTF-8; nullopt: the clipboard holds no text
    int writes = 0;
    bool read(std::string& out, TextCharset charset) override {
        if (!text) return false;
        out = charset == TextCharset::Utf8 ? *text : Cp1252FromUtf8(*text);
        return true;
    }
    bool writeCrLf(std::string_view gpgOutput, TextCharset charset) override {
        const v5::TextBytesDecision d = v5::DecideTextBytes(gpgOutput);
        const bool utf8 = charset == TextCharset::Utf8 && d.kind != v5::TextBytes::CodePage;
        text = ToCrLf(utf8 ? std::string(gpgOutput.substr(d.skip)) : Utf8FromCp1252(gpgOutput));
        ++writes;
        return true;
    }
};

class FakeGpg : public GpgRunner {
public:
    struct Run {
        std::string exe;
        GpgRequest request;
        std::string input;
        std::optional<std::string> passphrase;  // nullopt: no pass-phrase pipe offered
    };
    std::vector<Run> runs;
    std::vector<std::string> agents;  // "gpg.exe|key folder" of each agent launched
    // gpg's answer to a run; without one it starts, says nothing and ends with code 0.
    std::function<GpgResult(const Run&)> answer;

    GpgResult run(const std::string& gpgExe, const GpgRequest& request, const std::string& input,
                  const std::string* passphrase) override {
        GpgArguments(request, {7, passphrase ? 9ul : 0ul});  // refuses what the real command line would
        runs.push_back({gpgExe, request, input, passphrase ? std::optional(*passphrase) : std::nullopt});
        if (answer) return answer(runs.back());
        GpgResult r;
        r.started = true;
        return r;
    }
    void launchAgent(const std::string& gpgExe, const std::string& keyFolder) override {
        agents.push_back(gpgExe + "|" + keyFolder);
    }
    std::vector<GpgOperation> operations() const {
        std::vector<GpgOperation> out;
        for (const Run& r : runs) out.push_back(r.request.operation);
        return out;
    }
};

class FakeMachine : public Machine {
public:
    std::string installDir;
    std::map<std::string, std::string> variables;
    std::set<std::string> files;
    std::map<std::string, std::string> stamps;  // path → change stamp; missing paths have none
    std::vector<std::string> stampsAsked;
    std::string gnupgInstallDir() override { return installDir; }
    std::string environment(const std::string& name) override {
        const auto it = variables.find(name);
        return it == variables.end() ? std::string() : it->second;
    }
    bool isFile(const std::string& path) override { return files.count(path) > 0; }
    std::string changeStamp(const std::string& path) override {
        stampsAsked.push_back(path);
        const auto it = stamps.find(path);
        return it == stamps.end() ? std::string() : it->second;
    }
};

class FakeTrayDialogs : public TrayDialogs {
public:
    // What the user was shown, in order: "recipients" (": NOTICE" when it had one), "own key",
    // "passphrase LABEL" (" again" after a wrong one), "preferences", "error: TEXT",
    // "warning: TEXT", "information: TEXT", "question: TEXT", "result: TEXT", "append: TEXT",
    // "tools".
    std::vector<std::string> shown;

    // The answers. Recipients: the fingerprints clicked, nullopt for Cancel; the "Encrypt to
    // myself" box as left (nullopt: as offered). Pass phrases typed in turn; nullopt, or none
    // left, is Cancel. Preferences as left with OK; nullopt for Cancel. Questions are answered in
    // turn from `answers`, then with `answerYes`.
    std::optional<std::vector<std::string>> recipients;
    std::optional<std::string> ownKey;  // the fingerprint chosen as mine; nullopt for Cancel
    std::optional<bool> encryptToSelf;
    std::deque<std::optional<std::string>> passphrases;
    std::optional<TraySettings> preferences;
    bool answerYes = false;
    std::deque<bool> answers;
    // Called while a modal dialog is open: the hidden window still answers meanwhile.
    std::function<void()> whileOpen;

    std::vector<GpgKey> offeredKeys, offeredOwnKeys;
    std::vector<std::string> preselected;  // the keys the recipient dialog came up with
    std::vector<std::string> offeredSigningKeys;
    bool resultWindowOpen = false;
    std::string resultText;

    bool chooseRecipients(const std::vector<GpgKey>& keys, const std::string& notice, bool& toSelf,
                          std::vector<std::string>& chosen) override {
        shown.push_back(notice.empty() ? "recipients" : "recipients: " + notice);
        offeredKeys = keys;
        preselected = chosen;
        modal();
        if (!recipients) return false;
        chosen = *recipients;
        toSelf = encryptToSelf.value_or(toSelf);
        return true;
    }
    bool chooseOwnKey(const std::vector<GpgKey>& keys, std::string& fingerprint) override {
        shown.push_back("own key");
        offeredOwnKeys = keys;
        modal();
        if (!ownKey) return false;
        fingerprint = *ownKey;
        return true;
    }
    bool askPassphrase(const std::string& keyLabel, bool retry, std::string& passphrase) override {
        shown.push_back("passphrase " + keyLabel + (retry ? " again" : ""));
        modal();
        if (passphrases.empty() || !passphrases.front()) return false;
        passphrase = *passphrases.front();
        passphrases.pop_front();
        return true;
    }
    bool editPreferences(TraySettings& settings, const std::vector<std::string>& signingKeys) override {
        shown.push_back("preferences");
        offeredSigningKeys = signingKeys;
        modal();
        if (!preferences) return false;
        settings = *preferences;
        return true;
    }
    void message(const std::string& text, MessageKind kind) override {
        static const char* const kinds[] = {"error: ", "warning: ", "information: "};
        shown.push_back(kinds[static_cast<int>(kind)] + text);
        modal();
    }
    bool ask(const std::string& question) override {
        shown.push_back("question: " + question);
        modal();
        if (answers.empty()) return answerYes;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void showResult(const std::string& text) override {
        shown.push_back("result: " + text);
        resultWindowOpen = true;
        resultText = text;
    }
    void appendResult(const std::string& text) override {
        shown.push_back("append: " + text);
        resultText += text;
    }
    bool resultOpen() override { return resultWindowOpen; }
    void showTools() override { shown.push_back("tools"); }

private:
    void modal() {
        if (whileOpen) whileOpen();
    }
};

}  // namespace pgptray::fakes
