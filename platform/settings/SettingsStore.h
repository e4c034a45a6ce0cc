#pragma once
// Persistent settings keyed the way the registry is: a key path such as
// "Software\\Kestrin\\Halvox ISDN\\Trace" and a value name below it. Values
// are strings or 32-bit words. The store is an INI file under the user's
// configuration folder; the environment variable MOX_SETTINGS names another
// file, so tests and demos never touch the user's own settings.
//
// Thread rule: every member may be called from any thread; one internal
// mutex serialises them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mox::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::string> GetString(const std::string& key,
                                                 const std::string& name) const = 0;
    virtual void SetString(const std::string& key, const std::string& name,
                           const std::string& value) = 0;
    virtual std::optional<uint32_t> GetDword(const std::string& key,
                                             const std::string& name) const = 0;
    virtual void SetDword(const std::string& key, const std::string& name, uint32_t value) = 0;
    // Removes one value; with an empty name, the whole key and everything below.
    virtual void Remove(const std::string& key, const std::string& name) = 0;
    // Value names directly below a key.
    virtual std::vector<std::string> ValueNames(const std::string& key) const = 0;
    // Writes pending changes to disk.
    virtual void Sync() = 0;
    // The file this store reads and writes; files kept beside the settings
    // belong beside this one, not beside DefaultPath(), which may name
    // another file while a different store is in use.
    virtual std::string FilePath() const = 0;

    // The process-wide store: the file named by MOX_SETTINGS, or the
    // default file under the user's configuration folder.
    static SettingsStore& Instance();
    // Path of the file Instance() uses.
    static std::string DefaultPath();
    // A store over one given INI file (tests, tools).
    static std::unique_ptr<SettingsStore> OpenFile(const std::string& path);
    // Replaces the process-wide store (tests); nullptr restores the default.
    static void SetInstanceForTesting(std::unique_ptr<SettingsStore> store);
};

}  // namespace mox::platform
