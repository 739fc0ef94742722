#include "CIpFilterDialog.h"

#include "CommandIds.h"
#include "QtPlatform.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vexa {

CIpFilterDialog::CIpFilterDialog(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Filter"));
    setObjectName(QStringLiteral("dialog%1").arg(IDD));
    auto *layout = new QVBoxLayout(this);
    auto *box = new QGroupBox(this);
    auto *boxLayout = new QVBoxLayout(box);
    m_group = new QButtonGroup(this);
    const struct {
        int id;
        const char *text;
    } buttons[] = {{IDC_RAS, "RAS"}, {IDC_H245, "H.245"}, {IDC_H2250, "H.225.0"}};
    int index = 0;
    for (const auto &b : buttons) {
        auto *radio = new QRadioButton(QString::fromLatin1(b.text), box);
        radio->setObjectName(QStringLiteral("control%1").arg(b.id));
        m_group->addButton(radio, index++);
        boxLayout->addWidget(radio);
    }
    layout->addWidget(box);
    auto *row = new QDialogButtonBox(Qt::Horizontal, this);
    row->addButton(QDialogButtonBox::Ok);
    row->addButton(QDialogButtonBox::Cancel);
    m_help = row->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    m_help->setObjectName(QStringLiteral("control%1").arg(IDC_HELP));
    layout->addWidget(row);
    connect(row, &QDialogButtonBox::accepted, this, &CIpFilterDialog::accept);
    connect(row, &QDialogButtonBox::rejected, this, &CIpFilterDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [] { RequestHelp(ids::kHelpDialogBase + IDD); });
    // RAS is chosen when the dialog opens.
    m_group->button(0)->setChecked(true);
}

QRadioButton *CIpFilterDialog::Button(int id) const {
    return id >= IDC_RAS && id <= IDC_H2250 ? static_cast<QRadioButton *>(m_group->button(id - IDC_RAS)) : nullptr;
}

void CIpFilterDialog::accept() {
    m_nChoice = m_group->checkedId();
    QDialog::accept();
}

}  // namespace vexa
