#include "settings/settingsform.h"

#include "app/appstate.h"
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
    app().SettingsForm = this;
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

    FormCreate();
}

TSettingsForm::~TSettingsForm()
{
    if (app().SettingsForm == this)
        app().SettingsForm = nullptr;
}

QRadioButton *TSettingsForm::RadioFareheit() const { return ui->RadioFareheit; }
QRadioButton *TSettingsForm::RadioMPH() const { return ui->RadioMPH; }
QRadioButton *TSettingsForm::RadioIPH() const { return ui->RadioIPH; }
QRadioButton *TSettingsForm::RadioUTC() const { return ui->RadioUTC; }

void TSettingsForm::FormCreate()
{
    if (TSettingsForm *form = app().SettingsForm)
        form->set_radios();
}

void TSettingsForm::FormShow() { set_radios(); }

void TSettingsForm::set_radios()
{
    const AppState &state = app();
    (state.UseFahrenheit ? ui->RadioFareheit : ui->RadioCelsius)->setChecked(true);
    (state.UseMph ? ui->RadioMPH : ui->RadioKnots)->setChecked(true);
    (state.UseInchesPerHour ? ui->RadioIPH : ui->RadioMM)->setChecked(true);
    (state.UseUtc ? ui->RadioUTC : ui->RadioLocalTime)->setChecked(true);
}

void TSettingsForm::RadioCelsiusChange()
{
    app().UseFahrenheit = !ui->RadioCelsius->isChecked();
    app().SettingsChanged = true;
}

void TSettingsForm::RadioKnotsChange()
{
    app().UseMph = !ui->RadioKnots->isChecked();
    app().SettingsChanged = true;
}

void TSettingsForm::RadioMMChange()
{
    app().UseInchesPerHour = !ui->RadioMM->isChecked();
    app().SettingsChanged = true;
}

void TSettingsForm::RadioLocalTimeChange()
{
    app().UseUtc = !ui->RadioLocalTime->isChecked();
    app().SettingsChanged = true;
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

bool settings_radio_utc_checked()
{
    if (const TSettingsForm *form = app().SettingsForm)
        return form->RadioUTC()->isChecked();
    return app().UseUtc;
}
