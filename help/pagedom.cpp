#include "help/pagedom.h"

#include <QDomDocument>

QDomElement element_by_id(const QDomNode &root, const QString &id)
{
    if (id.isEmpty() || root.isNull())
        return {};
    const QLatin1String idName("id");
    QDomNode node = root;
    while (!node.isNull()) {
        if (node.isElement()) {
            const QDomElement element = node.toElement();
            if (element.hasAttribute(idName) && element.attribute(idName) == id)
                return element;
        }
        // Depth first, without recursion: down, else along, else up until a sibling shows.
        if (node.hasChildNodes()) {
            node = node.firstChild();
            continue;
        }
        while (!node.isNull() && node != root && node.nextSibling().isNull())
            node = node.parentNode();
        if (node.isNull() || node == root)
            break;
        node = node.nextSibling();
    }
    return {};
}

void set_first_child_text(QDomElement &element, const QString &text)
{
    QDomDocument owner = element.ownerDocument();
    QDomNode first = element.firstChild();
    if (first.isNull()) {
        element.appendChild(owner.createTextNode(text));
    } else if (first.isCharacterData()) {
        first.toCharacterData().setData(text);
    } else if (first.isElement()) {
        while (first.hasChildNodes())
            first.removeChild(first.firstChild());
        if (!text.isEmpty())
            first.appendChild(owner.createTextNode(text));
    } else {
        first.setNodeValue(text);
    }
}
