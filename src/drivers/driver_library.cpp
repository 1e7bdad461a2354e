#include "drivers/driver_library.h"

#include <algorithm>
#include <cctype>

#include "base/list_files.h"
#include "base/shell_state.h"
#include "base/strings.h"
#include "drivers/driver_entry.h"

namespace v5 {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

std::string Lowered(std::string text) {
    for (char& c : text) c = Lower(c);
    return text;
}

bool Has(std::string_view flags, char flag) { return flags.find(flag) != std::string_view::npos; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string CatalogueField(std::string_view line, int n) {
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        const std::size_t bang = line.find('!', start);
        if (bang == std::string_view::npos) return {};
        start = bang + 1;
    }
    const std::size_t end = line.find('!', start);
    return std::string(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

int AddSorted(std::vector<std::string>& list, const std::string& entry) {
    const auto at = list.insert(std::upper_bound(list.begin(), list.end(), entry, LessIgnoringCase), entry);
    return static_cast<int>(at - list.begin());
}

void LoadDriverCatalogue(std::string_view catalogueText, const std::string& driverDir,
                         const std::vector<std::string>& activeMailersLines,
                         const std::function<bool(const std::string&)>& fileExists, DriverLists lists,
                         std::vector<std::string>& exclusiveDrivers) {
    for (const std::string& line : SplitLines(catalogueText)) {
        const std::string file = CatalogueField(line, 3);
        const std::string flags = CatalogueField(line, 2);
        if (Has(flags, kFlagExclusive)) exclusiveDrivers.push_back(file);
        // A line without a file name names the driver directory itself, which is no driver.
        if (file.empty() || !fileExists(driverDir + "\\" + file) || Has(flags, kFlagHidden) ||
            Has(flags, kFlagHiddenToo))
            continue;
        const std::string entry = MakeDriverEntry(CatalogueField(line, 1), file);
        const bool active = std::any_of(activeMailersLines.begin(), activeMailersLines.end(),
                                        [&](const std::string& l) { return SameTextIgnoringCase(l, entry); });
        AddSorted(active ? lists.active : lists.library, entry);
    }
}

bool IsExclusiveDriver(const std::vector<std::string>& exclusiveDrivers, std::string_view file) {
    return std::any_of(exclusiveDrivers.begin(), exclusiveDrivers.end(),
                       [&](const std::string& e) { return SameTextIgnoringCase(e, file); });
}

std::string AloneQuestion(const std::string& chosenName, const std::string& firstActiveName) {
    return "\"" + chosenName + "\" cannot exist in the Active list with \"" + firstActiveName + "\"\r\n\nTo remove " +
           firstActiveName + " press Yes. To abandon this operation, press No";
}

std::string RemoveOthersQuestion(const std::string& chosenName) {
    return "To use \"" + chosenName + "\" all other mailers will be removed from the Active list. Proceed?";
}

bool MakeActive(DriverLists lists, const std::vector<std::string>& exclusiveDrivers,
                const std::function<bool(const std::string&)>& askYesNo) {
    const int selected = lists.libraryIndex;
    if (selected < 0 || selected >= static_cast<int>(lists.library.size())) return false;
    const std::string chosen = lists.library[selected];
    const std::string file = DriverFileOf(chosen);

    if (!lists.active.empty() && IsExclusiveDriver(exclusiveDrivers, DriverFileOf(lists.active.front()))) {
        if (!askYesNo(AloneQuestion(MailerNameOf(chosen), MailerNameOf(lists.active.front())))) return false;
        ReturnAllToLibrary(lists);
    }
    if (IsExclusiveDriver(exclusiveDrivers, file) && !lists.active.empty()) {
        if (!askYesNo(RemoveOthersQuestion(MailerNameOf(chosen)))) return false;
        ReturnAllToLibrary(lists);
    }
    for (int i = static_cast<int>(lists.library.size()) - 1; i >= 0; --i) {
        if (DriverFileOf(lists.library[i]) != file) continue;
        const std::string entry = lists.library[i];
        lists.library.erase(lists.library.begin() + i);
        if (lists.libraryIndex > i) --lists.libraryIndex;
        else if (lists.libraryIndex == i) lists.libraryIndex = -1;
        lists.activeIndex = AddSorted(lists.active, entry);
    }
    return true;
}

void ReturnToLibrary(DriverLists lists) {
    const int selected = lists.activeIndex;
    if (selected < 0 || selected >= static_cast<int>(lists.active.size())) return;
    const std::string file = DriverFileOf(lists.active[selected]);
    for (int i = static_cast<int>(lists.active.size()) - 1; i >= 0; --i) {
        if (DriverFileOf(lists.active[i]) != file) continue;
        std::string entry = lists.active[i];
        if (!entry.empty() && entry.front() == kConflictMark) entry.erase(entry.begin());
        lists.active.erase(lists.active.begin() + i);
        if (lists.activeIndex > i) --lists.activeIndex;
        else if (lists.activeIndex == i) lists.activeIndex = -1;
        lists.libraryIndex = AddSorted(lists.library, entry);
    }
}

void ReturnAllToLibrary(DriverLists lists) {
    const int selected = lists.libraryIndex;
    const std::string remembered =
        selected >= 0 && selected < static_cast<int>(lists.library.size()) ? lists.library[selected] : std::string();
    while (!lists.active.empty()) {
        lists.activeIndex = 0;
        ReturnToLibrary(lists);
    }
    lists.libraryIndex = -1;
    for (int i = 0; i < static_cast<int>(lists.library.size()); ++i)
        if (SameTextIgnoringCase(lists.library[i], remembered)) {
            lists.libraryIndex = i;
            break;
        }
}

TfrmShowScriptInfo MakeScriptInfo(Profile& profile, const std::string& driverDir, const std::string& file) {
    TfrmShowScriptInfo form;
    const std::string path = driverDir + "\\" + file;
    form.Caption = kScriptInfoCaptionPrefix + path;
    for (int k = 1; k <= kScriptInfoLines; ++k)
        form.Text1 += profile.readString(path, kScriptInfoSection, std::to_string(k), "") + "\r\n";
    return form;
}

std::string QuotedProgramPath(const std::string& path) {
    return path.find(' ') == std::string::npos ? path : Quoted(path);
}

DriverInvocation PlanDriverRun(const ShellState& state, Profile& profile, const std::string& currentDriver,
                               const std::string& commandText) {
    DriverInvocation plan;
    if (Lowered(currentDriver).find(".mfs") != std::string::npos) {
        const std::string type =
            profile.readString(state.DriverDir + "\\" + currentDriver, kScriptTypeSection, kScriptTypeKey, "");
        if (type == kInternalScriptType && !commandText.empty()) {
            plan.builtIn = true;
            plan.commandLine = commandText;
            return plan;
        }
        plan.commandLine =
            QuotedProgramPath(state.InstallDir + kScriptEngineName) + " " + currentDriver + " " + commandText;
        return plan;
    }
    plan.commandLine = QuotedProgramPath(state.DriverDir + "\\" + currentDriver) + " " + commandText;
    return plan;
}

}  // namespace v5
