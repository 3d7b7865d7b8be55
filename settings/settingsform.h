#pragma once

#include "core/unitflags.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TSettingsForm;
}
class QRadioButton;

// The settings window: unit and time choices as radio pairs. Every change of a pair is
// announced at once; keeping and saving the choices is left to the owner.
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

    // The flags as the radio pairs last set them.
    UnitFlags units() const;
    // The flags the radios are set from, now and whenever the window is shown.
    void setUnits(const UnitFlags &units);

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

signals:
    // A radio of some pair changed, by the user or by set_radios.
    void unitsChanged();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TSettingsForm> ui;
    UnitFlags m_units;
};
