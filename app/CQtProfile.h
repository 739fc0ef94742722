// The per-user profile kept by the platform's settings store: an INI file of the
// organisation "Vendrel/Harbek" and the application "Vexa". Sections are groups; the
// values of the unnamed root section are top-level keys.
#pragma once

#include "IProfile.h"

#include <QString>
#include <QVariant>

#include <map>
#include <memory>

class QSettings;

namespace vexa {

class CQtProfile : public IProfile {
public:
    CQtProfile();
    ~CQtProfile() override;

    std::string GetProfileString(const std::string &section, const std::string &key,
                                 const std::string &defaultValue) override;
    int32_t GetProfileInt(const std::string &section, const std::string &key, int32_t defaultValue) override;
    void WriteProfileString(const std::string &section, const std::string &key, const std::string &value) override;
    void WriteProfileInt(const std::string &section, const std::string &key, int32_t value) override;

    // The file the profile lives in.
    std::string FileName() const;
    // Why that file was refused (see ReadSettingsFile); empty when it is used.
    const std::string &Refusal() const { return m_refusal; }

private:
    QVariant Value(const QString &key) const;
    void SetValue(const QString &key, const QVariant &value);

    std::string m_path;
    std::string m_refusal;
    std::unique_ptr<QSettings> m_settings;  // null when the file was refused
    std::map<QString, QVariant> m_memory;   // the values of this session, then
};

// Machine-wide values of the organisation "Vendrel", application "Harbek" ("InstallDir").
std::string MachineProfileString(const std::string &key);

}  // namespace vexa
