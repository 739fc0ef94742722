#include "CColourSettingsDialog.h"

#include "CClrDialog.h"
#include "CommandIds.h"
#include "QtPlatform.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa {

CColourSettingsDialog::CColourSettingsDialog(QWidget *parent) : QDialog(parent) {
    setWindowTitle(tr("Colour settings"));
    auto *grid = new QGridLayout;
    auto sample = [this] {
        auto *box = new QLineEdit(this);
        box->setReadOnly(true);
        box->setEnabled(false);
        box->setFixedSize(60, 22);
        return box;
    };
    m_incomingSample = sample();
    m_outgoingSample = sample();
    m_changeIncoming = new QPushButton(tr("&Change color..."), this);
    m_changeOutgoing = new QPushButton(tr("Ch&ange Color..."), this);
    grid->addWidget(new QLabel(tr("Incoming signal:"), this), 0, 0);
    grid->addWidget(m_incomingSample, 0, 1);
    grid->addWidget(m_changeIncoming, 0, 2);
    grid->addWidget(new QLabel(tr("Outgoing signal:"), this), 1, 0);
    grid->addWidget(m_outgoingSample, 1, 1);
    grid->addWidget(m_changeOutgoing, 1, 2);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *help = buttons->addButton(tr("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { RequestHelp(ids::kHelpDialogBase + ids::IDD_COLOUR_SETTINGS); });
    connect(m_changeIncoming, &QPushButton::clicked, this, [this] { Change(true); });
    connect(m_changeOutgoing, &QPushButton::clicked, this, [this] { Change(false); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    m_pickColour = [](QColor &colour, QWidget *owner) {
        CClrDialog picker(colour, owner);
        if (picker.exec() != QDialog::Accepted) return false;
        colour = picker.Chosen();
        return true;
    };
    PaintSamples();
}

void CColourSettingsDialog::SetColours(ColorRef incoming, ColorRef outgoing) {
    m_crIncoming = incoming;
    m_crOutgoing = outgoing;
    PaintSamples();
}

// The two boxes show only their colour.
void CColourSettingsDialog::PaintSamples() {
    auto paint = [](QLineEdit *box, ColorRef c) {
        box->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid gray; }")
                               .arg(ToQColor(c).name()));
    };
    paint(m_incomingSample, m_crIncoming);
    paint(m_outgoingSample, m_crOutgoing);
}

void CColourSettingsDialog::Change(bool incoming) {
    QColor colour = ToQColor(incoming ? m_crIncoming : m_crOutgoing);
    if (!m_pickColour(colour, this)) return;
    (incoming ? m_crIncoming : m_crOutgoing) = ToColorRef(colour);
    PaintSamples();
}

}  // namespace vexa
