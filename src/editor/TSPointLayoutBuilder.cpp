#include "TSPointLayoutBuilder.h"

#include "TSAttributeWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVariant>

void TSPointLayoutBuilder::build(TSAttributeWidget* widget) const
{
    widget->setProperty("dpiScaled", true);
    auto* row = new QHBoxLayout(widget);
    const int space = scaled(widget, 10);
    row->setContentsMargins(space, space, space, space);
    row->setSpacing(scaled(widget, 4));
    row->addWidget(nameLabel(widget));
    const QString letters[] = {QStringLiteral("X"), QStringLiteral("Y")};
    for (int column = 0; column < 2; ++column) {
        row->addWidget(new QLabel(letters[column], widget));
        widget->buildEditor(column, row);
    }
}
