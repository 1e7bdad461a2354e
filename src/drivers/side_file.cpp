#include "drivers/side_file.h"

#include <charconv>

#include "base/strings.h"

namespace v5 {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

template <typename Number>
std::optional<Number> NumberOf(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append("=").append(value).append(kLineEnd);
}

void AppendMark(std::string& out, std::string_view prefix, const WindowMark& mark) {
    const std::string p(prefix);
    AppendLine(out, p + "Window", std::to_string(mark.handle));
    AppendLine(out, p + "Process", std::to_string(mark.processId));
    AppendLine(out, p + "Class", mark.className);
}

// A value is one line: a class name or a reason that held a line end would make up lines.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

bool TakeMark(std::string_view prefix, std::string_view key, std::string_view value, WindowMark& mark) {
    if (key.size() <= prefix.size() || !SameTextIgnoringCase(key.substr(0, prefix.size()), prefix)) return false;
    const std::string_view field = key.substr(prefix.size());
    if (SameTextIgnoringCase(field, "Window"))
        mark.handle = NumberOf<WindowHandle>(value).value_or(0);
    else if (SameTextIgnoringCase(field, "Process"))
        mark.processId = NumberOf<std::uint32_t>(value).value_or(0);
    else if (SameTextIgnoringCase(field, "Class"))
        mark.className = std::string(value);
    else
        return false;
    return true;
}

// "Result=<exit code>[ <reason>]".
std::optional<SideResult> ResultOf(std::string_view value) {
    const std::size_t blank = value.find(' ');
    const std::optional<int> code = NumberOf<int>(value.substr(0, blank));
    if (!code) return std::nullopt;
    SideResult result{*code, {}};
    if (blank != std::string_view::npos) result.reason = std::string(TrimControlAndBlanks(value.substr(blank)));
    return result;
}

}  // namespace

std::string SideFilePath(const std::string& dataFilePath) { return dataFilePath + kSideFileSuffix; }

std::string FormatSideFile(const SideFile& side) {
    std::string out;
    AppendMark(out, "Mailer", {side.mailer.handle, side.mailer.processId, OneLine(side.mailer.className)});
    AppendMark(out, "Text", {side.text.handle, side.text.processId, OneLine(side.text.className)});
    AppendLine(out, "TextUnicode", side.textUnicode ? "1" : "0");
    if (side.result) {
        std::string value = std::to_string(side.result->exitCode);
        if (!side.result->reason.empty()) value += " " + OneLine(side.result->reason);
        AppendLine(out, "Result", value);
    }
    return out;
}

SideFile ParseSideFile(std::string_view text) {
    SideFile side;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = TrimControlAndBlanks(line.substr(0, equals));
        const std::string_view value = TrimControlAndBlanks(line.substr(equals + 1));
        if (TakeMark("Mailer", key, value, side.mailer) || TakeMark("Text", key, value, side.text)) continue;
        if (SameTextIgnoringCase(key, "Result")) side.result = ResultOf(value);
        if (SameTextIgnoringCase(key, "TextUnicode")) side.textUnicode = value == "1";
    }
    return side;
}

bool TextGoesAsUtf8(const SideFile& side) { return side.text.handle != 0 && side.textUnicode; }

bool TextBeyondCodePage(const SideFile& side) {
    return side.result && side.result->exitCode != 0 && side.result->reason == kTextBeyondCodePage;
}

}  // namespace v5
