// The help page: parsed as the help window parses it, the texts it fills in put into the
// elements with their ids, and the page written out for display.
#include "fuzzsupport.h"

#include "help/pagedom.h"

#include <QDomDocument>

#include <algorithm>
#include <vector>

namespace {
// Every element in document order; the walk keeps its own stack, as nesting is the input's.
std::vector<QDomElement> all_elements(const QDomNode &root)
{
    std::vector<QDomElement> elements;
    std::vector<QDomNode> pending{root};
    while (!pending.empty()) {
        const QDomNode node = pending.back();
        pending.pop_back();
        if (node.isElement())
            elements.push_back(node.toElement());
        std::vector<QDomNode> children;
        for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
            children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return elements;
}

QDomElement first_with_id(const std::vector<QDomElement> &elements, const QString &id)
{
    for (const QDomElement &element : elements)
        if (element.hasAttribute(QStringLiteral("id")) &&
            element.attribute(QStringLiteral("id")) == id)
            return element;
    return {};
}

void fill_in(QDomDocument &page, const QString &id, const QString &text)
{
    const QDomElement expected =
        id.isEmpty() ? QDomElement() : first_with_id(all_elements(page), id);
    QDomElement element = element_by_id(page, id);
    FUZZ_CHECK(element == expected);
    if (element.isNull())
        return;

    const QDomNode first = element.firstChild();
    const int children = element.childNodes().size();
    set_first_child_text(element, text);
    FUZZ_CHECK(element_by_id(page, id) == element);
    if (first.isNull()) {
        FUZZ_CHECK(element.childNodes().size() == 1);
        FUZZ_CHECK(element.firstChild().isText());
        FUZZ_CHECK(element.firstChild().toText().data() == text);
        return;
    }
    // The first child stays where it was, and so do its siblings.
    FUZZ_CHECK(element.firstChild() == first);
    FUZZ_CHECK(element.childNodes().size() == children);
    if (first.isCharacterData()) {
        FUZZ_CHECK(first.toCharacterData().data() == text);
    } else if (first.isElement()) {
        FUZZ_CHECK(first.childNodes().size() == (text.isEmpty() ? 0 : 1));
        FUZZ_CHECK(first.toElement().text() == text);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silence_qt_messages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The page is stored in ISO-8859-1, and read so.
    QDomDocument page;
    if (!page.setContent(
            QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size))))
        return 0;

    // The texts the help window fills in, an id the page itself uses, and text that needs
    // escaping.
    fill_in(page, QStringLiteral("version"), QStringLiteral("Version: 1.0.7.0 (2024-03-01) "));
    fill_in(page, QStringLiteral("year"), QStringLiteral("2023"));
    const std::vector<QDomElement> elements = all_elements(page);
    const auto named = std::find_if(elements.rbegin(), elements.rend(), [](const QDomElement &e) {
        return e.hasAttribute(QStringLiteral("id"));
    });
    if (named != elements.rend())
        fill_in(page, named->attribute(QStringLiteral("id")), QStringLiteral("<b>&amp;\"'</b>"));
    fill_in(page, QString(), QStringLiteral("never"));
    fill_in(page, QStringLiteral("whitetext"), QString());

    const QString shown = page.toString(-1);
    FUZZ_CHECK(!shown.isEmpty());
    return 0;
}
