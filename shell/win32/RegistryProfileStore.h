// The per-user profile store in the registry: HKCU\Software\<company>\<program>\<section>, the
// place and the value types the system's profile functions use (text as REG_SZ, numbers as
// REG_DWORD), so that a profile edited with regedit or left by an older version reads the same.
#pragma once

#include <string>

#include "shell/ProfileStore.h"
#include "shell/win32/Windows.h"

namespace shell::win32 {

class RegistryProfileStore : public ProfileStore {
public:
    // root is HKEY_CURRENT_USER for the programs; tests may give another key of their own.
    RegistryProfileStore(std::string company, std::string program, HKEY root = HKEY_CURRENT_USER);

    // REG_SZ (or REG_EXPAND_SZ, unexpanded); a number stored by hand reads as its decimal text.
    [[nodiscard]] std::string readText(const std::string& section, const std::string& name,
                                       const std::string& fallback) const override;
    // REG_DWORD, REG_QWORD, or a REG_SZ holding a decimal number (blanks around it allowed).
    [[nodiscard]] std::int64_t readInteger(const std::string& section, const std::string& name,
                                           std::int64_t fallback) const override;
    void writeText(const std::string& section, const std::string& name,
                   const std::string& value) override;
    // REG_DWORD when the number fits in 32 unsigned bits, REG_QWORD otherwise.
    void writeInteger(const std::string& section, const std::string& name,
                      std::int64_t value) override;

    // Software\<company>\<program>\<section>
    [[nodiscard]] std::wstring SectionKeyPath(const std::string& section) const;
    // Whether the last write reached the registry.
    [[nodiscard]] bool lastWriteSucceeded() const { return lastWriteOk_; }

private:
    struct RawValue {
        DWORD type = REG_NONE;
        std::wstring text;
        unsigned long long number = 0;
    };
    [[nodiscard]] bool readRaw(const std::string& section, const std::string& name,
                               RawValue& out) const;
    void writeRaw(const std::string& section, const std::string& name, DWORD type, const void* data,
                  DWORD size);

    std::string company_;
    std::string program_;
    HKEY root_;
    bool lastWriteOk_ = true;
};

// The program's own name as the profile uses it: the base name of its executable, without
// folder and extension ("zonesend" for C:\Tools\zonesend.exe).
[[nodiscard]] std::string ProgramBaseName(HMODULE module = nullptr);

}  // namespace shell::win32
