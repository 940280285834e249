#include "placement/RegistryIniStorage.h"

#include "base/Errors.h"

#include <algorithm>
#include <vector>

namespace nv {

namespace {
constexpr char kWriteError[] = "Failed to set data for '%s'";
} // namespace

TRegistryIniStorage::TRegistryIniStorage(HKEY root, std::string path) : root_(root), path_(std::move(path)) {}

std::string TRegistryIniStorage::KeyPath(const std::string& section) const {
    if (section.empty()) return path_;
    if (path_.empty()) return section;
    return path_ + "\\" + section;
}

HKEY TRegistryIniStorage::OpenSection(const std::string& section, bool forWriting) {
    if (key_ && keySection_ == section && (keyWritable_ || !forWriting)) return key_.get();
    key_.reset();
    HKEY key = nullptr;
    const std::string path = KeyPath(section);
    LONG result = forWriting ? ::RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                 KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                             : ::RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, &key);
    if (result != ERROR_SUCCESS) return nullptr;
    key_.reset(key);
    keySection_ = section;
    keyWritable_ = forWriting;
    return key;
}

bool TRegistryIniStorage::ReadValue(const std::string& section, const std::string& name, std::string& value) {
    HKEY key = OpenSection(section, false);
    if (!key) return false;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    // Another type under a known name is not ours to interpret: it counts as absent.
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::vector<char> data(size + 1, '\0');
    DWORD got = size;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) !=
        ERROR_SUCCESS) {
        return false;
    }
    data[std::min<size_t>(got, size)] = '\0';
    value.assign(data.data()); // stops at the terminator, whether the value was stored with one or not
    return true;
}

void TRegistryIniStorage::WriteString(const std::string& section, const std::string& name,
                                      const std::string& value) {
    HKEY key = OpenSection(section, true);
    if (!key || ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS) {
        throw EError(Format(kWriteError, name));
    }
}

void TRegistryIniStorage::EraseSection(const std::string& section) {
    if (keySection_ == section) key_.reset();
    ::RegDeleteTreeA(root_, KeyPath(section).c_str());
}

void TRegistryIniStorage::DeleteValue(const std::string& section, const std::string& name) {
    if (HKEY key = OpenSection(section, true)) ::RegDeleteValueA(key, name.c_str());
}

} // namespace nv
