// A small hierarchical settings store: keys below a root, holding named integer and string values.
// The program keeps its state in the registry under HKEY_CURRENT_USER (RegistryStorage); the tests
// use MemoryStorage. Components speak only to these two interfaces.
#pragma once

#include "base/Errors.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nv {

// A write the store refused; the text is the one the user sees.
class EStorageError : public EError {
public:
    using EError::EError;
    // "Failed to set data for '<name>'": the value was refused, or its key could not be made.
    static EStorageError FailedToSetData(const std::string& name);
};

// An open key. Closing it is destroying it.
class StorageKey {
public:
    virtual ~StorageKey() = default;

    virtual bool ValueExists(const std::string& name) const = 0;
    // Empty when the value is missing or has another type: such data is not valid.
    virtual std::optional<std::uint32_t> ReadInteger(const std::string& name) const = 0;
    virtual std::optional<std::string> ReadString(const std::string& name) const = 0;

    // Raise EStorageError "Failed to set data for '<name>'" when the store refuses the value.
    void WriteInteger(const std::string& name, std::uint32_t value);
    void WriteString(const std::string& name, const std::string& value);

    // False when there was no such value to delete.
    virtual bool DeleteValue(const std::string& name) = 0;
    // The names of the key's values and of its direct subkeys.
    virtual std::vector<std::string> ValueNames() const = 0;
    virtual std::vector<std::string> SubkeyNames() const = 0;

protected:
    virtual bool PutInteger(const std::string& name, std::uint32_t value) = 0;
    virtual bool PutString(const std::string& name, const std::string& value) = 0;
};

class Storage {
public:
    virtual ~Storage() = default;
    // Opens a key by its path below the root ("Software\Korvel\Notova"; a leading backslash is
    // allowed); with `create` a missing key is made. Null when the key cannot be opened. A key the
    // user may read but not change opens all the same; writes to it fail.
    virtual std::unique_ptr<StorageKey> OpenKey(const std::string& path, bool create) = 0;
    // Deletes a key with everything below it (a section of values that is written afresh); false when
    // there was no such key. Keys open below it accept no more writes.
    virtual bool DeleteKey(const std::string& path) = 0;
};

// The path without leading backslashes, as the stores expect it.
std::string RelativeKeyPath(const std::string& path);

} // namespace nv
