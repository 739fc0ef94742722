// The Filter dialog of IP documents: which of the three IP protocols to list.
#pragma once

#include <QDialog>

class QButtonGroup;
class QRadioButton;
class QPushButton;

namespace vexa {

class CIpFilterDialog : public QDialog {
    Q_OBJECT
public:
    enum : int {
        IDD = 159,
        IDC_RAS = 1027,
        IDC_H245 = 1028,
        IDC_H2250 = 1029,
        IDC_HELP = 1026,
    };

    explicit CIpFilterDialog(QWidget *parent = nullptr);

    // The chosen protocol after OK: 0 RAS, 1 H.245, 2 H.225.0; -1 before.
    int Choice() const { return m_nChoice; }
    QRadioButton *Button(int id) const;
    QPushButton *HelpButton() const { return m_help; }

    void accept() override;

private:
    int m_nChoice = -1;
    QButtonGroup *m_group = nullptr;
    QPushButton *m_help = nullptr;
};

}  // namespace vexa
