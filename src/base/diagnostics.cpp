#include "base/diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/file_routines.h"
#include "platform/errors.h"

namespace v5 {

unsigned IconFlagOf(TAppMessageKind kind) {
    switch (kind) {
        case amWarning: return kMbIconExclamation;
        case amError: return kMbIconHand;
        case amInformation: return kMbIconAsterisk;
        case amQuestion: return kMbIconQuestion;
        case amPlain: return 0;
    }
    return 0;
}

Diagnostics::Diagnostics(ShellState& state, Clock& clock, MessageBoxes& boxes, Application& app)
    : state_(state), clock_(clock), boxes_(boxes), app_(app) {}

std::string Diagnostics::LogPath() const { return state_.InstallDir + kDebugLogName; }

void Diagnostics::WriteDebugLog(const std::string& message) {
    const std::string entry = clock_.shortDate() + " " + clock_.longTime() + ": " + message + "\r\n";
    const std::string path = LogPath();
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) {
        ReportLogFailure("WriteDebugLog:" + path, "Cannot open " + path + ": " + std::strerror(errno));
        return;
    }
    const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) ReportLogFailure("WriteDebugLog:" + path, "Cannot write " + path);
}

void Diagnostics::ReportLogFailure(const std::string& where, const std::string& message) {
    // Every operation logs: a report per entry would bury the user in boxes, and raising would
    // stop whatever wanted to log. The report itself cannot be logged and comes back here.
    if (logFailureReported_) return;
    logFailureReported_ = true;
    ReportError(where, message);
}

void Diagnostics::TrimDebugLog() {
    const std::string path = LogPath();
    try {
        TrimWith(path, kDebugLogLimit, WriteFileStringOrThrow);
    } catch (const std::exception& error) {
        ReportLogFailure("TrimFileToSizeCosmetic: " + path, error.what());
    }
    WriteDebugLog("Log trimmed");
}

std::string Diagnostics::FormatErrorReport(const std::string& where, const std::string& message) {
    const std::string report =
        "Error in " + where + "." + std::to_string(state_.TracePoint) + " with " + message;
    WriteDebugLog(report);
    return report;
}

void Diagnostics::Report(const std::string& where, const std::string& message, const char* caption,
                         unsigned icon) {
    std::string report;
    try {
        report = FormatErrorReport(where, message);
    } catch (const std::exception&) {
        // The log itself failed: the user still gets the report, and nothing is raised from
        // inside a report, so a broken log can never set off report after report.
        report = "Error in " + where + "." + std::to_string(state_.TracePoint) + " with " + message;
    }
    boxes_.show(report, caption, icon | kMbOk);
}

void Diagnostics::ReportError(const std::string& where, const std::string& message) {
    Report(where, message, "Warning", kMbIconExclamation);
}

void Diagnostics::ReportFatalError(const std::string& where, const std::string& message) {
    Report(where, message, "Error", kMbIconHand);
    DeleteFileIfPresent(state_.InstallDir + kRunningFlagName);
    app_.terminate();
}

int Diagnostics::AppMessageBox(const std::string& message, TAppMessageKind kind, unsigned buttons) {
    return boxes_.show(message, state_.ApplicationTitle, IconFlagOf(kind) + buttons);
}

void Diagnostics::AppException(const std::string& senderClass, const std::exception& error) noexcept {
    if (dynamic_cast<const SilentAbort*>(&error)) return;
    try {
        ReportError(senderClass, std::string("UH ") + error.what());
    } catch (...) {
        // The handler runs inside window procedures: nothing may leave it, not even a report
        // that could not be made (out of memory while composing it).
    }
}

void Diagnostics::AppExceptionInFlight(const std::string& senderClass) noexcept {
    try {
        throw;
    } catch (const std::exception& error) {
        AppException(senderClass, error);
    } catch (...) {
        try {
            ReportError(senderClass, "UH Unknown exception");
        } catch (...) {
        }
    }
}

bool Diagnostics::WriteFileString(const std::string& path, const std::string& text) {
    return WriteFilePieces(path, {std::string_view(text)});
}

bool Diagnostics::WriteFilePieces(const std::string& path, std::initializer_list<std::string_view> pieces,
                                  const PiecesWriter& write) {
    try {
        if (write)
            write(path, pieces);
        else
            WriteFilePiecesOrThrow(path, pieces);
        return true;
    } catch (const std::exception& error) {
        ReportError("WriteFileString:" + path, error.what());
        return false;
    }
}

void Diagnostics::TrimFileToSize(const std::string& path, std::size_t limit) {
    if (!FileExists(path)) return;
    const std::string content = ReadFileString(path);
    if (content.size() <= limit) return;
    // Keeps positions L - limit .. L counted from 1: the last limit + 1 characters.
    WriteFileString(path, content.substr(content.size() - limit - 1));
}

void Diagnostics::TrimFileToSizeCosmetic(const std::string& path, std::size_t limit) {
    try {
        TrimWith(path, limit, [this](const std::string& file, const std::string& text) { WriteFileString(file, text); });
    } catch (const std::exception& error) {
        ReportError("TrimFileToSizeCosmetic: " + path, error.what());
    }
}

void Diagnostics::TrimWith(const std::string& path, std::size_t limit, const FileWriter& write) {
    if (FileExists(path)) {
        const std::string content = ReadFileString(path);
        // Keeps positions L - limit .. L counted from 1: the last limit + 1 characters.
        if (content.size() > limit) write(path, content.substr(content.size() - limit - 1));
    }
    std::string content = ReadFileString(path);
    const std::size_t lineFeed = content.find('\n');
    if (lineFeed != std::string::npos && lineFeed + 1 < content.size()) content.erase(0, lineFeed + 1);
    write(path, content);
}

}  // namespace v5
