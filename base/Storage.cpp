#include "base/Storage.h"

namespace nv {

EStorageError EStorageError::FailedToSetData(const std::string& name) {
    return EStorageError(Format("Failed to set data for '%s'", name));
}

void StorageKey::WriteInteger(const std::string& name, std::uint32_t value) {
    if (!PutInteger(name, value)) throw EStorageError::FailedToSetData(name);
}

void StorageKey::WriteString(const std::string& name, const std::string& value) {
    if (!PutString(name, value)) throw EStorageError::FailedToSetData(name);
}

std::string RelativeKeyPath(const std::string& path) {
    const size_t start = path.find_first_not_of('\\');
    return start == std::string::npos ? std::string() : path.substr(start);
}

} // namespace nv
