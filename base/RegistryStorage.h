// The Storage of the program: registry keys below one root (HKEY_CURRENT_USER), each open key held
// by a RegKey owner. Values are REG_DWORD integers and REG_SZ strings, kept in UTF-8 here and wide in
// the registry.
#pragma once

#include "base/Handles.h"
#include "base/Storage.h"

namespace nv {

class RegistryStorage : public Storage {
public:
    explicit RegistryStorage(HKEY root = HKEY_CURRENT_USER) : root_(root) {}

    std::unique_ptr<StorageKey> OpenKey(const std::string& path, bool create) override;
    bool DeleteKey(const std::string& path) override;

private:
    HKEY root_;
};

} // namespace nv
