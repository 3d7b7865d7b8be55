#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TSettingsForm;
}
class QRadioButton;

// The settings window: unit and time choices as radio pairs. Every change of a pair goes
// straight into the unit flags of the application state; saving is left to the store.
class TSettingsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSettingsForm(QWidget *parent = nullptr);
    ~TSettingsForm() override;

    QRadioButton *RadioFareheit() const;
    QRadioButton *RadioMPH() const;
    QRadioButton *RadioIPH() const;
    QRadioButton *RadioUTC() const;

    void FormCreate();
    void FormShow();
    // Checks, in each pair, the radio that matches its flag.
    void set_radios();
    void RadioCelsiusChange();
    void RadioKnotsChange();
    void RadioMMChange();
    void RadioLocalTimeChange();
    void Button2Click();
    // A click on the title is taken and does nothing.
    void Label2MouseUp();
    void Rectangle1MouseEnter();
    void Rectangle1MouseLeave();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TSettingsForm> ui;
};

// Whether the clock text should be in UTC: the window's UTC radio while the window exists,
// else the stored flag.
bool settings_radio_utc_checked();
