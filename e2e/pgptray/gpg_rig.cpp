#include "gpg_rig.h"

#include <algorithm>

#include "../e2e_support.h"

namespace e2e {

std::string UnixToWine(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

std::string GpgForWindows() {
    char buf[MAX_PATH] = {};
    GetEnvironmentVariableA("V5_GNUPG_DIR", buf, MAX_PATH);
    if (buf[0]) return std::string(buf) + "\\gpg.exe";
    const std::string cache = "Z:\\var\\cache\\vostrel5-gnupg\\";
    std::string newest;
    WIN32_FIND_DATAA data;
    const v5::win32::OwnedFileSearch find(FindFirstFileA((cache + "*").c_str(), &data));
    if (find) {
        do {
            const std::string name = data.cFileName;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name[0] != '.' && name.rfind("build", 0) != 0)
                newest = std::max(newest, name);
        } while (FindNextFileA(find.get(), &data));
    }
    return cache + newest + (sizeof(void*) == 4 ? "\\i686" : "\\x86_64") + "\\gpg.exe";
}

namespace {
bool StartLinux(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!CreateProcessA("/bin/sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    // Wine cannot wait on a Linux process: the script leaves its own trace of its end instead.
    v5::win32::OwnedProcess{pi};
    return true;
}
}  // namespace

LinuxSide::LinuxSide(const std::string& name)
    : unixDir_("/tmp/v5-" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount())),
      dir_(UnixToWine(unixDir_) + "\\") {
    CreateDirectoryA(dir_.c_str(), nullptr);
}

std::string LinuxSide::run(const std::string& script) {
    const std::string base = unixDir_ + "/step" + std::to_string(++scripts_);
    WriteFile(UnixToWine(base + ".sh"), "cd '" + unixDir_ + "'\nexport GNUPGHOME='" + unixDir_ + "/bob'\n( " + script +
                                            " ) > " + base + ".out 2>" + base + ".err\necho $? > " + base + ".rc\n");
    if (!StartLinux("/bin/sh " + base + ".sh")) return "failed: /bin/sh did not start";
    const std::string rc = UnixToWine(base + ".rc");
    if (!WaitFor([&] { return !ReadFile(rc).empty(); }, 120000)) return "failed: timed out";
    const std::string code = ReadFile(rc);
    return code.substr(0, code.find('\n')) == "0" ? ReadFile(UnixToWine(base + ".out"))
                                                   : "failed: " + ReadFile(UnixToWine(base + ".err"));
}

void LinuxSide::removeLater() const { StartLinux("/bin/sh -c \"sleep 1; rm -rf '" + unixDir_ + "'\""); }

DWORD RunGnuPG(const std::string& exe, const std::string& arguments, DWORD timeoutMs) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const v5::win32::OwnedHandle nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                                                 nullptr));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul.get();
    PROCESS_INFORMATION pi{};
    std::string commandLine = "\"" + exe + "\" " + arguments;
    DWORD code = STILL_ACTIVE;
    if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &si, &pi)) {
        const v5::win32::OwnedProcess gpg(pi);
        if (WaitForSingleObject(gpg.process.get(), timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(gpg.process.get(), &code);
    }
    return code;
}

void EndGpgAgent(const std::string& gpgExe, const std::string& keyFolder) {
    RunGnuPG(gpgExe.substr(0, gpgExe.size() - 7) + "gpgconf.exe", "--homedir " + keyFolder + " --kill all", 30000);
}

std::string TrayRun::prepare() {
    const std::string made = side.run(
        "set -e\nmkdir -m 700 bob keys\n"
        "q() { gpg --batch --quiet --pinentry-mode loopback \"$@\"; }\n"
        "K=\"--homedir $PWD/keys\"\n"
        "q --passphrase '' --quick-gen-key 'Bob Correspondent <bob@example.invalid>' future-default default never\n"
        "q --passphrase '' --quick-gen-key 'Carl Friend <carl@example.invalid>' future-default default never\n"
        "q $K --passphrase '' --quick-gen-key 'Anna User <anna@example.invalid>' future-default default never\n"
        "q $K --passphrase 'right pass' --quick-gen-key 'Paul Protected <paul@example.invalid>' future-default default never\n"
        "q $K --passphrase '' --faked-system-time 20200101T000000 --quick-gen-key 'Old Expired <old@example.invalid>' future-default default 1d\n"
        "gpg $K --armor --export | q --import\n"
        "gpg --armor --export bob@ | q $K --import\n"
        "q $K --passphrase '' -u anna@ --quick-lsign-key \"$(gpg --with-colons -k bob@ | awk -F: '/^fpr:/ {print $10; exit}')\" >/dev/null\n"
        "printf 'default-cache-ttl 0\\nmax-cache-ttl 0\\n' > keys/gpg-agent.conf\n"
        "gpgconf $K --kill all; rm -f keys/S.*\n"
        "gpg $K --with-colons --list-keys anna@ | awk -F: '/^fpr:/ {print $10; exit}'\n"
        "gpg $K --with-colons --list-keys paul@ | awk -F: '/^fpr:/ {print $10; exit}'\n");
    if (made.size() != 82) return "the keys were not made: " + made;
    annaFpr = made.substr(0, 40);
    paulFpr = made.substr(41, 40);
    for (const char* exe : {"PGPTray.Exe", "PGPKeys.Exe", "PGPTools.Exe"})
        if (!CopyFileA((BuildDir() + "pgptray\\" + exe).c_str(), (dir() + exe).c_str(), FALSE))
            return std::string("not copied: ") + exe;
    return {};
}

void TrayRun::writePreferences(const std::string& gpgPath, const std::string& defaultKey, bool withoutAsking) const {
    WriteFile(dir() + "PGPTray.ini", "[Preferences]\r\nGpgPath=" + gpgPath + "\r\nKeyFolder=" + keys +
                                         "\r\nDefaultKey=" + defaultKey + "\r\nEncryptToSelf=1\r\nEncryptWithoutAsking=" +
                                         (withoutAsking ? "1" : "0") + "\r\n");
}

bool TrayRun::keyRingHolds(const std::string& address, bool secret) const {
    return RunGnuPG(GpgForWindows(), "--homedir " + keys + " --batch " + (secret ? "--list-secret-keys " : "--list-keys ") +
                                         address) == 0;
}

void TrayRun::finish() {
    EndGpgAgent(GpgForWindows(), keys);
    side.run("gpgconf --kill all");
    side.removeLater();
}

}  // namespace e2e
