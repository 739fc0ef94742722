// What the installation recorded about the product: its name, release and legal notice,
// kept machine-wide (organisation "Vendrel", application "Harbek"), with the values this
// build was made with when nothing is recorded.
#pragma once

#include <QString>

namespace vexa {

class CRegistryAccess {
public:
    // prefix: a group inside the machine-wide record ("" for its root); machineWide
    // false reads the user's own record instead.
    bool init(const QString &prefix, bool machineWide);
    // The text of "ProductName", "Release" or "Copyright"; empty for any other key.
    QString getPath(const QString &key) const;

private:
    QString m_prefix;
    bool m_machineWide = true;
};

// The program's installation folder: InstallDir + "/Vexa", or "." when none is recorded
// or the result would not fit in 260 characters.
QString GetInstallDir();

}  // namespace vexa
