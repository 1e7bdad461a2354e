#pragma once
// The side file beside the mail form data file ("tmpmfd.tmp.sbm"): what SBM.EXE's read learnt of
// the mailer's window and its text window, so that its write-back goes into that same window,
// and how its write-back ended. The data file cannot carry it: the write-back writes a fresh
// record, and other makers' drivers read that file. The format is described for driver writers
// in docs/driver-package.md: "Key=Value" lines ended by CR LF; keys a reader does not know are
// passed over, so later versions can add keys.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace v5 {

inline constexpr const char* kSideFileSuffix = ".sbm";
// The file name a writer gives a file before moving it into place.
inline constexpr const char* kFreshFileSuffix = ".new";

std::string SideFilePath(const std::string& dataFilePath);

// A window as a read found it. Not its title: that changes while the user edits.
struct WindowMark {
    WindowHandle handle = 0;
    std::uint32_t processId = 0;
    std::string className;

    bool operator==(const WindowMark&) const = default;
};

// SBM.EXE's reason, in its result, for a read it refused: the mailer's text holds characters that
// the data file, in the system's code page, cannot carry. Vostrel 5 tells the user so.
inline constexpr const char* kTextBeyondCodePage = "the text holds characters the system's code page cannot carry";

// How SBM.EXE's read or write-back ended: its exit code, and on failure why.
struct SideResult {
    int exitCode = 0;
    std::string reason;

    bool operator==(const SideResult&) const = default;
};

struct SideFile {
    WindowMark mailer;
    WindowMark text;
    // Present once a write-back has ended, or a read failed; only SBM.EXE writes it.
    std::optional<SideResult> result;
    // The text window keeps Unicode text (IsWindowUnicode): its mailer sends the message as UTF-8.
    bool textUnicode = false;

    bool operator==(const SideFile&) const = default;
};

std::string FormatSideFile(const SideFile& side);
// The text read from SBM.EXE's text window goes to PGP as UTF-8: the side file is SBM.EXE's, so
// the active driver is one of its scripts, and the window keeps Unicode text.
bool TextGoesAsUtf8(const SideFile& side);
// SBM.EXE refused the read because the text holds characters the code page cannot carry.
bool TextBeyondCodePage(const SideFile& side);
// Lines that are not "Key=Value", and numbers that are not numbers, count as missing.
SideFile ParseSideFile(std::string_view text);

}  // namespace v5
