#include "settings/savefailure.h"

#include <QMessageBox>

void report_save_failure(QWidget *parent, const QString &error)
{
    QMessageBox::warning(parent, QStringLiteral("Skyloom"), error);
}
