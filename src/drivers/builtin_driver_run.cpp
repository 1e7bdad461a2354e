// The built-in driver's answer to the three driver commands, apart from the pick so that the
// pick can be used without the mail form data file.
#include "drivers/builtin_driver.h"
#include "drivers/mfd.h"
#include "pgp/armour.h"

namespace v5 {
namespace {

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

void BuiltInDriver::RunBuiltInDriver(const std::string& commandText) {
    static constexpr std::string_view kFileKey = "file=";
    const std::string lower = AsciiLower(commandText);
    const std::size_t blank = lower.find(' ');
    const std::string verb = blank == std::string::npos ? std::string() : lower.substr(0, blank);
    // The path keeps the letter case it was given in: folding it would name another file
    // wherever the file system tells letter case apart.
    std::string path;
    const std::size_t key = lower.find(kFileKey);
    if (key != std::string::npos) path = commandText.substr(key + kFileKey.size());

    TMFDData record;
    ClearMFDData(record);
    record.Short = kNoWindowShort;

    if (verb == "data") {
        WriteMFDFile(record, path, ports_.diagnostics);
    } else if (verb == "read") {
        const std::string text = ReadTargetText();
        record.Wtype = ClassifyPGPText(text).AnyBlock ? wtInward : wtOutward;
        record.Body = text;
        record.HasBody = !text.empty();
        if (text.empty()) record.Wtype = 0;
        WriteMFDFile(record, path, ports_.diagnostics);
    } else if (verb == "write") {
        record = ReadMFDFile(path);
        if (record.HasBody) WriteTargetText(record.Body);
    }
}

}  // namespace v5
