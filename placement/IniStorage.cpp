#include "placement/IniStorage.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace nv {

bool TNameLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

bool ParseInteger(const std::string& text, int& value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        result = result * 10 + (text[i] - '0');
        if (result > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) result = -result;
    if (result > INT_MAX || result < INT_MIN) return false;
    value = static_cast<int>(result);
    return true;
}

std::string TIniStorage::ReadString(const std::string& section, const std::string& name,
                                    const std::string& fallback) {
    std::string value;
    return ReadValue(section, name, value) ? value : fallback;
}

int TIniStorage::ReadInteger(const std::string& section, const std::string& name, int fallback) {
    std::string text;
    int value = 0;
    return ReadValue(section, name, text) && ParseInteger(text, value) ? value : fallback;
}

void TIniStorage::WriteInteger(const std::string& section, const std::string& name, int value) {
    WriteString(section, name, std::to_string(value));
}

bool TIniStorage::ReadBool(const std::string& section, const std::string& name, bool fallback) {
    return ReadInteger(section, name, fallback ? 1 : 0) != 0;
}

void TIniStorage::WriteBool(const std::string& section, const std::string& name, bool value) {
    WriteInteger(section, name, value ? 1 : 0);
}

bool TMemoryIniStorage::ReadValue(const std::string& section, const std::string& name, std::string& value) {
    auto s = sections_.find(section);
    if (s == sections_.end()) return false;
    auto v = s->second.find(name);
    if (v == s->second.end()) return false;
    value = v->second;
    return true;
}

void TMemoryIniStorage::WriteString(const std::string& section, const std::string& name,
                                    const std::string& value) {
    sections_[section][name] = value;
}

void TMemoryIniStorage::EraseSection(const std::string& section) { sections_.erase(section); }

void TMemoryIniStorage::DeleteValue(const std::string& section, const std::string& name) {
    auto s = sections_.find(section);
    if (s != sections_.end()) s->second.erase(name);
}

TMemoryIniStorage::TSection TMemoryIniStorage::Section(const std::string& section) const {
    auto s = sections_.find(section);
    return s == sections_.end() ? TSection{} : s->second;
}

} // namespace nv
