#include "CSummaryWindow.h"

#include <QHeaderView>

namespace vexa {

CSummaryWindow::CSummaryWindow(QWidget *parent) : QTreeWidget(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Summary"));
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item, int) { OnChosen(item); });
    resize(640, 480);
}

void CSummaryWindow::SetSummary(const TraceSummary &summary) {
    clear();
    auto section = [&](const QString &title, const std::vector<SummaryLine> &lines) {
        auto *top = new QTreeWidgetItem(this, {QStringLiteral("%1 (%2)").arg(title).arg(lines.size())});
        for (const SummaryLine &l : lines) {
            auto *item = new QTreeWidgetItem(top, {QString::fromStdString(l.text)});
            if (!l.sequences.empty()) item->setData(0, Qt::UserRole, static_cast<int>(l.sequences.front()));
        }
        top->setExpanded(true);
    };
    section(tr("Messages by type and direction"), summary.messageTypes);
    section(tr("Causes"), summary.causes);
    section(tr("Invalid messages"), summary.invalid);
    section(tr("Calls that never ended"), summary.unended);
}

void CSummaryWindow::OnChosen(QTreeWidgetItem *item) {
    if (!item) return;
    const QVariant sequence = item->data(0, Qt::UserRole);
    if (sequence.isValid()) emit SignalChosen(sequence.toInt());
}

}  // namespace vexa
