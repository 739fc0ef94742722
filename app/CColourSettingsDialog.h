// "Colour settings": the colours of incoming and outgoing signals in the result text.
#pragma once

#include "VexaSettings.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vexa {

class CColourSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CColourSettingsDialog(QWidget *parent = nullptr);

    void SetColours(ColorRef incoming, ColorRef outgoing);
    ColorRef m_crIncoming = Rgb(255, 0, 0);
    ColorRef m_crOutgoing = Rgb(0, 0, 255);

    QPushButton *ChangeIncomingButton() const { return m_changeIncoming; }
    QPushButton *ChangeOutgoingButton() const { return m_changeOutgoing; }
    QLineEdit *IncomingSample() const { return m_incomingSample; }
    QLineEdit *OutgoingSample() const { return m_outgoingSample; }

    // The picker used by the two Change buttons; tests replace it.
    std::function<bool(QColor &colour, QWidget *parent)> m_pickColour;

private:
    void Change(bool incoming);
    void PaintSamples();

    QLineEdit *m_incomingSample = nullptr;
    QLineEdit *m_outgoingSample = nullptr;
    QPushButton *m_changeIncoming = nullptr;
    QPushButton *m_changeOutgoing = nullptr;
};

}  // namespace vexa
