#pragma once
// The diagnostic log "DebugLog.Txt", the error reports and the application message box.
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/file_routines.h"
#include "base/shell_state.h"
#include "platform/ports.h"

namespace v5 {

enum TAppMessageKind { amWarning = 0, amError = 1, amInformation = 2, amQuestion = 3, amPlain = 4 };

// Message box style bits and answers the system relies on.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconHand = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconAsterisk = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

inline constexpr const char* kDebugLogName = "DebugLog.Txt";
inline constexpr const char* kRunningFlagName = "Running.Flg";
inline constexpr std::size_t kDebugLogLimit = 20000;

unsigned IconFlagOf(TAppMessageKind kind);

class Diagnostics {
public:
    Diagnostics(ShellState& state, Clock& clock, MessageBoxes& boxes, Application& app);

    std::string LogPath() const;

    // Appends one entry: date, blank, time, ": ", message, CR LF. A log that cannot be written
    // is reported once per run (the first failure of an entry or of a trim) and the caller goes
    // on: nothing is raised.
    void WriteDebugLog(const std::string& message);
    void TrimDebugLog();

    // "Error in " + where + "." + TracePoint + " with " + message, also written to the log.
    std::string FormatErrorReport(const std::string& where, const std::string& message);
    void ReportError(const std::string& where, const std::string& message);
    // Reports, removes "Running.Flg" and tells the application to end.
    void ReportFatalError(const std::string& where, const std::string& message);

    int AppMessageBox(const std::string& message, TAppMessageKind kind, unsigned buttons);

    // The handler for every exception that reaches the message loop or escapes a handler.
    // It never raises: it is called from inside window procedures.
    void AppException(const std::string& senderClass, const std::exception& error) noexcept;
    // Same, for whatever is in flight inside a catch (...) block.
    void AppExceptionInFlight(const std::string& senderClass) noexcept;

    // File routines that report their own errors and return normally.
    bool WriteFileString(const std::string& path, const std::string& text);
    // The same for a text made of pieces, written one after the other (by `write`, when given).
    bool WriteFilePieces(const std::string& path, std::initializer_list<std::string_view> pieces,
                         const PiecesWriter& write = {});
    void TrimFileToSize(const std::string& path, std::size_t limit);
    void TrimFileToSizeCosmetic(const std::string& path, std::size_t limit);

private:
    using FileWriter = std::function<void(const std::string& path, const std::string& text)>;
    // The two steps of the cosmetic trim, each write going through `write`.
    void TrimWith(const std::string& path, std::size_t limit, const FileWriter& write);
    void ReportLogFailure(const std::string& where, const std::string& message);
    void Report(const std::string& where, const std::string& message, const char* caption,
                unsigned icon);

    ShellState& state_;
    Clock& clock_;
    MessageBoxes& boxes_;
    Application& app_;
    bool logFailureReported_ = false;
};

}  // namespace v5
