#include "base/MemoryStorage.h"

#include <algorithm>
#include <cctype>

namespace nv {

namespace {
bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}
} // namespace

// A key stays usable only while its path exists, as a registry handle to a deleted key fails.
class MemoryKey : public StorageKey {
public:
    MemoryKey(MemoryStorage& storage, std::string path) : storage_(storage), path_(std::move(path)) {}

    bool ValueExists(const std::string& name) const override { return Find(name) != nullptr; }

    std::optional<std::uint32_t> ReadInteger(const std::string& name) const override {
        const MemoryStorage::Value* value = Find(name);
        if (!value || value->Kind != MemoryStorage::ValueKind::Integer) return std::nullopt;
        return value->Integer;
    }

    std::optional<std::string> ReadString(const std::string& name) const override {
        const MemoryStorage::Value* value = Find(name);
        if (!value || value->Kind != MemoryStorage::ValueKind::String) return std::nullopt;
        return value->Text;
    }

    bool DeleteValue(const std::string& name) override {
        MemoryStorage::Key* key = storage_.Find(path_);
        if (!key) return false;
        auto& values = key->Values;
        auto found = std::find_if(values.begin(), values.end(),
                                  [&](const MemoryStorage::Value& v) { return SameName(v.Name, name); });
        if (found == values.end()) return false;
        values.erase(found);
        return true;
    }

    std::vector<std::string> ValueNames() const override {
        std::vector<std::string> names;
        if (const MemoryStorage::Key* key = storage_.Find(path_)) {
            for (const auto& value : key->Values)
                names.push_back(value.Name);
        }
        return names;
    }

    std::vector<std::string> SubkeyNames() const override {
        std::vector<std::string> names;
        const std::string prefix = path_.empty() ? std::string() : path_ + "\\";
        for (const auto& [path, key] : storage_.keys_) {
            if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
                path.find('\\', prefix.size()) == std::string::npos) {
                names.push_back(path.substr(prefix.size()));
            }
        }
        return names;
    }

protected:
    bool PutInteger(const std::string& name, std::uint32_t value) override {
        MemoryStorage::Value* slot = Slot(name);
        if (!slot) return false;
        slot->Kind = MemoryStorage::ValueKind::Integer;
        slot->Integer = value;
        slot->Text.clear();
        return true;
    }

    bool PutString(const std::string& name, const std::string& value) override {
        MemoryStorage::Value* slot = Slot(name);
        if (!slot) return false;
        slot->Kind = MemoryStorage::ValueKind::String;
        slot->Text = value;
        return true;
    }

private:
    const MemoryStorage::Value* Find(const std::string& name) const {
        const MemoryStorage::Key* key = storage_.Find(path_);
        if (!key) return nullptr;
        for (const auto& value : key->Values) {
            if (SameName(value.Name, name)) return &value;
        }
        return nullptr;
    }

    MemoryStorage::Value* Slot(const std::string& name) {
        MemoryStorage::Key* key = storage_.Find(path_);
        if (!key) return nullptr;
        for (const std::string& refused : storage_.RefusedWrites) {
            if (SameName(refused, name)) return nullptr;
        }
        for (auto& value : key->Values) {
            if (SameName(value.Name, name)) return &value;
        }
        key->Values.push_back(MemoryStorage::Value{name, MemoryStorage::ValueKind::Other, 0, {}});
        return &key->Values.back();
    }

    MemoryStorage& storage_;
    std::string path_;
};

std::string MemoryStorage::Fold(const std::string& text) {
    std::string folded = RelativeKeyPath(text);
    while (!folded.empty() && folded.back() == '\\')
        folded.pop_back();
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

MemoryStorage::Key* MemoryStorage::Find(const std::string& foldedPath) {
    auto found = keys_.find(foldedPath);
    return found == keys_.end() ? nullptr : &found->second;
}

const MemoryStorage::Key* MemoryStorage::Find(const std::string& foldedPath) const {
    auto found = keys_.find(foldedPath);
    return found == keys_.end() ? nullptr : &found->second;
}

MemoryStorage::Key& MemoryStorage::Make(const std::string& foldedPath) {
    for (size_t separator = foldedPath.find('\\'); separator != std::string::npos;
         separator = foldedPath.find('\\', separator + 1)) {
        keys_[foldedPath.substr(0, separator)];
    }
    return keys_[foldedPath];
}

std::unique_ptr<StorageKey> MemoryStorage::OpenKey(const std::string& path, bool create) {
    if (Unavailable) return nullptr;
    const std::string folded = Fold(path);
    if (!Find(folded)) {
        if (!create) return nullptr;
        Make(folded);
    }
    return std::make_unique<MemoryKey>(*this, folded);
}

bool MemoryStorage::DeleteKey(const std::string& path) {
    const std::string folded = Fold(path);
    if (!Find(folded)) return false;
    const std::string prefix = folded + "\\";
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == folded || it->first.compare(0, prefix.size(), prefix) == 0) {
            it = keys_.erase(it);
        } else {
            ++it;
        }
    }
    return true;
}

bool MemoryStorage::KeyExists(const std::string& path) const {
    return Find(Fold(path)) != nullptr;
}

std::vector<MemoryStorage::Value> MemoryStorage::Values(const std::string& path) const {
    const Key* key = Find(Fold(path));
    return key ? key->Values : std::vector<Value>{};
}

std::map<std::string, std::string> MemoryStorage::Strings(const std::string& path) const {
    std::map<std::string, std::string> strings;
    for (const Value& value : Values(path)) {
        if (value.Kind == ValueKind::String) strings[value.Name] = value.Text;
    }
    return strings;
}

void MemoryStorage::PutOther(const std::string& path, const std::string& name) {
    Key& key = Make(Fold(path));
    for (auto& value : key.Values) {
        if (SameName(value.Name, name)) {
            value = Value{value.Name, ValueKind::Other, 0, {}};
            return;
        }
    }
    key.Values.push_back(Value{name, ValueKind::Other, 0, {}});
}

} // namespace nv
