#pragma once

class QWidget;
class QString;

// Tells the user that the settings could not be saved; the caller goes on regardless.
void report_save_failure(QWidget *parent, const QString &error);
