// The per-user profile store behind QSettings: a program and the command line read the same
// values from the same place (company key, program name, section "Settings").
#pragma once

#include <QSettings>
#include <QString>
#include <string>

#include "shell/ProfileStore.h"

namespace shell {

class QtProfileStore : public ProfileStore {
public:
    QtProfileStore(const std::string& company, const std::string& program)
        : settings_(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(company),
                    QString::fromStdString(program)) {}
    ~QtProfileStore() override { settings_.sync(); }

    std::string readText(const std::string& section, const std::string& name,
                         const std::string& fallback) const override {
        const QVariant value = settings_.value(key(section, name));
        return value.isValid() ? value.toString().toStdString() : fallback;
    }
    std::int64_t readInteger(const std::string& section, const std::string& name,
                             std::int64_t fallback) const override {
        const QVariant value = settings_.value(key(section, name));
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        return value.isValid() && ok ? number : fallback;
    }
    void writeText(const std::string& section, const std::string& name,
                   const std::string& value) override {
        settings_.setValue(key(section, name), QString::fromStdString(value));
    }
    void writeInteger(const std::string& section, const std::string& name,
                      std::int64_t value) override {
        settings_.setValue(key(section, name), static_cast<qlonglong>(value));
    }
    [[nodiscard]] QString fileName() const { return settings_.fileName(); }

private:
    static QString key(const std::string& section, const std::string& name) {
        return QString::fromStdString(section + "/" + name);
    }
    mutable QSettings settings_;
};

}  // namespace shell
