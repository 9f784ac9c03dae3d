#include "settings/registry_store_win32.h"

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "settings/save_load_sett.h"
#include "win/handles.h"

RegistryKeyStore::RegistryKeyStore() : RegistryKeyStore(HKEY_CURRENT_USER, kSettingsRoot) {}

RegistryKeyStore::RegistryKeyStore(HKEY root, std::string prefix)
    : root_(root), prefix_(std::move(prefix)) {}

bool RegistryKeyStore::write_value(const std::string& section, const std::string& name, DWORD type,
                                   const BYTE* data, DWORD size) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(root_, key_of(section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const win::RegKey key(raw);
    return RegSetValueExA(key.get(), name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
}

KeyStore::Kind RegistryKeyStore::read(const std::string& section, const std::string& name,
                                      uint32_t& dword, std::string& text) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root_, key_of(section).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return Kind::Missing;
    const win::RegKey owner(raw);
    HKEY key = owner.get();
    Kind kind = Kind::Missing;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 2, 0);
        DWORD got = size;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &got) ==
            ERROR_SUCCESS) {
            if (type == REG_DWORD && got == sizeof(DWORD)) {
                DWORD d = 0;
                std::memcpy(&d, data.data(), sizeof d);
                dword = d;
                kind = Kind::Dword;
            } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
                text.assign(reinterpret_cast<const char*>(data.data()));
                kind = Kind::String;
            } else {
                kind = Kind::Other;
            }
        }
    }
    return kind;
}

bool RegistryKeyStore::write_dword(const std::string& section, const std::string& name,
                                   uint32_t value) {
    const DWORD d = value;
    return write_value(section, name, REG_DWORD, reinterpret_cast<const BYTE*>(&d), sizeof d);
}

bool RegistryKeyStore::write_string(const std::string& section, const std::string& name,
                                    const std::string& value) {
    return write_value(section, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
}

bool RegistryKeyStore::key_exists(const std::string& section) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root_, key_of(section).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    const win::RegKey key(raw);
    return true;
}

bool RegistryKeyStore::delete_key(const std::string& section) {
    const std::string path = key_of(section);
    // Never the root itself: an empty path would empty the whole hive.
    if (path.empty()) return false;
    const LSTATUS status = RegDeleteTreeA(root_, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
