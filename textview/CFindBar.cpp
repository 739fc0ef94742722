#include "CFindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

CFindBar::CFindBar(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(6);
    auto *label = new QLabel(tr("Find:"), this);
    m_edit = new QLineEdit(this);
    m_edit->setClearButtonEnabled(true);
    m_edit->setPlaceholderText(tr("Text to find"));
    label->setBuddy(m_edit);
    auto button = [this](const QString &text, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        return b;
    };
    QToolButton *previous = button(QStringLiteral("\u25B2"), tr("Previous (Shift+F3)"));
    QToolButton *next = button(QStringLiteral("\u25BC"), tr("Next (F3)"));
    m_matchCase = new QCheckBox(tr("Match &case"), this);
    m_wholeWord = new QCheckBox(tr("&Whole word"), this);
    m_count = new QLabel(this);
    m_count->setMinimumWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("00000 of 00000 (wrapped)")));
    QToolButton *close = button(QStringLiteral("\u2715"), tr("Close (Esc)"));
    layout->addWidget(label);
    layout->addWidget(m_edit, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_wholeWord);
    layout->addWidget(m_count);
    layout->addWidget(close);
    connect(m_edit, &QLineEdit::textChanged, this, &CFindBar::Changed);
    connect(m_matchCase, &QCheckBox::toggled, this, &CFindBar::Changed);
    connect(m_wholeWord, &QCheckBox::toggled, this, &CFindBar::Changed);
    connect(next, &QToolButton::clicked, this, &CFindBar::Next);
    connect(previous, &QToolButton::clicked, this, &CFindBar::Previous);
    connect(close, &QToolButton::clicked, this, &CFindBar::Closed);
}

vexa::FindOptions CFindBar::Options() const { return {m_matchCase->isChecked(), m_wholeWord->isChecked()}; }

void CFindBar::ShowCount(int current, int total, bool wrapped) {
    if (m_edit->text().isEmpty()) m_count->clear();
    else if (total == 0) m_count->setText(tr("No matches"));
    else if (wrapped) m_count->setText(tr("%1 of %2 (wrapped)").arg(current + 1).arg(total));
    else m_count->setText(tr("%1 of %2").arg(current + 1).arg(total));
}

void CFindBar::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Escape: emit Closed(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & Qt::ShiftModifier) emit Previous();
        else emit Next();
        return;
    case Qt::Key_F3:
        if (event->modifiers() & Qt::ShiftModifier) emit Previous();
        else emit Next();
        return;
    default: QWidget::keyPressEvent(event);
    }
}
