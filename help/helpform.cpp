#include "help/helpform.h"

#include "app/darkstyle.h"
#include "app/fillrectangle.h"
#include "app/toolbaricons.h"
#include "ui_helpform.h"

#include <QFile>

namespace {
QString read_help_page()
{
    QFile file(QStringLiteral(":/help/help.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The page is stored in ISO-8859-1, as its XML declaration says.
    return QString::fromLatin1(file.readAll());
}
} // namespace

// The library is static, so its resources are registered by hand.
static void init_resources() { Q_INIT_RESOURCE(help); }

THelpForm::THelpForm(QString fileVersion, QString buildDate, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::THelpForm>())
    , m_fileVersion(std::move(fileVersion))
    , m_buildDate(std::move(buildDate))
{
    init_resources();
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    ui->Button1->setIcon(back_arrow_icon(devicePixelRatioF()));
    set_font_pixel_size(ui->Label1, 20);

    connect(ui->Button1, &QToolButton::clicked, this, &THelpForm::CloseHelpButtonClick);
    ui->Rectangle1->setFill(BackAreaFill);
    connect(ui->Rectangle1, &TFillRectangle::clicked, this, &THelpForm::CloseHelpButtonClick);
    connect(ui->Rectangle1, &TFillRectangle::mouseEntered, this, &THelpForm::Rectangle1MouseEnter);
    connect(ui->Rectangle1, &TFillRectangle::mouseLeft, this, &THelpForm::Rectangle1MouseLeave);

    ui->HtPanel1->loadPage(read_help_page());
    FormCreate();
}

THelpForm::~THelpForm() = default;

void THelpForm::FormCreate()
{
    set_html_text(QStringLiteral("version"), QStringLiteral("Version: ") + m_fileVersion +
                                                 QStringLiteral(" (") + m_buildDate +
                                                 QStringLiteral(") "));
    set_html_text(QStringLiteral("year"), QString::number(2023));
}

void THelpForm::set_html_text(const QString &id, const QString &text)
{
    ui->HtPanel1->setElementText(id, text);
}

void THelpForm::CloseHelpButtonClick() { close(); }

void THelpForm::Rectangle1MouseEnter() { ui->Rectangle1->setFill(BackAreaHover); }

void THelpForm::Rectangle1MouseLeave() { ui->Rectangle1->setFill(BackAreaFill); }
