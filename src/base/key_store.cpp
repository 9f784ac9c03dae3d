#include "base/key_store.h"

#include "base/text.h"

MemoryKeyStore::Kind MemoryKeyStore::read(const std::string& section, const std::string& name,
                                          uint32_t& dword, std::string& text) {
    const Value* v = find(section, name);
    if (!v) return Kind::Missing;
    dword = v->dword;
    text = v->text;
    return v->kind;
}

bool MemoryKeyStore::write_dword(const std::string& section, const std::string& name,
                                 uint32_t value) {
    if (fail_writes) return false;
    put(section, name, Value{Kind::Dword, value, {}});
    return true;
}

bool MemoryKeyStore::write_string(const std::string& section, const std::string& name,
                                  const std::string& value) {
    if (fail_writes) return false;
    put(section, name, Value{Kind::String, 0, value});
    return true;
}

bool MemoryKeyStore::key_exists(const std::string& section) {
    const std::string key = fold(section), below = key + "\\";
    for (const auto& s : sections_)
        if (s.first == key || s.first.compare(0, below.size(), below) == 0) return true;
    return false;
}

bool MemoryKeyStore::delete_key(const std::string& section) {
    if (fail_writes) return false;
    const std::string key = fold(section), below = key + "\\";
    std::erase_if(sections_, [&](const auto& s) {
        return s.first == key || s.first.compare(0, below.size(), below) == 0;
    });
    return true;
}

void MemoryKeyStore::put(const std::string& section, const std::string& name, Value v) {
    sections_[fold(section)][fold(name)] = std::move(v);
}

void MemoryKeyStore::erase(const std::string& section, const std::string& name) {
    auto s = sections_.find(fold(section));
    if (s != sections_.end()) s->second.erase(fold(name));
}

bool MemoryKeyStore::has_section(const std::string& section) const {
    return sections_.count(fold(section)) != 0;
}

const MemoryKeyStore::Value* MemoryKeyStore::find(const std::string& section,
                                                  const std::string& name) const {
    auto s = sections_.find(fold(section));
    if (s == sections_.end()) return nullptr;
    auto v = s->second.find(fold(name));
    return v == s->second.end() ? nullptr : &v->second;
}

std::string MemoryKeyStore::fold(const std::string& s) {
    return upper_text(s);
}
