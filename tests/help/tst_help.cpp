#include "common/testsupport.h"

#include "app/fillrectangle.h"
#include "help/helpform.h"
#include "help/htmlpanel.h"
#include "help/pagedom.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>

#include <functional>

namespace {
THtmlPanel *panel_of(const THelpForm &form) { return form.findChild<THtmlPanel *>("HtPanel1"); }

QString element_text(const THtmlPanel *panel, const QString &id)
{
    return element_by_id(panel->page(), id).text();
}

// Where a piece of text is drawn, in viewport coordinates.
QRect text_rect(QTextBrowser *browser, const QString &text)
{
    const QTextCursor found = browser->document()->find(text);
    QRect start = browser->cursorRect(QTextCursor(found.block()));
    QTextCursor end(found);
    end.setPosition(found.selectionEnd());
    return start.united(browser->cursorRect(end));
}

QPoint middle_of_text(QTextBrowser *browser, const QString &text)
{
    return text_rect(browser, text).center();
}

bool is_red(QRgb c) { return qRed(c) > 180 && qGreen(c) < 80 && qBlue(c) < 80; }
bool is_white(QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200; }
bool is_green(QRgb c) { return qGreen(c) > 180 && qRed(c) < 80 && qBlue(c) < 80; }

int count_pixels(const QImage &image, const QRect &area, bool (*test)(QRgb))
{
    int n = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

QImage grab_viewport(QTextBrowser *browser)
{
    return browser->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Counts the URLs the desktop would have been asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

using Gesture = std::function<void(QTextBrowser *)>;

const char *const LinkPage = "<html><body><p>Before the <a href=\"https://example.org/x\">link "
                             "text here</a> and <a href=\"mailto:someone@example.org\">mail "
                             "link</a> after.</p></body></html>";
} // namespace

Q_DECLARE_METATYPE(Gesture)

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void versionAndYear_data();
    void versionAndYear();
    void windowLayout();

    void setElementText_data();
    void setElementText();
    void unknownIdLeavesFormPageAlone();
    void noDocumentChangesNothing();
    void keepsScrollPosition();

    void pageIsLatin1Xhtml();
    void pageSections();
    void rendersWhiteOnBlackWithRedHeadings();
    void scrollBars_data();
    void scrollBars();
    void ctrlWheelDoesNotZoom();
    void nothingCanBeSelected_data();
    void nothingCanBeSelected();
    void linksOpenNothing();
    void fetchesNothing_data();
    void fetchesNothing();

    void backAreaHover();
    void closing_data();
    void closing();
    void pressInsideReleaseOutsideKeepsOpen();
    void keysAndMouseSection();
};

void TestHelp::versionAndYear_data()
{
    QTest::addColumn<QString>("fileVersion");
    QTest::addColumn<QString>("expected");
    QTest::newRow("version block") << "1.0.7.0"
                                   << "Version: 1.0.7.0 (9/22/2023) ";
    QTest::newRow("no version block") << ""
                                      << "Version:  (9/22/2023) ";
}

void TestHelp::versionAndYear()
{
    QFETCH(QString, fileVersion);
    QFETCH(QString, expected);
    THelpForm form(fileVersion, QStringLiteral("9/22/2023"));
    THtmlPanel *panel = panel_of(form);
    QCOMPARE(element_text(panel, "version"), expected);
    QCOMPARE(element_text(panel, "year"), QStringLiteral("2023"));
    // And what is on screen, not just in the DOM; HTML shows runs of blanks as one.
    const QString shown = panel->toPlainText().simplified();
    QVERIFY2(shown.contains(expected.simplified()), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("\u00A9 2023 Brightwell Software")));
}

void TestHelp::windowLayout()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Help"));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(QApplication::activeModalWidget(), &form);
    QCOMPARE(form.size(), QSize(628, 480));

    auto widget = [&](const char *name) { return form.findChild<QWidget *>(name)->geometry(); };
    QCOMPARE(widget("ToolBar1"), QRect(0, 0, 628, 44));
    QCOMPARE(widget("Layout1"), QRect(0, 0, 103, 44));
    QCOMPARE(widget("Button1"), QRect(0, 0, 44, 44));
    QCOMPARE(widget("Rectangle1"), QRect(44, 0, 59, 44));
    QCOMPARE(widget("Layout2"), QRect(103, 0, 525, 44));
    QCOMPARE(widget("HtPanel1"), QRect(0, 44, 628, 436));

    auto *title = form.findChild<QLabel *>("Label1");
    QCOMPARE(title->text(), QStringLiteral("Help"));
    QCOMPARE(title->font().pixelSize(), 20);
    QVERIFY(qAbs(title->geometry().center().x() - 525 / 2) <= 1);
    auto *back = form.findChild<QLabel *>("Label2");
    QCOMPARE(back->text(), QStringLiteral("Back"));
    QVERIFY(qAbs(back->geometry().center().x() - 59 / 2) <= 1);
    QCOMPARE(form.findChild<TFillRectangle *>("Rectangle1")->fill(), 0xFF172230u);
}

void TestHelp::setElementText_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("shownText");
    const QString page =
        "<html><body><div><div><p id=\"text\">old<b>bold</b><i>it</i> tail</p></div></div>"
        "<p id=\"element\"><span>inner<i>deep</i></span> rest<b>keep</b></p>"
        "<p id=\"empty\"></p><p>plain</p></body></html>";
    QTest::newRow("first child is text")
        << "text" << true << QString(page).replace("old<b>", "NEW<b>") << "NEWboldit tail";
    QTest::newRow("first child is an element, after a nested subtree")
        << "element" << true
        << QString(page).replace("<span>inner<i>deep</i></span>", "<span>NEW</span>")
        << "NEW restkeep";
    QTest::newRow("no children") << "empty" << true
                                 << QString(page).replace("\"empty\"></p>", "\"empty\">NEW</p>")
                                 << "NEW";
    QTest::newRow("unknown id") << "nosuch" << false << page << "oldboldit tail";
    // Elements without an id attribute must not answer to the empty id.
    QTest::newRow("empty id") << "" << false << page << "oldboldit tail";
}

void TestHelp::setElementText()
{
    QFETCH(QString, id);
    QFETCH(bool, changed);
    QFETCH(QString, expected);
    QFETCH(QString, shownText);
    const QString page =
        "<html><body><div><div><p id=\"text\">old<b>bold</b><i>it</i> tail</p></div></div>"
        "<p id=\"element\"><span>inner<i>deep</i></span> rest<b>keep</b></p>"
        "<p id=\"empty\"></p><p>plain</p></body></html>";
    THtmlPanel panel;
    QVERIFY(panel.loadPage(page));
    const QString shownBefore = panel.toPlainText();

    QCOMPARE(panel.setElementText(id, "NEW"), changed);

    QDomDocument want;
    QVERIFY(want.setContent(expected));
    QCOMPARE(panel.page().toString(-1), want.toString(-1));
    // Shown again as written: no blank may creep in between adjacent inline elements.
    const QString shown = panel.toPlainText();
    QVERIFY2(shown.contains(shownText), qPrintable(shown));
    QVERIFY(shown.contains("plain"));
    if (!changed)
        QCOMPARE(shown, shownBefore);
}

void TestHelp::unknownIdLeavesFormPageAlone()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    THtmlPanel *panel = panel_of(form);
    const QString page = panel->page().toString(-1);
    const QString shown = panel->toPlainText();
    form.set_html_text("nosuch", "x");
    form.set_html_text("", "x");
    QCOMPARE(panel->page().toString(-1), page);
    QCOMPARE(panel->toPlainText(), shown);
}

void TestHelp::noDocumentChangesNothing()
{
    THtmlPanel empty;
    QVERIFY(!empty.setElementText("version", "x"));
    QVERIFY(empty.page().isNull());
    QVERIFY(empty.toPlainText().isEmpty());

    // Not well-formed: shown as it is, but there is no DOM to change.
    THtmlPanel broken;
    QVERIFY(!broken.loadPage("<html><body><p id=\"version\">Version: <br></p></body></html>"));
    QVERIFY(broken.page().isNull());
    const QString shown = broken.toPlainText();
    QVERIFY(shown.contains("Version:"));
    QVERIFY(!broken.setElementText("version", "x"));
    QCOMPARE(broken.toPlainText(), shown);
}

void TestHelp::keepsScrollPosition()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QScrollBar *bar = panel_of(form)->verticalScrollBar();
    QVERIFY(bar->maximum() > 100);
    bar->setValue(100);
    form.set_html_text("year", "2024");
    QCOMPARE(bar->value(), 100);
    QVERIFY(panel_of(form)->toPlainText().contains("2024"));
}

void TestHelp::pageIsLatin1Xhtml()
{
    QFile file(":/help/help.html");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The degree and copyright signs are single ISO-8859-1 bytes, not UTF-8 pairs.
    QVERIFY(bytes.contains('\xB0'));
    QVERIFY(bytes.contains('\xA9'));
    QVERIFY(!bytes.contains("\xC2\xB0"));
    QVERIFY(!bytes.contains("\xC2\xA9"));

    // Parsed from bytes, the XML declaration alone decides the encoding.
    QDomDocument dom;
    QString error;
    int line = 0;
    QVERIFY2(dom.setContent(bytes, &error, &line),
             qPrintable(QString("%1 at line %2").arg(error).arg(line)));
    QCOMPARE(dom.doctype().name(), QStringLiteral("html"));
    QCOMPARE(dom.doctype().publicId(), QStringLiteral("-//W3C//DTD XHTML 1.0 Transitional//EN"));
    const QDomElement meta =
        dom.documentElement().firstChildElement("head").firstChildElement("meta");
    QCOMPARE(meta.attribute("content"),
             QStringLiteral("application/xhtml+xml; charset=ISO-8859-1"));
    QCOMPARE(dom.documentElement().firstChildElement("head").firstChildElement("title").text(),
             QStringLiteral("Skyloom Help"));

    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    const QString shown = panel_of(form)->toPlainText();
    // Whole phrases, so that a wrong decoding ("\u00C2\u00B0C") cannot pass for the right one.
    for (const QString &phrase : {QStringLiteral("in \u00B0C or \u00B0F"),
                                  QStringLiteral("\u00A9 2023 Brightwell Software"),
                                  QStringLiteral("Today\u2019s temperature")})
        QVERIFY2(shown.contains(phrase), qPrintable(phrase));
    QVERIFY(!shown.contains(QChar(0x00C2)));
    QVERIFY(!shown.contains(QChar::ReplacementCharacter));
    QCOMPARE(panel_of(form)->documentTitle(), QStringLiteral("Skyloom Help"));
}

void TestHelp::pageSections()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    const QDomDocument &page = panel_of(form)->page();
    const QDomElement body = page.documentElement().firstChildElement("body");
    QVERIFY(body.attribute("style").contains("background-color: black"));
    const QDomElement table = body.firstChildElement("table");
    QCOMPARE(table.attribute("width"), QStringLiteral("96%"));
    QCOMPARE(table.attribute("align"), QStringLiteral("center"));
    QCOMPARE(table.attribute("border"), QStringLiteral("0"));
    const QDomElement cell = table.firstChildElement("tr").firstChildElement("td");

    QStringList headings;
    int rules = 0;
    for (QDomElement e = cell.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == "h1" || e.tagName() == "h2") {
            headings << e.tagName() + ":" + e.text();
            QCOMPARE(e.attribute("align"), QStringLiteral("center"));
        } else if (e.tagName() == "hr") {
            ++rules;
        }
    }
    const QStringList expected = {"h1:Skyloom Help",    "h2:Temperature",    "h2:Rain / Snow",
                                  "h2:Wind / Pressure", "h2:Climate Change", "h2:Day / Night",
                                  "h2:Settings",        "h2:Keys and mouse", "h2:Data"};
    QCOMPARE(headings, expected);
    QVERIFY(rules >= expected.size() - 1);
    const QString text = cell.text();
    QVERIFY(text.contains("Climate Reanalyzer"));
    QVERIFY(text.contains("Climate Change Institute at the University of Maine"));
    QVERIFY(text.contains("NOMADS"));
}

void TestHelp::rendersWhiteOnBlackWithRedHeadings()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    THtmlPanel *panel = panel_of(form);
    const QImage shot = grab_viewport(panel);

    int black = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            black += (shot.pixel(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
    QVERIFY2(black > shot.width() * shot.height() * 7 / 10, "the page is not on black");
    QCOMPARE(shot.pixel(2, 2) & 0xFFFFFF, 0u);

    const QRect heading = text_rect(panel, "Skyloom Help");
    QVERIFY(count_pixels(shot, heading, is_red) > 30);
    QCOMPARE(count_pixels(shot, heading, is_white), 0);
    const QRect paragraph = text_rect(panel, "Drag the globe");
    QVERIFY(count_pixels(shot, paragraph, is_white) > 30);
    QCOMPARE(count_pixels(shot, paragraph, is_red), 0);

    // Every heading, also those scrolled out of view, is red; all other text white.
    int headingBlocks = 0;
    for (QTextBlock block = panel->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.text().trimmed().isEmpty())
                continue;
            const QColor colour = fragment.charFormat().foreground().color();
            const bool isHeading = block.blockFormat().headingLevel() > 0;
            QVERIFY2(colour == (isHeading ? QColor(Qt::red) : QColor(Qt::white)),
                     qPrintable(fragment.text()));
        }
        headingBlocks += block.blockFormat().headingLevel() > 0 ? 1 : 0;
    }
    QCOMPARE(headingBlocks, 9);
}

void TestHelp::scrollBars_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("628 x 480") << QSize(628, 480);
    QTest::newRow("short") << QSize(628, 200);
    QTest::newRow("narrow") << QSize(320, 480);
}

void TestHelp::scrollBars()
{
    QFETCH(QSize, size);
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.resize(size);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    THtmlPanel *panel = panel_of(form);
    QTRY_COMPARE(panel->width(), size.width());
    QVERIFY(panel->verticalScrollBar()->isVisible());
    QVERIFY(!panel->horizontalScrollBar()->isVisible());
    // The text wraps to the width: nothing lies beyond the right edge.
    QCOMPARE(panel->horizontalScrollBar()->maximum(), 0);
    QVERIFY(panel->document()->size().width() <= panel->viewport()->width());
}

void TestHelp::ctrlWheelDoesNotZoom()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    THtmlPanel *panel = panel_of(form);
    const qreal size = panel->font().pointSizeF();
    const qreal height = panel->document()->size().height();
    const QPoint at = panel->viewport()->rect().center();
    QWheelEvent wheel(at, panel->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(panel->viewport(), &wheel);
    QCOMPARE(panel->font().pointSizeF(), size);
    QCOMPARE(panel->document()->size().height(), height);
}

void TestHelp::nothingCanBeSelected_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::newRow("mouse drag") << Gesture([](QTextBrowser *b) {
        QWidget *v = b->viewport();
        const QPoint from = text_rect(b, "Drag the globe").topLeft() + QPoint(2, 4);
        const QPoint to = middle_of_text(b, "pinch to zoom");
        QTest::mousePress(v, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 5; ++i)
            QTest::mouseMove(v, from + (to - from) * i / 5);
        QTest::mouseRelease(v, Qt::LeftButton, {}, to);
    });
    QTest::newRow("double click") << Gesture([](QTextBrowser *b) {
        QTest::mouseDClick(b->viewport(), Qt::LeftButton, {}, middle_of_text(b, "globe"));
    });
    QTest::newRow("select all keys") << Gesture([](QTextBrowser *b) {
        b->setFocus();
        QTest::keySequence(b, QKeySequence::SelectAll);
    });
}

void TestHelp::nothingCanBeSelected()
{
    QFETCH(Gesture, gesture);
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    THtmlPanel *panel = panel_of(form);

    // The same gesture on an ordinary browser showing the same page does select.
    QTextBrowser reference;
    reference.resize(628, 436);
    reference.setHtml(panel->page().toString(-1));
    reference.show();
    QVERIFY(QTest::qWaitForWindowExposed(&reference));
    gesture(&reference);
    QVERIFY(reference.textCursor().hasSelection());
    reference.hide();

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    gesture(panel);
    QVERIFY(!panel->textCursor().hasSelection());
    QVERIFY(panel->textCursor().selectedText().isEmpty());
}

void TestHelp::linksOpenNothing()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    QDesktopServices::setUrlHandler("mailto", &recorder, "open");
    auto unset = qScopeGuard([] {
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("mailto");
    });

    // An ordinary browser that may open links does, for the same clicks.
    QTextBrowser reference;
    reference.setOpenExternalLinks(true);
    reference.resize(400, 200);
    reference.setHtml(LinkPage);
    reference.show();
    QVERIFY(QTest::qWaitForWindowExposed(&reference));
    QTest::mouseClick(reference.viewport(), Qt::LeftButton, {},
                      middle_of_text(&reference, "text here"));
    QTest::mouseClick(reference.viewport(), Qt::LeftButton, {},
                      middle_of_text(&reference, "mail link"));
    QCOMPARE(recorder.opened.size(), 2);
    recorder.opened.clear();

    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    THtmlPanel *panel = panel_of(form);
    QVERIFY(panel->loadPage(LinkPage));
    const QString shown = panel->toPlainText();
    QSignalSpy anchor(panel, &QTextBrowser::anchorClicked);
    QSignalSpy source(panel, &QTextBrowser::sourceChanged);
    QSignalSpy highlighted(panel, &QTextBrowser::highlighted);
    for (const char *link : {"text here", "mail link"}) {
        const QPoint at = middle_of_text(panel, link);
        // Through the window: delivered at once, so hovering the link is really tried.
        QTest::mouseMove(form.windowHandle(), panel->viewport()->mapTo(&form, at));
        QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, at);
    }
    QCOMPARE(anchor.count(), 0);
    QCOMPARE(source.count(), 0);
    QCOMPARE(highlighted.count(), 0);
    QVERIFY(recorder.opened.isEmpty());
    QVERIFY(panel->source().isEmpty());
    QCOMPARE(panel->toPlainText(), shown);
}

void TestHelp::fetchesNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("page");

    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "PNG"));

    QTest::newRow("image file") << "green.png" << png
                                << "<html><body><p><img src=\"%1\"/></p></body></html>";
    QTest::newRow("style sheet file")
        << "green.css" << QByteArray("p { color: #00ff00; font-size: 40px; }")
        << "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"%1\"/></head>"
           "<body><p>MMMMMMMM</p></body></html>";
}

void TestHelp::fetchesNothing()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, page);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(fileName));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const QString html = page.arg(QUrl::fromLocalFile(file.fileName()).toString());

    // An ordinary browser reads the file and shows green.
    QTextBrowser reference;
    reference.resize(300, 200);
    reference.setHtml(html);
    reference.show();
    QVERIFY(QTest::qWaitForWindowExposed(&reference));
    QVERIFY(count_pixels(grab_viewport(&reference), reference.viewport()->rect(), is_green) > 100);

    THtmlPanel panel;
    panel.resize(300, 200);
    QVERIFY(panel.loadPage(html));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(count_pixels(grab_viewport(&panel), panel.viewport()->rect(), is_green), 0);
}

void TestHelp::backAreaHover()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *area = form.findChild<TFillRectangle *>("Rectangle1");
    auto shown = [&] { return area->grab().toImage().pixel(3, 3); };
    QCOMPARE(shown(), 0xFF172230u);

    // Moves go through the window, which delivers them at once.
    QWindow *window = form.windowHandle();
    QTest::mouseMove(window, area->geometry().center());
    QTRY_COMPARE(area->fill(), 0xFF2B5697u);
    QCOMPARE(shown(), 0xFF2B5697u);

    // Onto the "Back" text is still inside the area.
    QLabel *label = form.findChild<QLabel *>("Label2");
    QTest::mouseMove(window, label->mapTo(&form, label->rect().center()));
    QTest::qWait(20);
    QCOMPARE(area->fill(), 0xFF2B5697u);

    QTest::mouseMove(window, QPoint(300, 200));
    QTRY_COMPARE(area->fill(), 0xFF172230u);
    QCOMPARE(shown(), 0xFF172230u);
}

void TestHelp::closing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("back button") << "Button1";
    QTest::newRow("back area") << "Rectangle1";
    QTest::newRow("back text") << "Label2";
}

void TestHelp::closing()
{
    QFETCH(QString, target);
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget *widget = form.findChild<QWidget *>(target);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    QTRY_VERIFY(!form.isVisible());
    // Hidden, not gone: the window can be shown again with its page.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(panel_of(form)->toPlainText().contains("Skyloom Help"));
}

void TestHelp::pressInsideReleaseOutsideKeepsOpen()
{
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *area = form.findChild<TFillRectangle *>("Rectangle1");
    QSignalSpy clicked(area, &TFillRectangle::clicked);
    QTest::mousePress(area, Qt::LeftButton, {}, area->rect().center());
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(area->width() + 20, 10));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(form.isVisible());
}

void TestHelp::keysAndMouseSection()
{
    // The page still parses as XML with the section in it, and the section is shown.
    QFile file(QStringLiteral(":/help/help.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument page;
    QVERIFY(page.setContent(file.readAll()));
    THelpForm form(QStringLiteral("1.0.7.0"), QStringLiteral("9/22/2023"));
    const QString shown = panel_of(form)->toPlainText();
    for (const char *text :
         {"Keys and mouse", "Arrow keys: turn the globe", "F5: fetch the map again now",
          "Ctrl+S: save the picture", "F11: full screen on and off; Ctrl+Q: quit"})
        QVERIFY2(shown.contains(QLatin1String(text)), text);
}

SKYLOOM_TEST_MAIN(TestHelp)
#include "tst_help.moc"
