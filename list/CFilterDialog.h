// The Filter dialog of ISDN and DECT documents: the user picks a filter kind with one of
// three buttons and a value from the values the document's parser component knows.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vexa {

class CVexaClientDoc;

class CFilterDialog : public QDialog {
    Q_OBJECT
public:
    // Control ids of the dialog's resource.
    enum : int {
        IDD = 136,
        IDC_BUTTON_FIRST = 1016,   // "Call Reference" (ISDN), SCP ID (DECT)
        IDC_BUTTON_SECOND = 1017,  // "Calling Party Number" (ISDN), "Tran Flag:" (DECT)
        IDC_BUTTON_EQU = 1004,     // "EQU No" (ISDN only)
        IDC_LABEL = 1019,
        IDC_VALUES = 1020,
        IDC_GROUP = 1022,
        IDC_OK = 1011,
        IDC_CANCEL = 1012,
    };

    // kind and value receive the choice when the dialog closes: a kind 1 to 5 and the key
    // the parser component looks for on OK, kind 0 and an empty value on Cancel.
    CFilterDialog(int &kind, std::string &value, QWidget *parent, CVexaClientDoc &doc);
    ~CFilterDialog() override;

    QRadioButton *Button(int id) const;
    QLabel *Label() const { return m_label; }
    QComboBox *Values() const { return m_values; }
    QGroupBox *Group() const { return m_group; }
    QPushButton *OkButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }

    void OnOK();
    void OnCancel();
    void reject() override { OnCancel(); }

private:
    bool IsIsdn() const;
    void OnInitDialog();
    void OnFirstButton();
    void OnSecondButton();
    void OnEquButton();
    // Shows a cache's entries and selects the first.
    void FillFromCache(const std::vector<std::string> &cache);
    // Gathers a cache from the parser component and shows it.
    void Gather(std::vector<std::string> &cache, std::vector<std::string> (*gather)(CVexaClientDoc &));

    CVexaClientDoc &m_doc;
    int &m_nKind;
    std::string &m_strValue;
    int m_nCurrentButton = 1;
    QRadioButton *m_first = nullptr;
    QRadioButton *m_second = nullptr;
    QRadioButton *m_equ = nullptr;
    QGroupBox *m_group = nullptr;
    QLabel *m_label = nullptr;
    QComboBox *m_values = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    std::vector<std::string> m_callReferences;
    std::vector<std::string> m_equNumbers;
    std::vector<std::string> m_callingParties;
    std::vector<std::string> m_scpIds;
    std::vector<std::string> m_transactionFlags;
};

}  // namespace vexa
