#pragma once
// What the scenarios with the real gpg.exe share: where scripts/setup left GnuPG for Windows, a
// throw-away folder on the Linux side with a shell that runs Linux gpg there (the correspondent's
// side), the key rings and tray programs of a run, and the tray program's windows read from
// another process (tray_windows.h).
#include <windows.h>

#include <string>

#include "tray_windows.h"

namespace e2e {

// "/tmp/x" as a Windows program sees it: "Z:\tmp\x".
std::string UnixToWine(const std::string& unixPath);

// gpg.exe as scripts/setup builds it: V5_GNUPG_DIR, else the newest version in its cache.
std::string GpgForWindows();

// A folder under /tmp made for one run, and Linux shell scripts run in it with GNUPGHOME set to
// its subfolder "bob" (the correspondent's keys). A Windows program cannot wait for a Linux
// process, so each script leaves its exit code in a file that is polled.
class LinuxSide {
public:
    explicit LinuxSide(const std::string& name);
    const std::string& unixDir() const { return unixDir_; }
    // The folder as the Windows side names it, with a trailing backslash.
    const std::string& dir() const { return dir_; }
    // The script's standard output, or "failed: " and its error output.
    std::string run(const std::string& script);
    // Removes the folder once the last script has ended; nothing waits for it.
    void removeLater() const;

private:
    std::string unixDir_, dir_;
    int scripts_ = 0;
};

// One run's folder: the three tray programs with their PGPTray.ini, our key folder "keys" that
// gpg.exe is given, and the correspondent's keys on the Linux side. Our keys: Anna, Paul (his
// secret key protected by "right pass"), Old (expired) and Bob's public key, which Anna has
// verified (a local signature); our agent keeps no pass phrase, so every use of Paul's key asks
// for it. The correspondent's: Bob and Carl, with our public keys.
class TrayRun {
public:
    explicit TrayRun(const std::string& name) : side(name), keys(side.dir() + "keys") {}
    LinuxSide side;
    const std::string keys;  // our key folder, as gpg.exe names it
    std::string annaFpr, paulFpr;

    const std::string& dir() const { return side.dir(); }
    // Makes the keys with Linux gpg and copies the programs in; empty, or what failed.
    std::string prepare();
    void writePreferences(const std::string& gpgPath, const std::string& defaultKey, bool withoutAsking = false) const;
    // Whether gpg.exe finds a key (a secret key) for the address in our key folder.
    bool keyRingHolds(const std::string& address, bool secret = false) const;
    // Ends the agents of both sides, then removes the folder; nothing waits for that.
    void finish();
};

// Runs a console program of GnuPG to its end with its output thrown away; its exit code, or
// STILL_ACTIVE when it overran the deadline.
DWORD RunGnuPG(const std::string& exe, const std::string& arguments, DWORD timeoutMs = 60000);

// Ends the gpg-agent.exe that serves the key folder, through gpgconf.exe beside gpg.exe.
void EndGpgAgent(const std::string& gpgExe, const std::string& keyFolder);

}  // namespace e2e
