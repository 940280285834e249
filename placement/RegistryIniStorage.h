// TIniStorage on the registry: sections are subkeys of one key, values are strings (REG_SZ).
#pragma once

#include "base/Handles.h"
#include "placement/IniStorage.h"

#include <windows.h>

#include <string>

namespace nv {

class TRegistryIniStorage : public TIniStorage {
public:
    // `path`: the key below `root` that holds the sections, created on the first write.
    TRegistryIniStorage(HKEY root, std::string path);

    bool ReadValue(const std::string& section, const std::string& name, std::string& value) override;
    void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
    void EraseSection(const std::string& section) override;
    void DeleteValue(const std::string& section, const std::string& name) override;

private:
    std::string KeyPath(const std::string& section) const;
    // The section's key, kept open for the next call on the same section.
    HKEY OpenSection(const std::string& section, bool forWriting);

    HKEY root_;
    std::string path_;
    RegKey key_;
    std::string keySection_;
    bool keyWritable_ = false;
};

} // namespace nv
