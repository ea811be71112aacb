// The incident icon's window.
#include "shell/FrmError.h"

#include <QApplication>
#include <QStyle>

FrmError::FrmError() : Form("FrmError") {
    setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical));
}
