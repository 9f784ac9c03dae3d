// Keys of the registry as a key store: by default the player's settings in
// HKEY_CURRENT_USER under its root key; the file-type page uses
// HKEY_CLASSES_ROOT with no prefix.
#pragma once

#include <windows.h>

#include <string>

#include "base/key_store.h"

class RegistryKeyStore : public KeyStore {
  public:
    RegistryKeyStore();
    RegistryKeyStore(HKEY root, std::string prefix);
    Kind read(const std::string& section, const std::string& name, uint32_t& dword,
              std::string& text) override;
    bool write_dword(const std::string& section, const std::string& name, uint32_t value) override;
    bool write_string(const std::string& section, const std::string& name,
                      const std::string& value) override;
    bool key_exists(const std::string& section) override;
    bool delete_key(const std::string& section) override;

  private:
    std::string key_of(const std::string& section) const { return prefix_ + section; }
    bool write_value(const std::string& section, const std::string& name, DWORD type,
                     const BYTE* data, DWORD size);

    HKEY root_;
    std::string prefix_;
};
