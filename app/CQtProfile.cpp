#include "CQtProfile.h"

#include "SettingsStore.h"

#include <QSettings>
#include <QStringList>

namespace vexa {

namespace {

QString KeyPath(const std::string &section, const std::string &key) {
    QString k = QString::fromStdString(key);
    return section.empty() ? k : QString::fromStdString(section) + "/" + k;
}

// A value as text; a hand-edited value with commas is read back as a list: join it again.
std::string ValueText(const QVariant &v) {
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(", ").toStdString();
    return v.toString().toStdString();
}

}  // namespace

CQtProfile::CQtProfile()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Vendrel/Harbek", "Vexa")) {}

CQtProfile::~CQtProfile() = default;

std::string CQtProfile::GetProfileString(const std::string &section, const std::string &key,
                                         const std::string &defaultValue) {
    QVariant v = m_settings->value(KeyPath(section, key));
    if (!v.isValid()) return defaultValue;
    return ValueText(v);
}

int32_t CQtProfile::GetProfileInt(const std::string &section, const std::string &key, int32_t defaultValue) {
    QVariant v = m_settings->value(KeyPath(section, key));
    if (!v.isValid()) return defaultValue;
    return ProfileInteger(ValueText(v), defaultValue);
}

void CQtProfile::WriteProfileString(const std::string &section, const std::string &key, const std::string &value) {
    m_settings->setValue(KeyPath(section, key), QString::fromStdString(value));
    m_settings->sync();
}

void CQtProfile::WriteProfileInt(const std::string &section, const std::string &key, int32_t value) {
    m_settings->setValue(KeyPath(section, key), value);
    m_settings->sync();
}

std::string CQtProfile::FileName() const { return m_settings->fileName().toStdString(); }

std::string MachineProfileString(const std::string &key) {
    QSettings machine(QSettings::IniFormat, QSettings::SystemScope, "Vendrel", "Harbek");
    return machine.value(QString::fromStdString(key)).toString().toStdString();
}

}  // namespace vexa
