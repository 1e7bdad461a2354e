#pragma once
// Version resources and the Windows version, as the platform reports them.
#include "base/verslab.h"

namespace v5::win32 {

class Win32VersionResources : public VersionResources {
public:
    std::string ownFileName() override;
    VersionLookup query(const std::string& fileName, const std::string& subBlock) override;
};

class Win32OsVersion : public OsVersion {
public:
    OsVersionInfo get() override;
};

}  // namespace v5::win32
