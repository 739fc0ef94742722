#include "CClrDialog.h"

namespace vexa {

CClrDialog::CClrDialog(const QColor &initial, QWidget *parent) : QColorDialog(initial, parent) {
    setOption(QColorDialog::DontUseNativeDialog);
}

}  // namespace vexa
