// Where settings live: one key per section with typed values. The player uses
// the registry; tests use the in-memory store. A section may be a path of
// keys separated by backslashes; the empty value name is the key's default
// value.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class KeyStore {
  public:
    enum class Kind { Missing, Dword, String, Other };
    virtual ~KeyStore() = default;
    // Missing also when the section's key does not exist.
    virtual Kind read(const std::string& section, const std::string& name, uint32_t& dword,
                      std::string& text) = 0;
    // Creates the section's key when needed; false when the write failed.
    virtual bool write_dword(const std::string& section, const std::string& name,
                             uint32_t value) = 0;
    virtual bool write_string(const std::string& section, const std::string& name,
                              const std::string& value) = 0;
    // Whether the section's key exists (with or without values).
    virtual bool key_exists(const std::string& section) = 0;
    // Deletes the section's key with all its values and subkeys; true when it
    // is gone afterwards (also when it never existed).
    virtual bool delete_key(const std::string& section) = 0;
};

class MemoryKeyStore : public KeyStore {
  public:
    struct Value {
        Kind kind = Kind::Missing;
        uint32_t dword = 0;
        std::string text;
    };
    Kind read(const std::string& section, const std::string& name, uint32_t& dword,
              std::string& text) override;
    bool write_dword(const std::string& section, const std::string& name, uint32_t value) override;
    bool write_string(const std::string& section, const std::string& name,
                      const std::string& value) override;
    bool key_exists(const std::string& section) override;
    bool delete_key(const std::string& section) override;

    void put(const std::string& section, const std::string& name, Value v);
    void erase(const std::string& section, const std::string& name);
    bool has_section(const std::string& section) const;
    const Value* find(const std::string& section, const std::string& name) const;
    bool fail_writes = false;

  private:
    // Keys and value names ignore case, as in the registry.
    static std::string fold(const std::string& s);
    std::map<std::string, std::map<std::string, Value>> sections_;
};
