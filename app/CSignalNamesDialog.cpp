#include "CSignalNamesDialog.h"

#include "CVexaClientDoc.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa {

namespace {

// The dialog's rows: label, the index of the name in the document's order (DlrData,
// DlrDataLong, DliData, DliDataLong, DliuiDatalong), and the length limit (0: none).
struct SignalRow {
    const char *label;
    int docIndex;
    int limit;
};
constexpr SignalRow kRows[5] = {
    {"DLRDATA", 0, 30}, {"DLIDATA", 2, 30}, {"DLRDATALONG", 1, 30}, {"DLIDATALONG", 3, 30}, {"DLIUIDATALONG", 4, 0},
};

}  // namespace

CSignalNamesDialog::CSignalNamesDialog(QWidget *parent, CVexaClientDoc &doc) : QDialog(parent), m_doc(doc) {
    setWindowTitle(tr("Signal Names Translation"));
    setMinimumWidth(520);
    auto *layout = new QVBoxLayout(this);
    for (const char *text :
         {"Some releases of Korvan have an inconsistency in the naming convention of the ISDN HW signal names "
          "appearing in the signal traces.",
          "This dialog provides the option to change the signal names Vexa should look for during the parsing.",
          "The default values are:",
          "DLRDATA is the outgoing, (short,) signal, containing split message parts",
          "DLRDATALONG is the outgoing, (long,) buffered signal with variable length",
          "DLIDATA and DLIDATALONG are the incoming signals using the same convention as above",
          "Reset button resets to the default values."}) {
        auto *label = new QLabel(tr(text), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Signal type:"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Name in the signal trace:"), this), 0, 1);
    for (int row = 0; row < 5; ++row) {
        grid->addWidget(new QLabel(kRows[row].label, this), row + 1, 0);
        m_edits[row] = new QLineEdit(QString::fromStdString(doc.m_strSignalNames[kRows[row].docIndex]), this);
        if (kRows[row].limit > 0) m_edits[row]->setMaxLength(kRows[row].limit);
        grid->addWidget(m_edits[row], row + 1, 1);
    }
    layout->addLayout(grid);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *reset = buttons->addButton(tr("Reset"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, &CSignalNamesDialog::Reset);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSignalNamesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_showError = [this](const QString &text) { QMessageBox::critical(this, tr("Error!!"), text); };
}

void CSignalNamesDialog::Reset() {
    for (int row = 0; row < 5; ++row) m_edits[row]->setText(kRows[row].label);
}

void CSignalNamesDialog::accept() {
    // Compared in the order DLRDATA, DLRDATALONG, DLIDATA, DLIDATALONG, DLIUIDATALONG.
    std::array<QString, 5> names;
    for (int row = 0; row < 5; ++row) names[kRows[row].docIndex] = m_edits[row]->text();
    for (int a = 0; a < 5; ++a) {
        for (int b = a + 1; b < 5; ++b) {
            if (!names[a].isEmpty() && names[a] == names[b]) {
                m_showError(tr("Please enter unique names in all fields"));
                return;
            }
        }
    }
    for (int i = 0; i < 5; ++i) m_doc.m_strSignalNames[i] = names[i].toStdString();
    QDialog::accept();
}

}  // namespace vexa
