#include "drivers/driver_entry.h"

#include "base/strings.h"

namespace v5 {
namespace {
const std::string kBlankRun(kEntryBlankRun, ' ');
}

std::string MakeDriverEntry(std::string_view mailerName, std::string_view driverFile) {
    return std::string(mailerName) + kBlankRun + std::string(driverFile);
}

std::string MailerNameOf(std::string_view entry) {
    std::size_t at = entry.find(kBlankRun);
    return at == std::string_view::npos ? std::string() : std::string(entry.substr(0, at));
}

std::string DriverFileOf(std::string_view entry) {
    std::size_t at = entry.find(kBlankRun);
    if (at == std::string_view::npos) return {};
    return std::string(TrimControlAndBlanks(entry.substr(at + kEntryBlankRun)));
}

}  // namespace v5
