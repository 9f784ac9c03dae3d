// Settings in HKEY_CURRENT_USER under the player's root key.
#pragma once

#include "base/key_store.h"

class RegistryKeyStore : public KeyStore {
  public:
    Kind read(const std::string& section, const std::string& name, uint32_t& dword,
              std::string& text) override;
    bool write_dword(const std::string& section, const std::string& name, uint32_t value) override;
    bool write_string(const std::string& section, const std::string& name,
                      const std::string& value) override;
};
