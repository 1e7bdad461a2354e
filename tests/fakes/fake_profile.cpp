#include "fakes/fake_profile.h"

#include <string_view>

#include "base/strings.h"

namespace v5::fakes {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string Trimmed(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::string WithoutQuotes(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string ThroughBuffer(std::string text) {
    if (text.size() > kProfileBufferSize - 1) text.resize(kProfileBufferSize - 1);
    return text;
}

}  // namespace

std::string FakeProfile::Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return folded;
}

FakeProfile::File* FakeProfile::find(const std::string& file) {
    for (File& f : files_)
        if (SameTextIgnoringCase(f.name, file)) return &f;
    return nullptr;
}

const FakeProfile::File* FakeProfile::find(const std::string& file) const {
    return const_cast<FakeProfile*>(this)->find(file);
}

std::string FakeProfile::readString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& defaultValue) {
    calls.push_back({"read", file, section, key, {}});
    const std::string wantedSection = Trimmed(section), wantedKey = Trimmed(key);
    if (const File* f = find(file)) {
        for (std::size_t s = 1; s < f->sections.size(); ++s) {
            if (!SameTextIgnoringCase(f->sections[s].name, wantedSection)) continue;
            for (const Entry& e : f->sections[s].entries)
                if (e.value && SameTextIgnoringCase(e.key, wantedKey)) return ThroughBuffer(WithoutQuotes(*e.value));
            break;  // only the first section of that name is searched
        }
    }
    std::string fallback = defaultValue;
    while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
    return ThroughBuffer(fallback);
}

bool FakeProfile::writeString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& value) {
    calls.push_back({"write", file, section, key, value});
    if (failing_.count(Folded(file))) return false;
    File* f = find(file);
    if (!f) {
        files_.push_back({file, {Section{}}});
        f = &files_.back();
    }
    const std::string wantedSection = Trimmed(section), wantedKey = Trimmed(key);
    Section* target = nullptr;
    for (std::size_t s = 1; s < f->sections.size() && !target; ++s)
        if (SameTextIgnoringCase(f->sections[s].name, wantedSection)) target = &f->sections[s];
    if (!target) {
        f->sections.push_back({wantedSection, {}});
        target = &f->sections.back();
    }
    for (Entry& e : target->entries) {
        if (e.value && SameTextIgnoringCase(e.key, wantedKey)) {
            e.value = Trimmed(value);
            return true;
        }
    }
    target->entries.push_back({wantedKey, Trimmed(value)});
    return true;
}

void FakeProfile::setFileText(const std::string& file, const std::string& text) {
    removeFile(file);
    File parsed{file, {Section{}}};
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            const std::string name = line.substr(1, close == std::string::npos || close == 0 ? std::string::npos
                                                                                           : close - 1);
            parsed.sections.push_back({Trimmed(name), {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            parsed.sections.back().entries.push_back({line, std::nullopt});
        else
            parsed.sections.back().entries.push_back(
                {Trimmed(std::string_view(line).substr(0, equals)), Trimmed(std::string_view(line).substr(equals + 1))});
    }
    files_.push_back(std::move(parsed));
}

std::optional<std::string> FakeProfile::fileText(const std::string& file) const {
    const File* f = find(file);
    if (!f) return std::nullopt;
    std::string text;
    for (std::size_t s = 0; s < f->sections.size(); ++s) {
        if (s > 0) text += "[" + f->sections[s].name + "]\r\n";
        for (const Entry& e : f->sections[s].entries)
            text += e.value ? e.key + "=" + *e.value + "\r\n" : e.key + "\r\n";
    }
    return text;
}

void FakeProfile::removeFile(const std::string& file) {
    for (auto it = files_.begin(); it != files_.end(); ++it) {
        if (SameTextIgnoringCase(it->name, file)) {
            files_.erase(it);
            return;
        }
    }
}

}  // namespace v5::fakes
