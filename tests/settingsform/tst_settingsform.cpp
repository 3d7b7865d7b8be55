#include "common/testsupport.h"

#include "app/fillrectangle.h"
#include "settings/settingsform.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {
constexpr QRgb Fill = 0xFF172230;
constexpr QRgb HoverFill = 0xFF2B5697;

const char *const FirstRadios[] = {"RadioCelsius", "RadioKnots", "RadioMM", "RadioLocalTime"};
const char *const SecondRadios[] = {"RadioFareheit", "RadioMPH", "RadioIPH", "RadioUTC"};

bool flag(const UnitFlags &flags, int index)
{
    const bool values[] = {flags.fahrenheit, flags.mph, flags.inchesPerHour, flags.utc};
    return values[index];
}

// A settings window as its owner sets it up: listening first, then handing in the flags.
struct Form
{
    explicit Form(UnitFlags flags = {}) { form.setUnits(flags); }
    TSettingsForm form;
    QSignalSpy changed{&form, &TSettingsForm::unitsChanged};
};

QRadioButton *radio(const QWidget &form, const char *name)
{
    return form.findChild<QRadioButton *>(QLatin1String(name));
}

// A click on the radio's indicator, where every radio takes clicks whatever its text.
void click_radio(QRadioButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// A click through the window, so that the widget under the pointer is found as for a user.
void click_in_window(QWidget &form, QWidget *target, QPoint at)
{
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, target->mapTo(&form, at));
}

void show_and_wait(QWidget &form)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}
} // namespace

class TestSettingsForm : public QObject
{
    Q_OBJECT

private slots:
    void radiosFollowFlagsAtCreation_data();
    void radiosFollowFlagsAtCreation();
    void showSetsRadiosAgain();
    void choosingRadioSetsFlag_data();
    void choosingRadioSetsFlag();
    void choosingCheckedRadioChangesNothing();
    void rectangleHover();
    void clickTargets_data();
    void clickTargets();
    void tabOrderFollowsBoxes();
    void windowShape();
};

void TestSettingsForm::radiosFollowFlagsAtCreation_data()
{
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<bool>("mph");
    QTest::addColumn<bool>("iph");
    QTest::addColumn<bool>("utc");
    QTest::addColumn<bool>("changed");
    // The rain pair starts with neither radio checked, so checking Milimeters counts as a
    // change; the other pairs change only when their flag is set.
    QTest::newRow("all false") << false << false << false << false << true;
    QTest::newRow("only inches") << false << false << true << false << false;
    QTest::newRow("inches and UTC") << false << false << true << true << true;
    QTest::newRow("inches and Fahrenheit") << true << false << true << false << true;
    QTest::newRow("all true") << true << true << true << true << true;
}

void TestSettingsForm::radiosFollowFlagsAtCreation()
{
    QFETCH(bool, fahrenheit);
    QFETCH(bool, mph);
    QFETCH(bool, iph);
    QFETCH(bool, utc);
    QFETCH(bool, changed);
    const UnitFlags given{fahrenheit, mph, iph, utc};
    TSettingsForm form;
    QSignalSpy spy(&form, &TSettingsForm::unitsChanged);
    form.setUnits(given);

    for (int i = 0; i < 4; ++i) {
        QCOMPARE(radio(form, FirstRadios[i])->isChecked(), !flag(given, i));
        QCOMPARE(radio(form, SecondRadios[i])->isChecked(), flag(given, i));
    }
    QCOMPARE(form.units(), given);
    QCOMPARE(!spy.isEmpty(), changed);
}

void TestSettingsForm::showSetsRadiosAgain()
{
    TSettingsForm form;
    form.setUnits({});
    QVERIFY(radio(form, "RadioKnots")->isChecked());
    // Radios moved behind the flags' back are put right when the window shows.
    for (const char *name : {"RadioFareheit", "RadioKnots", "RadioIPH", "RadioUTC"}) {
        QSignalBlocker quiet(radio(form, name));
        radio(form, name)->setChecked(true);
    }
    form.setUnits({false, true, true, false});

    show_and_wait(form);

    QVERIFY(radio(form, "RadioCelsius")->isChecked());
    QVERIFY(radio(form, "RadioMPH")->isChecked());
    QVERIFY(radio(form, "RadioIPH")->isChecked());
    QVERIFY(radio(form, "RadioLocalTime")->isChecked());
}

void TestSettingsForm::choosingRadioSetsFlag_data()
{
    QTest::addColumn<bool>("start");
    QTest::addColumn<int>("pair");
    QTest::addColumn<QString>("name");
    for (int pair = 0; pair < 4; ++pair) {
        QTest::addRow("%s", SecondRadios[pair]) << false << pair << SecondRadios[pair];
        QTest::addRow("%s", FirstRadios[pair]) << true << pair << FirstRadios[pair];
    }
}

void TestSettingsForm::choosingRadioSetsFlag()
{
    QFETCH(bool, start);
    QFETCH(int, pair);
    QFETCH(QString, name);
    Form f({start, start, start, start});
    TSettingsForm &form = f.form;
    show_and_wait(form);
    f.changed.clear();

    click_radio(radio(form, name.toLatin1().constData()));

    QVERIFY(!f.changed.isEmpty());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(flag(form.units(), i), i == pair ? !start : start);
    QCOMPARE(radio(form, FirstRadios[pair])->isChecked(), start);
    QCOMPARE(radio(form, SecondRadios[pair])->isChecked(), !start);
}

void TestSettingsForm::choosingCheckedRadioChangesNothing()
{
    for (const bool start : {false, true}) {
        Form f({start, start, start, start});
        TSettingsForm &form = f.form;
        show_and_wait(form);
        f.changed.clear();

        for (int pair = 0; pair < 4; ++pair) {
            QRadioButton *checked = radio(form, (start ? SecondRadios : FirstRadios)[pair]);
            click_radio(checked);
            QVERIFY(checked->isChecked());
            QCOMPARE(flag(form.units(), pair), start);
        }
        QVERIFY(f.changed.isEmpty());
    }
}

void TestSettingsForm::rectangleHover()
{
    TSettingsForm form;
    show_and_wait(form);
    auto *rectangle = form.findChild<TFillRectangle *>(QStringLiteral("Rectangle1"));
    auto *title = form.findChild<QLabel *>(QStringLiteral("Label2"));
    QWindow *window = form.windowHandle();
    const auto corner_pixel = [rectangle] { return rectangle->grab().toImage().pixel(2, 2); };
    QCOMPARE(rectangle->fill(), Fill);
    QCOMPARE(corner_pixel(), Fill);

    QTest::mouseMove(window, title->mapTo(&form, title->rect().center()));
    QTest::mouseMove(window, rectangle->mapTo(&form, QPoint(4, 4)));
    QTRY_COMPARE(rectangle->fill(), HoverFill);
    QCOMPARE(corner_pixel(), HoverFill);

    // Over the caption the pointer is still over the rectangle.
    const QWidget *caption = form.findChild<QLabel *>(QStringLiteral("Label1"));
    QTest::mouseMove(window, caption->mapTo(&form, caption->rect().center()));
    QCOMPARE(rectangle->fill(), HoverFill);

    QTest::mouseMove(window, title->mapTo(&form, title->rect().center()));
    QTRY_COMPARE(rectangle->fill(), Fill);
    QCOMPARE(corner_pixel(), Fill);
}

void TestSettingsForm::clickTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("offset"); // from the target's centre
    QTest::addColumn<bool>("closes");
    QTest::newRow("back button") << "Button2" << QPoint() << true;
    QTest::newRow("Back rectangle, off its text") << "Rectangle1" << QPoint(-24, -20) << true;
    QTest::newRow("Back text") << "Label1" << QPoint() << true;
    QTest::newRow("title") << "Label2" << QPoint() << false;
}

void TestSettingsForm::clickTargets()
{
    QFETCH(QString, target);
    QFETCH(QPoint, offset);
    QFETCH(bool, closes);
    Form f;
    TSettingsForm &form = f.form;
    show_and_wait(form);
    f.changed.clear();
    auto *widget = form.findChild<QWidget *>(target);
    QVERIFY(widget);

    click_in_window(form, widget, widget->rect().center() + offset);

    QCOMPARE(form.isVisible(), !closes);
    QVERIFY(f.changed.isEmpty());
}

void TestSettingsForm::tabOrderFollowsBoxes()
{
    TSettingsForm form;
    QWidget *start = radio(form, "RadioCelsius");
    QStringList boxes;
    QWidget *w = start;
    do {
        if (auto *box = qobject_cast<QGroupBox *>(w->parentWidget()))
            if (!boxes.contains(box->title()))
                boxes << box->title();
        w = w->nextInFocusChain();
    } while (w != start);
    QCOMPARE(boxes, QStringList({"Temperature", "Wind Speed", "Time", "Rain/Snow"}));
}

void TestSettingsForm::windowShape()
{
    TSettingsForm form;
    show_and_wait(form);
    QCOMPARE(form.windowTitle(), QStringLiteral("Settings"));
    QCOMPARE(form.size(), QSize(394, 455));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(form.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    QCOMPARE(form.findChild<QWidget *>(QStringLiteral("ToolBar1"))->height(), 48);
    QCOMPARE(form.findChild<QToolButton *>(QStringLiteral("Button2"))->size(), QSize(48, 48));
    auto *title = form.findChild<QLabel *>(QStringLiteral("Label2"));
    QCOMPARE(title->font().pixelSize(), 20);
    auto *display = form.findChild<QLabel *>(QStringLiteral("Label3"));
    QCOMPARE(display->text(), QStringLiteral("Display:"));
    QCOMPARE(display->pos(), QPoint(34, 6));
    QCOMPARE(display->font().pixelSize(), 16);

    // The 273-wide block sits in the middle of the scrolling column, which is 550 high.
    auto *scroll = form.findChild<QScrollArea *>(QStringLiteral("VertScrollBox1"));
    QWidget *block = display->parentWidget();
    QCOMPARE(block->width(), 273);
    const int blockCentre = block->mapTo(scroll->viewport(), block->rect().center()).x();
    QVERIFY(qAbs(blockCentre - scroll->viewport()->width() / 2) <= 1);
    QCOMPARE(scroll->widget()->height(), 550);
    QCOMPARE(scroll->verticalScrollBar()->maximum(), 550 - scroll->viewport()->height());
}

SKYLOOM_TEST_MAIN(TestSettingsForm)
#include "tst_settingsform.moc"
