// The sections the window placement and the components linked to it keep their layout in: the
// subkeys of one key of a Storage, each holding string values. Numbers are stored as decimal text.
#pragma once

#include "base/Storage.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nv {

class TIniSections {
public:
    // `path`: the key that holds the sections; it and a section's key are made on the first write.
    TIniSections(Storage& storage, std::string path);

    // The fallback when the value is absent or holds something other than text.
    std::string ReadString(const std::string& section, const std::string& name, const std::string& fallback);
    // The fallback also when the text is not a whole decimal number.
    int ReadInteger(const std::string& section, const std::string& name, int fallback);
    // Throw EStorageError "Failed to set data for '<name>'" when the value cannot be written.
    void WriteString(const std::string& section, const std::string& name, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& name, int value);
    void WriteBool(const std::string& section, const std::string& name, bool value);
    // The names of the section's values; none when it is missing.
    std::vector<std::string> ValueNames(const std::string& section);
    // Removes the section with everything in it; a missing section is no error.
    void EraseSection(const std::string& section);

private:
    std::string KeyPath(const std::string& section) const;
    // The section's key, kept open for the next call on the same section; null when it is missing
    // and not to be made.
    StorageKey* Open(const std::string& section, bool create);
    std::optional<std::string> Read(const std::string& section, const std::string& name);

    Storage& storage_;
    std::string path_;
    std::unique_ptr<StorageKey> key_;
    std::string keySection_;
};

} // namespace nv
