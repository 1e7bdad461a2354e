#include "sbm/sbm_script.h"

#include <map>
#include <set>
#include <vector>

#include "base/list_files.h"
#include "base/strings.h"

namespace v5::sbm {
namespace {

std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// The keys each section may hold; "information" takes any key (the description's lines).
const std::map<std::string, std::set<std::string>> kKnownKeys = {
    {"mfs", {"type", "short", "information", "wtype", "header"}},
    {"mailer", {"titlecontains", "titleexact", "classcontains", "classexact"}},
    {"text", {"titlecontains", "titleexact", "classcontains", "classexact", "read", "write", "selectall", "copy",
              "paste"}},
    {"information", {}},
};

using Section = std::map<std::string, std::string>;

std::map<std::string, Section> ReadSections(std::string_view text) {
    std::map<std::string, Section> sections;
    Section* current = nullptr;
    std::string currentName;
    int number = 0;
    for (const std::string& raw : SplitLines(text)) {
        ++number;
        const std::string line(TrimControlAndBlanks(raw));
        const std::string where = "line " + std::to_string(number);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') throw ScriptError(where + ": a section name lacks its \"]\"");
            currentName = Folded(TrimControlAndBlanks(std::string_view(line).substr(1, line.size() - 2)));
            if (!kKnownKeys.count(currentName)) throw ScriptError(where + ": unknown section [" + currentName + "]");
            if (sections.count(currentName)) throw ScriptError(where + ": section [" + currentName + "] given twice");
            current = &sections[currentName];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) throw ScriptError(where + ": neither a section, a key nor a comment");
        if (!current) throw ScriptError(where + ": a key before any section");
        const std::string key = Folded(TrimControlAndBlanks(std::string_view(line).substr(0, equals)));
        const std::set<std::string>& known = kKnownKeys.at(currentName);
        if (key.empty() || (currentName != "information" && !known.count(key)))
            throw ScriptError(where + ": unknown key \"" + key + "\" in [" + currentName + "]");
        if (current->count(key)) throw ScriptError(where + ": key \"" + key + "\" given twice");
        (*current)[key] = std::string(TrimControlAndBlanks(std::string_view(line).substr(equals + 1)));
    }
    return sections;
}

const Section& Required(const std::map<std::string, Section>& sections, const std::string& name) {
    auto it = sections.find(name);
    if (it == sections.end()) throw ScriptError("section [" + name + "] is missing");
    return it->second;
}

std::string Value(const Section& section, const std::string& key) {
    auto it = section.find(key);
    return it == section.end() ? std::string() : it->second;
}

std::string RequiredValue(const Section& section, const std::string& sectionName, const std::string& key) {
    std::string value = Value(section, key);
    if (value.empty()) throw ScriptError("key \"" + key + "\" in [" + sectionName + "] is missing or empty");
    return value;
}

void ReadCriteria(const Section& section, const std::string& name, STRINGER& title, STRINGER& cls) {
    title.Contains = Value(section, "titlecontains");
    title.Exact = Value(section, "titleexact");
    cls.Contains = Value(section, "classcontains");
    cls.Exact = Value(section, "classexact");
    if (title.Contains.empty() && title.Exact.empty() && cls.Contains.empty() && cls.Exact.empty())
        throw ScriptError("[" + name + "] gives no title or class to find the window by");
}

TextAccess Access(const Section& text, const std::string& key) {
    const std::string value = Folded(RequiredValue(text, "Text", key));
    if (value == "windowtext") return TextAccess::WindowText;
    if (value == "menu") return TextAccess::Menu;
    throw ScriptError("key \"" + key + "\" in [Text] must be WindowText or Menu");
}

MenuPath Menu(const Section& text, const std::string& key) {
    const std::string value = RequiredValue(text, "Text", key);
    const std::size_t bar = value.find('|');
    if (bar == std::string::npos || bar == 0 || bar + 1 == value.size())
        throw ScriptError("key \"" + key + "\" in [Text] must read menu|entry");
    return {value.substr(0, bar), value.substr(bar + 1)};
}

}  // namespace

SbmScript ParseSbmScript(std::string_view text) {
    const auto sections = ReadSections(text);
    const Section& mfs = Required(sections, "mfs");
    const Section& mailer = Required(sections, "mailer");
    const Section& textSection = Required(sections, "text");

    SbmScript script;
    script.Short = RequiredValue(mfs, "MFS", "short");
    script.Information = RequiredValue(mfs, "MFS", "information");
    if (SameTextIgnoringCase(Value(mfs, "type"), "Internal"))
        throw ScriptError("a script of type Internal is carried out by the program itself");
    const std::string wtype = Value(mfs, "wtype");
    if (!wtype.empty()) {
        script.Wtype = StrToIntOrZero(wtype);
        if (script.Wtype != 1 && script.Wtype != 2 && script.Wtype != 8)
            throw ScriptError("key \"wtype\" in [MFS] must be 1, 2 or 8");
    }
    const std::string header = Folded(Value(mfs, "header"));
    if (header == "lines") script.headerLines = true;
    else if (!header.empty() && header != "none") throw ScriptError("key \"header\" in [MFS] must be Lines or None");

    ReadCriteria(mailer, "Mailer", script.mailer.TitleMatch, script.mailer.ClassMatch);
    ReadCriteria(textSection, "Text", script.textWindow.TitleMatch, script.textWindow.ClassMatch);
    script.textWindow.Parent.TitleMatch = script.mailer.TitleMatch;
    script.textWindow.Parent.ClassMatch = script.mailer.ClassMatch;
    script.read = Access(textSection, "read");
    script.write = Access(textSection, "write");
    if (script.read == TextAccess::Menu || script.write == TextAccess::Menu) script.selectAll = Menu(textSection, "selectall");
    if (script.read == TextAccess::Menu) script.copy = Menu(textSection, "copy");
    if (script.write == TextAccess::Menu) script.paste = Menu(textSection, "paste");
    return script;
}

}  // namespace v5::sbm
