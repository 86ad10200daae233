#include "shell/win32/RegistryProfileStore.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "shell/win32/Text.h"

namespace shell::win32 {

namespace {

// A decimal number with optional sign and blanks around it, as a hand-edited REG_SZ holds it.
bool parseDecimal(const std::wstring& text, std::int64_t& value) {
    std::string digits;
    for (const wchar_t c : text) {
        if (c > 0x7F) return false;
        digits.push_back(static_cast<char>(c));
    }
    const auto first = digits.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const auto last = digits.find_last_not_of(" \t");
    const char* begin = digits.data() + first;
    const char* end = digits.data() + last + 1;
    if (*begin == '+') ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() && stop == end;
}

}  // namespace

RegistryProfileStore::RegistryProfileStore(std::string company, std::string program, HKEY root)
    : company_(std::move(company)), program_(std::move(program)), root_(root) {}

std::wstring RegistryProfileStore::SectionKeyPath(const std::string& section) const {
    return L"Software\\" + Widen(company_) + L"\\" + Widen(program_) + L"\\" + Widen(section);
}

bool RegistryProfileStore::readRaw(const std::string& section, const std::string& name,
                                   RawValue& out) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, SectionKeyPath(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring valueName = Widen(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    bool ok =
        RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    if (ok) {
        ok = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size) ==
             ERROR_SUCCESS;
    }
    RegCloseKey(key);
    if (!ok) return false;

    out.type = type;
    if (type == REG_DWORD && size >= sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        out.number = number;
        return true;
    }
    if (type == REG_QWORD && size >= sizeof(unsigned long long)) {
        std::memcpy(&out.number, data.data(), sizeof out.number);
        return true;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        // The stored size may or may not count a terminating zero.
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        out.text = std::move(text);
        return true;
    }
    return false;
}

std::string RegistryProfileStore::readText(const std::string& section, const std::string& name,
                                           const std::string& fallback) const {
    RawValue raw;
    if (!readRaw(section, name, raw)) return fallback;
    if (raw.type == REG_DWORD || raw.type == REG_QWORD) return std::to_string(raw.number);
    return Narrow(raw.text);
}

std::int64_t RegistryProfileStore::readInteger(const std::string& section, const std::string& name,
                                               std::int64_t fallback) const {
    RawValue raw;
    if (!readRaw(section, name, raw)) return fallback;
    if (raw.type == REG_DWORD) return static_cast<std::int64_t>(raw.number);
    if (raw.type == REG_QWORD) return static_cast<std::int64_t>(raw.number);
    std::int64_t value = 0;
    return parseDecimal(raw.text, value) ? value : fallback;
}

void RegistryProfileStore::writeRaw(const std::string& section, const std::string& name, DWORD type,
                                    const void* data, DWORD size) {
    HKEY key = nullptr;
    lastWriteOk_ =
        RegCreateKeyExW(root_, SectionKeyPath(section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS;
    if (!lastWriteOk_) return;
    lastWriteOk_ = RegSetValueExW(key, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                                  size) == ERROR_SUCCESS;
    RegCloseKey(key);
}

void RegistryProfileStore::writeText(const std::string& section, const std::string& name,
                                     const std::string& value) {
    const std::wstring text = Widen(value);
    writeRaw(section, name, REG_SZ, text.c_str(),
             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void RegistryProfileStore::writeInteger(const std::string& section, const std::string& name,
                                        std::int64_t value) {
    if (value >= 0 && value <= 0xFFFFFFFFLL) {
        const DWORD number = static_cast<DWORD>(value);
        writeRaw(section, name, REG_DWORD, &number, sizeof number);
        return;
    }
    const unsigned long long number = static_cast<unsigned long long>(value);
    writeRaw(section, name, REG_QWORD, &number, sizeof number);
}

std::string ProgramBaseName(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    std::wstring base = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const auto dot = base.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) base.resize(dot);
    return Narrow(base);
}

}  // namespace shell::win32
