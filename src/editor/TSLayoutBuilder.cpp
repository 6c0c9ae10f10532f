#include "TSLayoutBuilder.h"

#include "ScreenScale.h"
#include "TSAttributeWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVariant>

#include <cmath>

int TSLayoutBuilder::scaled(const TSAttributeWidget* widget, double length)
{
    return static_cast<int>(std::lround(length * ScreenScale::of(widget)));
}

QLabel* TSLayoutBuilder::nameLabel(TSAttributeWidget* widget)
{
    auto* label = new QLabel(widget->displayName(), widget);
    label->setObjectName(QStringLiteral("attributeName"));
    label->setFixedSize(scaled(widget, 140), scaled(widget, 20));
    label->setWordWrap(true);
    return label;
}

void TSLayoutBuilder::build(TSAttributeWidget* widget) const
{
    widget->setProperty("dpiScaled", true);
    auto* row = new QHBoxLayout(widget);
    const int space = scaled(widget, 10);
    row->setContentsMargins(space, space, space, space);
    row->setSpacing(space);
    row->addWidget(nameLabel(widget));
    for (int column = 0; column < widget->columnCount(); ++column) {
        widget->buildEditor(column, row);
    }
}
