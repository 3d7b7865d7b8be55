#include "help/htmlpanel.h"

#include "help/pagedom.h"

#include <QScrollBar>
#include <QWheelEvent>

THtmlPanel::THtmlPanel(QWidget *parent)
    : QTextBrowser(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // Without any interaction flag the text control takes no mouse or key input at all, so
    // nothing is selected and links are not even clickable.
    setTextInteractionFlags(Qt::NoTextInteraction);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

bool THtmlPanel::loadPage(const QString &xhtml)
{
    QDomDocument parsed;
    if (!parsed.setContent(xhtml)) {
        m_page.clear();
        setHtml(xhtml);
        return false;
    }
    m_page = parsed;
    showPage();
    return true;
}

bool THtmlPanel::setElementText(const QString &id, const QString &text)
{
    if (m_page.isNull())
        return false;
    QDomElement element = element_by_id(m_page, id);
    if (element.isNull())
        return false;
    set_first_child_text(element, text);
    showPage();
    return true;
}

QVariant THtmlPanel::loadResource(int, const QUrl &)
{
    // The page is complete in itself; images, style sheets and the like are never fetched.
    // An empty resource rather than none: on none, QTextDocument reads local files itself.
    return QByteArray();
}

void THtmlPanel::wheelEvent(QWheelEvent *event)
{
    // QTextEdit zooms a read-only text on Ctrl+wheel; the page keeps its scale and scrolls.
    QAbstractScrollArea::wheelEvent(event);
}

void THtmlPanel::showPage()
{
    const int scrolled = verticalScrollBar()->value();
    // toString() keeps the text as characters; toByteArray() would write UTF-8 under the
    // page's ISO-8859-1 declaration. No indenting: a line break between inline elements
    // would render as a space.
    setHtml(m_page.toString(-1));
    verticalScrollBar()->setValue(scrolled);
}
