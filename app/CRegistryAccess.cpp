#include "CRegistryAccess.h"

#include <QSettings>

namespace vexa {

bool CRegistryAccess::init(const QString &prefix, bool machineWide) {
    m_prefix = prefix;
    m_machineWide = machineWide;
    return true;
}

QString CRegistryAccess::getPath(const QString &key) const {
    QString builtIn;
    if (key == QLatin1String("ProductName")) builtIn = QStringLiteral("Vexa signal trace interpreter");
    else if (key == QLatin1String("Release")) builtIn = QStringLiteral("Release " VEXA_VERSION);
    else if (key == QLatin1String("Copyright")) builtIn = QStringLiteral("Copyright (C) 2026 Vendrel. All rights reserved.");
    else return QString();
    QSettings record(QSettings::IniFormat, m_machineWide ? QSettings::SystemScope : QSettings::UserScope,
                     QStringLiteral("Vendrel"), QStringLiteral("Harbek"));
    const QString path = m_prefix.isEmpty() ? key : m_prefix + '/' + key;
    return record.value(path, builtIn).toString();
}

QString GetInstallDir() {
    QSettings machine(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("Vendrel"), QStringLiteral("Harbek"));
    const QString installDir = machine.value(QStringLiteral("InstallDir")).toString();
    const QString folder = installDir + QStringLiteral("/Vexa");
    if (installDir.isEmpty() || folder.toLocal8Bit().size() + 1 > 260) return QStringLiteral(".");
    return folder;
}

}  // namespace vexa
