#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class THelpForm;
}

// The help window: a fixed page that explains the views, with the version and the copyright
// year filled in. Created hidden at start-up; closing it only hides it.
class THelpForm : public QDialog
{
    Q_OBJECT

public:
    // The version line shows the program's file version and build date.
    THelpForm(QString fileVersion, QString buildDate, QWidget *parent = nullptr);
    ~THelpForm() override;

    void FormCreate();
    // Replaces the text of the first child of the page element with that id; an unknown id
    // changes nothing.
    void set_html_text(const QString &id, const QString &text);

    void CloseHelpButtonClick();
    void Rectangle1MouseEnter();
    void Rectangle1MouseLeave();

private:
    std::unique_ptr<Ui::THelpForm> ui;
    QString m_fileVersion;
    QString m_buildDate;
};
