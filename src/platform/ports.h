#pragma once
// The narrow interfaces through which the portable core reaches the platform.
// Each has a real adapter in a win32/ folder and a recording fake in tests/fakes/.
// Later subsystems add their own port headers beside this one.
#include <cstdint>
#include <string>

#include "platform/profile_values.h"

namespace v5 {

// The user's regional short-date and long-time texts for "now".
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string shortDate() = 0;
    virtual std::string longTime() = 0;
};

// A modal system message box owned by the application's hidden top-level window.
// Returns the identifier of the pressed button, as the platform gives it.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual int show(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// The application object: the message loop's owner.
class Application {
public:
    virtual ~Application() = default;
    // Ask the program to end; it does so when control returns to the message loop.
    virtual void terminate() = 0;
    virtual bool terminated() const = 0;
    // Let pending window messages be processed.
    virtual void processMessages() = 0;
    // Sleep until a window message arrives or the time is up, whichever is first, then let
    // the pending messages be processed.
    virtual void waitForMessages(unsigned /*timeoutMs*/) { processMessages(); }
};

// Private profile files ("Vostrel5.INI", "WIN.INI", "DistInfo.Dat").
// A file named without a directory lives where the platform keeps such files. Section and key
// names match without regard to letter case; a text value comes back trimmed, without one pair of
// surrounding quotes, and cut to fit a buffer of kProfileBufferSize characters.
class Profile {
public:
    virtual ~Profile() = default;
    virtual std::string readString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // The text value read as a whole number (see ProfileWholeNumber); the default when it is
    // missing or unreadable.
    virtual std::int32_t readInt(const std::string& file, const std::string& section,
                                 const std::string& key, std::int32_t defaultValue) {
        return ProfileWholeNumber(readString(file, section, key, ""), defaultValue);
    }
    // False when the platform could not write the value.
    virtual bool writeString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

}  // namespace v5
