#include "base/RegistryStorage.h"

#include "base/Unicode.h"

#include <algorithm>
#include <vector>

namespace nv {

namespace {

class RegistryKey : public StorageKey {
public:
    explicit RegistryKey(RegKey key) : key_(std::move(key)) {}

    bool ValueExists(const std::string& name) const override {
        return ::RegQueryValueExW(key_.get(), Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }

    std::optional<std::uint32_t> ReadInteger(const std::string& name) const override {
        DWORD type = 0, value = 0, size = sizeof value;
        if (::RegQueryValueExW(key_.get(), Wide(name).c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof value) {
            return std::nullopt;
        }
        return value;
    }

    std::optional<std::string> ReadString(const std::string& name) const override {
        const std::wstring wideName = Wide(name);
        // The value may grow between asking its size and reading it; ask again then.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0, size = 0;
            if (::RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
                    ERROR_SUCCESS ||
                (type != REG_SZ && type != REG_EXPAND_SZ)) {
                return std::nullopt;
            }
            std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
            DWORD room = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            const LONG result = ::RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type,
                                                   reinterpret_cast<BYTE*>(text.data()), &room);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
            text.resize(std::min<size_t>(room / sizeof(wchar_t), text.size()));
            // Stored strings end in a zero, or do not when another program wrote them carelessly.
            const size_t end = text.find(L'\0');
            if (end != std::wstring::npos) text.resize(end);
            return Utf8(text);
        }
        return std::nullopt;
    }

    bool DeleteValue(const std::string& name) override {
        return ::RegDeleteValueW(key_.get(), Wide(name).c_str()) == ERROR_SUCCESS;
    }

    std::vector<std::string> ValueNames() const override { return Enumerate(false); }
    std::vector<std::string> SubkeyNames() const override { return Enumerate(true); }

protected:
    bool PutInteger(const std::string& name, std::uint32_t value) override {
        const DWORD data = value;
        return ::RegSetValueExW(key_.get(), Wide(name).c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
    }

    // Wide, so a name outside the code page is stored whole; a program reading it through the
    // single-byte functions still gets every name the code page can hold.
    bool PutString(const std::string& name, const std::string& value) override {
        const std::wstring text = Wide(value);
        if (text.size() >= MAXDWORD / sizeof(wchar_t) - 1) return false;
        return ::RegSetValueExW(key_.get(), Wide(name).c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

private:
    std::vector<std::string> Enumerate(bool subkeys) const {
        DWORD longestKey = 0, longestValue = 0;
        std::vector<std::string> names;
        if (::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, &longestKey, nullptr, nullptr,
                               &longestValue, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return names;
        }
        std::vector<wchar_t> buffer((subkeys ? longestKey : longestValue) + 2);
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(buffer.size());
            const LONG result = subkeys ? ::RegEnumKeyExW(key_.get(), index, buffer.data(), &length, nullptr,
                                                          nullptr, nullptr, nullptr)
                                        : ::RegEnumValueW(key_.get(), index, buffer.data(), &length, nullptr,
                                                          nullptr, nullptr, nullptr);
            if (result != ERROR_SUCCESS) break;
            names.push_back(Utf8(buffer.data(), length));
        }
        return names;
    }

    RegKey key_;
};

} // namespace

std::unique_ptr<StorageKey> RegistryStorage::OpenKey(const std::string& path, bool create) {
    const std::wstring relative = Wide(RelativeKeyPath(path));
    HKEY raw = nullptr;
    LONG result = create ? ::RegCreateKeyExW(root_, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_READ | KEY_WRITE, nullptr, &raw, nullptr)
                         : ::RegOpenKeyExW(root_, relative.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
    // Values the user may read but not change (a locked-down key, another root) are still read.
    if (!create && result == ERROR_ACCESS_DENIED) {
        result = ::RegOpenKeyExW(root_, relative.c_str(), 0, KEY_READ, &raw);
    }
    RegKey key(result == ERROR_SUCCESS ? raw : nullptr);
    if (!key) return nullptr;
    return std::make_unique<RegistryKey>(std::move(key));
}

bool RegistryStorage::DeleteKey(const std::string& path) {
    const std::string relative = RelativeKeyPath(path);
    if (relative.empty()) return false; // never the whole root
    return ::RegDeleteTreeW(root_, Wide(relative).c_str()) == ERROR_SUCCESS;
}

} // namespace nv
