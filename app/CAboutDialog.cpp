#include "CAboutDialog.h"

#include "CRegistryAccess.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

namespace vexa {

CAboutDialog::CAboutDialog(QWidget *parent) : QDialog(parent) {
    setWindowTitle(tr("About Vexa"));
    CRegistryAccess registry;
    registry.init(QString(), true);
    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/vexa/vexa.xpm")).pixmap(32, 32));
    auto *name = new QLabel(QStringLiteral("Vexa"), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    m_product = new QLabel(registry.getPath(QStringLiteral("ProductName")), this);
    m_release = new QLabel(registry.getPath(QStringLiteral("Release")), this);
    m_copyright = new QLabel(registry.getPath(QStringLiteral("Copyright")), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1);
    grid->addWidget(m_product, 1, 1);
    grid->addWidget(m_release, 2, 1);
    grid->addWidget(m_copyright, 3, 1);
    grid->addWidget(buttons, 4, 0, 1, 2);
}

QString CAboutDialog::ProductName() const { return m_product->text(); }
QString CAboutDialog::Release() const { return m_release->text(); }
QString CAboutDialog::Copyright() const { return m_copyright->text(); }

}  // namespace vexa
