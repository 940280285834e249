// A Storage held in memory, with the registry's rules: key paths and value names compare without
// regard to case, a created key brings its missing parents, and values keep the order they were
// first written in.
#pragma once

#include "base/Storage.h"

#include <map>
#include <set>

namespace nv {

class MemoryStorage : public Storage {
public:
    enum class ValueKind { Integer, String, Other };
    struct Value {
        std::string Name;
        ValueKind Kind = ValueKind::Other;
        std::uint32_t Integer = 0;
        std::string Text;
    };

    std::unique_ptr<StorageKey> OpenKey(const std::string& path, bool create) override;
    bool DeleteKey(const std::string& path) override;

    bool KeyExists(const std::string& path) const;
    // The values of a key in the order they were first written; empty when there is no such key.
    std::vector<Value> Values(const std::string& path) const;
    // The key's string values by name.
    std::map<std::string, std::string> Strings(const std::string& path) const;

    // Conditions the tests set up: a value of a type the program does not write, value names whose
    // writes fail, and a store that opens no key at all.
    void PutOther(const std::string& path, const std::string& name);
    std::set<std::string> RefusedWrites;
    bool Unavailable = false;

private:
    friend class MemoryKey;
    struct Key {
        std::vector<Value> Values;
    };
    static std::string Fold(const std::string& text);
    Key* Find(const std::string& foldedPath);
    const Key* Find(const std::string& foldedPath) const;
    Key& Make(const std::string& foldedPath);

    std::map<std::string, Key> keys_; // by folded path
};

} // namespace nv
