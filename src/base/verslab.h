#pragma once
// TVersionLabel: a label showing one value of a file's version resource, and the text naming
// the version of Windows.
#include <cstdint>
#include <string>

namespace v5 {

// One lookup in a file's version resource.
struct VersionLookup {
    enum Status { NoResource, NoValue, Found } status = NoResource;
    std::string value;  // without its terminating zero
};

// The platform's version resources.
class VersionResources {
public:
    virtual ~VersionResources() = default;
    // The full path of the running program.
    virtual std::string ownFileName() = 0;
    // subBlock is "\StringFileInfo\<language and code page>\<key>".
    virtual VersionLookup query(const std::string& fileName, const std::string& subBlock) = 0;
};

// The nine standard string keys of a version resource.
enum TVersionResource {
    vrCompanyName,
    vrFileDescription,
    vrFileVersion,
    vrInternalName,
    vrLegalCopyright,
    vrLegalTrademarks,
    vrOriginalFilename,
    vrProductName,
    vrProductVersion,
};

inline constexpr const char* kNoVersionData = "< No Data Available >";
inline constexpr const char* kVersionRetrieveError = "Error retrieving version info";
inline constexpr const char* kNoVersionInfo = "No Version Info";
inline constexpr const char* kDefaultLangCharset = "080904E4";

// The key's name ("FileVersion") and its words spelled apart with a colon ("File Version:").
std::string VersionResourceKeyName(TVersionResource resource);
std::string VersionResourcePrefix(TVersionResource resource);

class TVersionLabel {
public:
    explicit TVersionLabel(VersionResources& resources);

    TVersionResource VersionResource() const { return resource_; }
    // Sets the key to the resource's name and the prefix to its spelled-apart words.
    void SetVersionResource(TVersionResource resource);
    const std::string& VersionResourceKey() const { return key_; }
    // The key also becomes the prefix.
    void SetVersionResourceKey(const std::string& key);
    const std::string& LangCharset() const { return langCharset_; }
    void SetLangCharset(const std::string& langCharset);
    const std::string& InfoPrefix() const { return prefix_; }
    void SetInfoPrefix(const std::string& prefix);
    bool ShowInfoPrefix() const { return showPrefix_; }
    void SetShowInfoPrefix(bool show);

    // The value from the running program's own file.
    std::string GetInfo();
    // The value of the key from the given file, language and code page.
    std::string GetInfoGeneral(const std::string& fileName, const std::string& langCharset);

    // What the label shows; refreshed whenever a property changes.
    const std::string& Caption() const { return caption_; }

private:
    void Refresh();

    VersionResources& resources_;
    TVersionResource resource_ = vrFileVersion;
    std::string key_;
    std::string langCharset_ = kDefaultLangCharset;
    std::string prefix_;
    bool showPrefix_ = true;
    std::string caption_;
};

// What the platform tells about the running Windows.
struct OsVersionInfo {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;
    std::string servicePack;
};

class OsVersion {
public:
    virtual ~OsVersion() = default;
    virtual OsVersionInfo get() = 0;
};

// "6.1.7601 WinNTService Pack 1": version, build, platform name and service pack, nothing between
// the last two.
std::string WindowsVersionText(const OsVersionInfo& info);

}  // namespace v5
