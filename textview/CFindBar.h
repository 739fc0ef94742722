// The find bar under a text pane: the text to find, "Match case" and "Whole word", the
// buttons for the next and the previous place, the count of places, and a close button.
#pragma once

#include "TextFind.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

class CFindBar : public QWidget {
    Q_OBJECT
public:
    explicit CFindBar(QWidget *parent = nullptr);

    QLineEdit *Edit() const { return m_edit; }
    QCheckBox *MatchCase() const { return m_matchCase; }
    QCheckBox *WholeWord() const { return m_wholeWord; }
    QLabel *Count() const { return m_count; }
    vexa::FindOptions Options() const;
    // "3 of 17", "No matches", with "wrapped" after a step past the end or the start.
    void ShowCount(int current, int total, bool wrapped);

signals:
    void Changed();
    void Next();
    void Previous();
    void Closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *m_edit = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_wholeWord = nullptr;
    QLabel *m_count = nullptr;
};
