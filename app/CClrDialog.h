// The colour picker of the colour settings: the platform's colour dialog, opened on the
// colour being changed.
#pragma once

#include <QColorDialog>

namespace vexa {

class CClrDialog : public QColorDialog {
    Q_OBJECT
public:
    explicit CClrDialog(const QColor &initial, QWidget *parent = nullptr);
    // The colour the picker opens on.
    void SetColor(const QColor &color) { setCurrentColor(color); }
    QColor Chosen() const { return selectedColor(); }
};

}  // namespace vexa
