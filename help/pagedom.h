#pragma once

#include <QDomElement>
#include <QString>

// The first element, in document order, under and including root whose id attribute is id.
// QDomDocument::elementById() is not implemented by Qt and always answers null, so the tree
// is walked. An empty id names no element.
QDomElement element_by_id(const QDomNode &root, const QString &id);

// Sets the text of the element's first child node, the way the DOM's textContent does: a
// text-like node gets the text as its data, an element child loses its own children to one
// text node. An element without children gets a text node. Nothing else changes.
void set_first_child_text(QDomElement &element, const QString &text);
