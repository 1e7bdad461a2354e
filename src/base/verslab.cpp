#include "base/verslab.h"

#include <cctype>

namespace v5 {
namespace {

constexpr const char* kKeyNames[] = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion",
};

}  // namespace

std::string VersionResourceKeyName(TVersionResource resource) { return kKeyNames[resource]; }

std::string VersionResourcePrefix(TVersionResource resource) {
    std::string words;
    for (char c : std::string(kKeyNames[resource])) {
        if (std::isupper(static_cast<unsigned char>(c)) && !words.empty()) words += ' ';
        words += c;
    }
    return words + ":";
}

TVersionLabel::TVersionLabel(VersionResources& resources) : resources_(resources) {
    SetVersionResource(vrFileVersion);
}

void TVersionLabel::SetVersionResource(TVersionResource resource) {
    resource_ = resource;
    key_ = VersionResourceKeyName(resource);
    prefix_ = VersionResourcePrefix(resource);
    Refresh();
}

void TVersionLabel::SetVersionResourceKey(const std::string& key) {
    key_ = key;
    prefix_ = key;
    Refresh();
}

void TVersionLabel::SetLangCharset(const std::string& langCharset) {
    langCharset_ = langCharset;
    Refresh();
}

void TVersionLabel::SetInfoPrefix(const std::string& prefix) {
    prefix_ = prefix;
    Refresh();
}

void TVersionLabel::SetShowInfoPrefix(bool show) {
    showPrefix_ = show;
    Refresh();
}

std::string TVersionLabel::GetInfo() { return GetInfoGeneral(resources_.ownFileName(), langCharset_); }

std::string TVersionLabel::GetInfoGeneral(const std::string& fileName, const std::string& langCharset) {
    const VersionLookup found = resources_.query(fileName, "\\StringFileInfo\\" + langCharset + "\\" + key_);
    std::string value;
    switch (found.status) {
        case VersionLookup::NoResource: value = kNoVersionData; break;
        case VersionLookup::NoValue: value = kVersionRetrieveError; break;
        case VersionLookup::Found: value = found.value.size() < 2 ? kNoVersionInfo : found.value; break;
    }
    return showPrefix_ ? prefix_ + " " + value : value;
}

void TVersionLabel::Refresh() { caption_ = GetInfo(); }

std::string WindowsVersionText(const OsVersionInfo& info) {
    std::string platform;
    switch (info.platformId) {
        case 0: platform = "Win32s"; break;
        case 1: platform = "Win95/98"; break;
        case 2: platform = "WinNT"; break;
        default: platform = "Unkown Platform #" + std::to_string(info.platformId); break;
    }
    return std::to_string(info.major) + "." + std::to_string(info.minor) + "." +
           std::to_string(info.build & 0xFFFFu) + " " + platform + info.servicePack;
}

}  // namespace v5
