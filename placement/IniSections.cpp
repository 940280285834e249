#include "placement/IniSections.h"

#include "placement/PlacementRules.h"

namespace nv {

TIniSections::TIniSections(Storage& storage, std::string path) : storage_(storage), path_(std::move(path)) {}

std::string TIniSections::KeyPath(const std::string& section) const {
    if (section.empty()) return path_;
    if (path_.empty()) return section;
    return path_ + "\\" + section;
}

StorageKey* TIniSections::Open(const std::string& section, bool create) {
    if (key_ && keySection_ == section) return key_.get();
    key_ = storage_.OpenKey(KeyPath(section), create);
    keySection_ = section;
    return key_.get();
}

std::optional<std::string> TIniSections::Read(const std::string& section, const std::string& name) {
    const StorageKey* key = Open(section, false);
    return key ? key->ReadString(name) : std::nullopt;
}

std::string TIniSections::ReadString(const std::string& section, const std::string& name,
                                     const std::string& fallback) {
    return Read(section, name).value_or(fallback);
}

int TIniSections::ReadInteger(const std::string& section, const std::string& name, int fallback) {
    const std::optional<std::string> text = Read(section, name);
    int value = 0;
    return text && ParseInteger(*text, value) ? value : fallback;
}

void TIniSections::WriteString(const std::string& section, const std::string& name,
                               const std::string& value) {
    StorageKey* key = Open(section, true);
    if (!key) throw EStorageError::FailedToSetData(name);
    key->WriteString(name, value);
}

void TIniSections::WriteInteger(const std::string& section, const std::string& name, int value) {
    WriteString(section, name, std::to_string(value));
}

void TIniSections::WriteBool(const std::string& section, const std::string& name, bool value) {
    WriteInteger(section, name, value ? 1 : 0);
}

std::vector<std::string> TIniSections::ValueNames(const std::string& section) {
    const StorageKey* key = Open(section, false);
    return key ? key->ValueNames() : std::vector<std::string>();
}

void TIniSections::EraseSection(const std::string& section) {
    key_.reset(); // it may lie below the section
    storage_.DeleteKey(KeyPath(section));
}

} // namespace nv
