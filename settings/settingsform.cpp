#include "settings/settingsform.h"

#include "app/darkstyle.h"
#include "app/fillrectangle.h"
#include "app/toolbaricons.h"
#include "ui_settingsform.h"

#include <QMouseEvent>

TSettingsForm::TSettingsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TSettingsForm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(394, 455);

    ui->Button2->setIcon(back_arrow_icon(devicePixelRatioF()));
    ui->Rectangle1->setFill(BackAreaFill);
    // The caption is part of the rectangle: hovering or clicking it counts for the rectangle.
    ui->Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    set_font_pixel_size(ui->Label2, 20);
    set_font_pixel_size(ui->Label3, 16);

    connect(ui->RadioCelsius, &QRadioButton::toggled, this, &TSettingsForm::RadioCelsiusChange);
    connect(ui->RadioKnots, &QRadioButton::toggled, this, &TSettingsForm::RadioKnotsChange);
    connect(ui->RadioMM, &QRadioButton::toggled, this, &TSettingsForm::RadioMMChange);
    connect(ui->RadioLocalTime, &QRadioButton::toggled, this, &TSettingsForm::RadioLocalTimeChange);
    connect(ui->Button2, &QToolButton::clicked, this, &TSettingsForm::Button2Click);
    connect(ui->Rectangle1, &TFillRectangle::clicked, this, &TSettingsForm::Button2Click);
    connect(ui->Rectangle1, &TFillRectangle::mouseEntered, this,
            &TSettingsForm::Rectangle1MouseEnter);
    connect(ui->Rectangle1, &TFillRectangle::mouseLeft, this, &TSettingsForm::Rectangle1MouseLeave);
    ui->Label2->installEventFilter(this);
}

TSettingsForm::~TSettingsForm() = default;

QRadioButton *TSettingsForm::RadioFareheit() const { return ui->RadioFareheit; }
QRadioButton *TSettingsForm::RadioMPH() const { return ui->RadioMPH; }
QRadioButton *TSettingsForm::RadioIPH() const { return ui->RadioIPH; }
QRadioButton *TSettingsForm::RadioUTC() const { return ui->RadioUTC; }

UnitFlags TSettingsForm::units() const { return m_units; }

void TSettingsForm::setUnits(const UnitFlags &units)
{
    m_units = units;
    set_radios();
}

void TSettingsForm::FormShow() { set_radios(); }

void TSettingsForm::set_radios()
{
    (m_units.fahrenheit ? ui->RadioFareheit : ui->RadioCelsius)->setChecked(true);
    (m_units.mph ? ui->RadioMPH : ui->RadioKnots)->setChecked(true);
    (m_units.inchesPerHour ? ui->RadioIPH : ui->RadioMM)->setChecked(true);
    (m_units.utc ? ui->RadioUTC : ui->RadioLocalTime)->setChecked(true);
}

void TSettingsForm::RadioCelsiusChange()
{
    m_units.fahrenheit = !ui->RadioCelsius->isChecked();
    emit unitsChanged();
}

void TSettingsForm::RadioKnotsChange()
{
    m_units.mph = !ui->RadioKnots->isChecked();
    emit unitsChanged();
}

void TSettingsForm::RadioMMChange()
{
    m_units.inchesPerHour = !ui->RadioMM->isChecked();
    emit unitsChanged();
}

void TSettingsForm::RadioLocalTimeChange()
{
    m_units.utc = !ui->RadioLocalTime->isChecked();
    emit unitsChanged();
}

void TSettingsForm::Button2Click() { close(); }

void TSettingsForm::Label2MouseUp() {}

void TSettingsForm::Rectangle1MouseEnter() { ui->Rectangle1->setFill(BackAreaHover); }

void TSettingsForm::Rectangle1MouseLeave() { ui->Rectangle1->setFill(BackAreaFill); }

void TSettingsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

bool TSettingsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Label2 && event->type() == QEvent::MouseButtonRelease)
        Label2MouseUp();
    return QDialog::eventFilter(watched, event);
}
