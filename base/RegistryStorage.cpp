#include "base/RegistryStorage.h"

#include <algorithm>
#include <vector>

namespace nv {

namespace {

class RegistryKey : public StorageKey {
public:
    explicit RegistryKey(RegKey key) : key_(std::move(key)) {}

    bool ValueExists(const std::string& name) const override {
        return ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }

    std::optional<std::uint32_t> ReadInteger(const std::string& name) const override {
        DWORD type = 0, value = 0, size = sizeof value;
        if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof value) {
            return std::nullopt;
        }
        return value;
    }

    std::optional<std::string> ReadString(const std::string& name) const override {
        // The value may grow between asking its size and reading it; ask again then.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0, size = 0;
            if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
                    ERROR_SUCCESS ||
                (type != REG_SZ && type != REG_EXPAND_SZ)) {
                return std::nullopt;
            }
            std::string text(size, '\0');
            const LONG result = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type,
                                                   reinterpret_cast<BYTE*>(text.data()), &size);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
            text.resize(std::min<size_t>(size, text.size()));
            // Stored strings end in a zero byte, or do not when another program wrote them carelessly.
            const size_t end = text.find('\0');
            if (end != std::string::npos) text.resize(end);
            return text;
        }
        return std::nullopt;
    }

    bool DeleteValue(const std::string& name) override {
        return ::RegDeleteValueA(key_.get(), name.c_str()) == ERROR_SUCCESS;
    }

    std::vector<std::string> ValueNames() const override { return Enumerate(false); }
    std::vector<std::string> SubkeyNames() const override { return Enumerate(true); }

protected:
    bool PutInteger(const std::string& name, std::uint32_t value) override {
        const DWORD data = value;
        return ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                sizeof data) == ERROR_SUCCESS;
    }

    bool PutString(const std::string& name, const std::string& value) override {
        if (value.size() >= MAXDWORD) return false;
        return ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }

private:
    std::vector<std::string> Enumerate(bool subkeys) const {
        DWORD longestKey = 0, longestValue = 0;
        std::vector<std::string> names;
        if (::RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, nullptr, &longestKey, nullptr, nullptr,
                               &longestValue, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return names;
        }
        std::vector<char> buffer((subkeys ? longestKey : longestValue) + 2);
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(buffer.size());
            const LONG result = subkeys ? ::RegEnumKeyExA(key_.get(), index, buffer.data(), &length, nullptr,
                                                          nullptr, nullptr, nullptr)
                                        : ::RegEnumValueA(key_.get(), index, buffer.data(), &length, nullptr,
                                                          nullptr, nullptr, nullptr);
            if (result != ERROR_SUCCESS) break;
            names.emplace_back(buffer.data(), length);
        }
        return names;
    }

    RegKey key_;
};

} // namespace

std::unique_ptr<StorageKey> RegistryStorage::OpenKey(const std::string& path, bool create) {
    const std::string relative = RelativeKeyPath(path);
    HKEY raw = nullptr;
    LONG result = create ? ::RegCreateKeyExA(root_, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_READ | KEY_WRITE, nullptr, &raw, nullptr)
                         : ::RegOpenKeyExA(root_, relative.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
    // Values the user may read but not change (a locked-down key, another root) are still read.
    if (!create && result == ERROR_ACCESS_DENIED) {
        result = ::RegOpenKeyExA(root_, relative.c_str(), 0, KEY_READ, &raw);
    }
    RegKey key(result == ERROR_SUCCESS ? raw : nullptr);
    if (!key) return nullptr;
    return std::make_unique<RegistryKey>(std::move(key));
}

bool RegistryStorage::DeleteKey(const std::string& path) {
    const std::string relative = RelativeKeyPath(path);
    if (relative.empty()) return false; // never the whole root
    return ::RegDeleteTreeA(root_, relative.c_str()) == ERROR_SUCCESS;
}

} // namespace nv
