#include "CFilterDialog.h"

#include "CVexaClientDoc.h"
#include "FilteredFills.h"
#include "QtPlatform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace vexa {

namespace {

std::vector<std::string> CallReferences(CVexaClientDoc &doc) { return GatherCallReferences(doc.m_IsdnParser); }
std::vector<std::string> CallingParties(CVexaClientDoc &doc) { return GatherCallingPartyNumbers(doc.m_IsdnParser); }
std::vector<std::string> EquNumbers(CVexaClientDoc &doc) { return GatherEquNumbers(doc.m_IsdnParser); }
std::vector<std::string> ScpIds(CVexaClientDoc &doc) { return GatherScpIds(doc.m_DectParser); }
std::vector<std::string> TransactionFlags(CVexaClientDoc &doc) { return GatherTransactionFlags(doc.m_DectParser); }

QString Id(int id) { return QStringLiteral("control%1").arg(id); }

}  // namespace

CFilterDialog::CFilterDialog(int &kind, std::string &value, QWidget *parent, CVexaClientDoc &doc)
    : QDialog(parent), m_doc(doc), m_nKind(kind), m_strValue(value) {
    setWindowTitle(QStringLiteral("Filter"));
    setObjectName(QStringLiteral("dialog%1").arg(IDD));

    // The buttons stand inside the "Filter" frame but are not its children, so that the
    // frame can be hidden on its own.
    auto *grid = new QGridLayout(this);
    m_group = new QGroupBox(QStringLiteral("Filter"), this);
    m_group->setObjectName(Id(IDC_GROUP));
    m_first = new QRadioButton(QStringLiteral("Call Reference"), this);
    m_second = new QRadioButton(QStringLiteral("Calling Party Number"), this);
    m_equ = new QRadioButton(QStringLiteral("EQU No"), this);
    m_first->setObjectName(Id(IDC_BUTTON_FIRST));
    m_second->setObjectName(Id(IDC_BUTTON_SECOND));
    m_equ->setObjectName(Id(IDC_BUTTON_EQU));
    grid->addWidget(m_group, 0, 0, 5, 3);
    grid->setRowMinimumHeight(0, fontMetrics().height() + 4);
    grid->setColumnMinimumWidth(0, 12);
    grid->setColumnMinimumWidth(2, 12);
    grid->setRowMinimumHeight(4, 8);
    grid->addWidget(m_first, 1, 1);
    grid->addWidget(m_second, 2, 1);
    grid->addWidget(m_equ, 3, 1);

    m_label = new QLabel(QStringLiteral("Call Reference:"), this);
    m_label->setObjectName(Id(IDC_LABEL));
    m_values = new QComboBox(this);
    m_values->setObjectName(Id(IDC_VALUES));
    m_values->setEditable(false);
    m_values->setMinimumWidth(200);
    m_label->setBuddy(m_values);
    grid->addWidget(m_label, 5, 0, 1, 3);
    grid->addWidget(m_values, 6, 0, 1, 3);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_ok->setObjectName(Id(IDC_OK));
    m_cancel->setObjectName(Id(IDC_CANCEL));
    m_ok->setDefault(true);
    auto *buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 7, 0, 1, 3);

    connect(m_first, &QRadioButton::clicked, this, &CFilterDialog::OnFirstButton);
    connect(m_second, &QRadioButton::clicked, this, &CFilterDialog::OnSecondButton);
    connect(m_equ, &QRadioButton::clicked, this, &CFilterDialog::OnEquButton);
    connect(m_ok, &QPushButton::clicked, this, &CFilterDialog::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &CFilterDialog::OnCancel);

    OnInitDialog();
}

CFilterDialog::~CFilterDialog() = default;

QRadioButton *CFilterDialog::Button(int id) const {
    switch (id) {
    case IDC_BUTTON_FIRST: return m_first;
    case IDC_BUTTON_SECOND: return m_second;
    case IDC_BUTTON_EQU: return m_equ;
    default: return nullptr;
    }
}

bool CFilterDialog::IsIsdn() const { return m_doc.m_nRunProtocol >= 1 && m_doc.m_nRunProtocol <= 4; }

void CFilterDialog::OnInitDialog() {
    if (IsIsdn()) {
        m_first->setChecked(true);
        Gather(m_callReferences, &CallReferences);
    } else {
        m_equ->hide();
        m_group->hide();
        // The first button names what it lists, as the label beside the values does.
        m_first->setText(QStringLiteral("SCP ID"));
        m_second->setText(QStringLiteral("Tran Flag:"));
        m_second->show();
        m_label->setText(QStringLiteral("SCP ID:"));
        m_first->setChecked(true);
        Gather(m_scpIds, &ScpIds);
    }
}

void CFilterDialog::FillFromCache(const std::vector<std::string> &cache) {
    m_values->clear();
    for (const std::string &entry : cache) m_values->addItem(QString::fromStdString(entry));
    if (!cache.empty()) m_values->setCurrentIndex(0);
}

void CFilterDialog::Gather(std::vector<std::string> &cache, std::vector<std::string> (*gather)(CVexaClientDoc &)) {
    cache = gather(m_doc);
    FillFromCache(cache);
}

void CFilterDialog::OnFirstButton() {
    if (m_nCurrentButton != 1) {
        if (IsIsdn()) {
            m_label->setText(QStringLiteral("Call Reference:"));
            FillFromCache(m_callReferences);
        } else {
            m_label->setText(QStringLiteral("SCP ID:"));
            FillFromCache(m_scpIds);
        }
    }
    m_nCurrentButton = 1;
}

void CFilterDialog::OnSecondButton() {
    if (m_nCurrentButton != 2) {
        if (IsIsdn()) {
            m_label->setText(QStringLiteral("Calling Party:"));
            if (m_callingParties.empty())
                Gather(m_callingParties, &CallingParties);
            else
                FillFromCache(m_callingParties);
        } else {
            m_label->setText(QStringLiteral("Tran Flag:"));
            if (m_transactionFlags.empty())
                Gather(m_transactionFlags, &TransactionFlags);
            else
                FillFromCache(m_transactionFlags);
        }
    }
    m_nCurrentButton = 2;
}

void CFilterDialog::OnEquButton() {
    m_label->setText(QStringLiteral("EQU No:"));
    if (m_equNumbers.empty())
        Gather(m_equNumbers, &EquNumbers);
    else
        FillFromCache(m_equNumbers);
    m_nCurrentButton = 3;
}

void CFilterDialog::OnOK() {
    if (m_values->count() == 0) {
        ShowStopMessage(this, Text(IDS_NO_ITEMS));
        return;
    }
    const bool isdn = IsIsdn();
    if (m_first->isChecked())
        m_nKind = isdn ? kFilterCallReference : kFilterScpId;
    else if (m_second->isChecked())
        m_nKind = isdn ? kFilterCallingParty : kFilterTransactionFlag;
    else if (m_equ->isChecked() && isdn)
        m_nKind = kFilterEquNumber;
    if (m_values->currentIndex() < 0) {
        accept();
        return;
    }
    const std::string entry = m_values->currentText().toStdString();
    switch (m_nKind) {
    case kFilterCallReference: m_strValue = CallReferenceKey(entry); break;
    case kFilterEquNumber: m_strValue = EquNumberKey(entry); break;
    case kFilterTransactionFlag: m_strValue = TransactionFlagKey(entry); break;
    default: m_strValue = entry; break;
    }
    accept();
}

void CFilterDialog::OnCancel() {
    m_nKind = kFilterNone;
    m_strValue.clear();
    QDialog::reject();
}

}  // namespace vexa
