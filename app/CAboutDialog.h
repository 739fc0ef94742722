// "About Vexa": the product name, release and legal notice recorded at installation.
#pragma once

#include <QDialog>

class QLabel;

namespace vexa {

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget *parent = nullptr);
    QString ProductName() const;
    QString Release() const;
    QString Copyright() const;

private:
    QLabel *m_product = nullptr;
    QLabel *m_release = nullptr;
    QLabel *m_copyright = nullptr;
};

}  // namespace vexa
