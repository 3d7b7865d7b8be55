#pragma once

#include <QDomDocument>
#include <QTextBrowser>

// Shows one XHTML page and nothing else: it scrolls vertically only, lets no text be
// selected, follows no link and fetches nothing from disk or network. The page is kept as a
// DOM so that the text of an element can be replaced by the element's id.
class THtmlPanel : public QTextBrowser
{
    Q_OBJECT

public:
    explicit THtmlPanel(QWidget *parent = nullptr);

    // Parses and shows the page. A page that is not well-formed XML is still shown, but
    // without a DOM, so setElementText() leaves it alone; answers whether it parsed.
    bool loadPage(const QString &xhtml);
    const QDomDocument &page() const { return m_page; }

    // Replaces the text of the first child of the element with that id and shows the page
    // again, keeping the scroll position. Answers false, changing nothing, when there is no
    // parsed page or no such element.
    bool setElementText(const QString &id, const QString &text);

    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    void showPage();

    QDomDocument m_page;
};
