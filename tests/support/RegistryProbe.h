// Reads what the program wrote to the registry, with the value's type.
#pragma once

#include "base/Unicode.h"

#include <windows.h>

#include <string>

namespace nv::test {

constexpr char kProgramKey[] = "Software\\Korvel\\Notova";

struct RegistryValue {
    bool Exists = false;
    DWORD Type = REG_NONE;
    std::string Text; // REG_SZ content without its terminator, in UTF-8; other types' bytes as they are
};

// A value below HKEY_CURRENT_USER\Software\Korvel\Notova\<subkey>.
inline RegistryValue ReadProgramValue(const std::string& subkey, const std::string& name) {
    RegistryValue result;
    HKEY key = nullptr;
    const std::string path =
        subkey.empty() ? std::string(kProgramKey) : std::string(kProgramKey) + "\\" + subkey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return result;
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof data[0];
    if (::RegQueryValueExW(key, Wide(name).c_str(), nullptr, &result.Type, reinterpret_cast<BYTE*>(data),
                           &size) == ERROR_SUCCESS) {
        result.Exists = true;
        result.Text = result.Type == REG_SZ ? Utf8(std::wstring(data))
                                            : std::string(reinterpret_cast<const char*>(data), size);
    }
    ::RegCloseKey(key);
    return result;
}

inline bool ProgramKeyExists(const std::string& subkey) {
    HKEY key = nullptr;
    const std::string path = std::string(kProgramKey) + "\\" + subkey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

inline void WriteProgramString(const std::string& subkey, const std::string& name, const std::string& value) {
    HKEY key = nullptr;
    const std::string path = std::string(kProgramKey) + "\\" + subkey;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
}

inline void ClearProgramKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey); }

} // namespace nv::test
