#include "CQtProfile.h"

#include "IniProfileReader.h"
#include "SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
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

CQtProfile::CQtProfile() {
    // The user's file of the organisation "Vendrel/Harbek", application "Vexa", where
    // the platform's store keeps it, and that file alone (as vexa-interpret reads it).
    m_path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
             "/Vendrel/Harbek/Vexa.ini";
    // The store would read a named pipe or a link to a device without end: such a file,
    // or one far too large for settings, is refused, and the settings of this session
    // are kept in memory only (the file is left as it is).
    std::string text;
    m_refusal = ReadSettingsFile(m_path, text);
    if (m_refusal.empty())
        m_settings = std::make_unique<QSettings>(QString::fromStdString(m_path), QSettings::IniFormat);
}

CQtProfile::~CQtProfile() = default;

QVariant CQtProfile::Value(const QString &key) const {
    if (m_settings) return m_settings->value(key);
    auto it = m_memory.find(key);
    return it == m_memory.end() ? QVariant() : it->second;
}

void CQtProfile::SetValue(const QString &key, const QVariant &value) {
    if (!m_settings) {
        m_memory[key] = value;
        return;
    }
    m_settings->setValue(key, value);
    m_settings->sync();
}

std::string CQtProfile::GetProfileString(const std::string &section, const std::string &key,
                                         const std::string &defaultValue) {
    QVariant v = Value(KeyPath(section, key));
    if (!v.isValid()) return defaultValue;
    return ValueText(v);
}

int32_t CQtProfile::GetProfileInt(const std::string &section, const std::string &key, int32_t defaultValue) {
    QVariant v = Value(KeyPath(section, key));
    if (!v.isValid()) return defaultValue;
    return ProfileInteger(ValueText(v), defaultValue);
}

void CQtProfile::WriteProfileString(const std::string &section, const std::string &key, const std::string &value) {
    SetValue(KeyPath(section, key), QString::fromStdString(value));
}

void CQtProfile::WriteProfileInt(const std::string &section, const std::string &key, int32_t value) {
    SetValue(KeyPath(section, key), value);
}

std::string CQtProfile::FileName() const { return m_path; }

std::string MachineProfileString(const std::string &key) {
    QSettings machine(QSettings::IniFormat, QSettings::SystemScope, "Vendrel", "Harbek");
    return machine.value(QString::fromStdString(key)).toString().toStdString();
}

}  // namespace vexa
