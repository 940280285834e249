// Named string values grouped in sections: the storage the window placement and the components
// linked to it keep their layout in. The registry implements it for the program; the in-memory one
// serves the window-free code and its tests.
#pragma once

#include <map>
#include <string>

namespace nv {

class TIniStorage {
public:
    virtual ~TIniStorage() = default;

    // False when the value is absent or holds something other than text.
    virtual bool ReadValue(const std::string& section, const std::string& name, std::string& value) = 0;
    // Creates the section when missing. Throws EError when the value cannot be written.
    virtual void WriteString(const std::string& section, const std::string& name,
                             const std::string& value) = 0;
    // Removes the section with everything in it; a missing section is no error.
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteValue(const std::string& section, const std::string& name) = 0;

    std::string ReadString(const std::string& section, const std::string& name, const std::string& fallback);
    // The fallback when the value is absent or not a decimal number.
    int ReadInteger(const std::string& section, const std::string& name, int fallback);
    void WriteInteger(const std::string& section, const std::string& name, int value);
    bool ReadBool(const std::string& section, const std::string& name, bool fallback);
    void WriteBool(const std::string& section, const std::string& name, bool value);
};

// Names compare without regard to case, as in the registry.
struct TNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class TMemoryIniStorage : public TIniStorage {
public:
    using TSection = std::map<std::string, std::string, TNameLess>;

    bool ReadValue(const std::string& section, const std::string& name, std::string& value) override;
    void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
    void EraseSection(const std::string& section) override;
    void DeleteValue(const std::string& section, const std::string& name) override;

    bool HasSection(const std::string& section) const { return sections_.count(section) != 0; }
    // The values of a section; empty when it does not exist.
    TSection Section(const std::string& section) const;

private:
    std::map<std::string, TSection, TNameLess> sections_;
};

// A whole decimal number with an optional sign and leading blanks, nothing after it, within int.
bool ParseInteger(const std::string& text, int& value);

} // namespace nv
