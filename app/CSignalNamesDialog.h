// "Signal Names Translation": the five names under which the exchange's ISDN signals
// appear in a trace.
#pragma once

#include <QDialog>

#include <array>
#include <string>

class QLineEdit;

namespace vexa {

class CVexaClientDoc;

class CSignalNamesDialog : public QDialog {
    Q_OBJECT
public:
    CSignalNamesDialog(QWidget *parent, CVexaClientDoc &doc);

    // In the order DLRDATA, DLIDATA, DLRDATALONG, DLIDATALONG, DLIUIDATALONG (the order
    // of the dialog's rows).
    QLineEdit *Edit(int row) const { return m_edits[row]; }
    void Reset();
    void accept() override;

    // Shows the refusal of duplicate names; tests replace it.
    std::function<void(const QString &)> m_showError;

private:
    CVexaClientDoc &m_doc;
    std::array<QLineEdit *, 5> m_edits{};
};

}  // namespace vexa
