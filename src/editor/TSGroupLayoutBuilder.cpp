#include "TSGroupLayoutBuilder.h"

#include "TSAttributeWidget.h"
#include "TSAttributeWidgetGroup.h"

#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>
#include <QVariant>

QString TSGroupLayoutBuilder::iconPath(const QString& groupName)
{
    const QString path = QStringLiteral(":/resources/attributes/%1.svg").arg(groupName);
    return QFile::exists(path) ? path : QStringLiteral(":/resources/attributes/Properties.svg");
}

void TSGroupLayoutBuilder::build(TSAttributeWidget* widget) const
{
    auto* section = new QVBoxLayout(widget);
    section->setContentsMargins(0, 0, 0, 0);
    section->setSpacing(0);

    auto* header = new QWidget(widget);
    header->setObjectName(QStringLiteral("groupHeader"));
    header->setAttribute(Qt::WA_StyledBackground);
    header->setStyleSheet(QStringLiteral("#groupHeader { %1 }").arg(QLatin1String(kHeaderStyle)));
    header->setProperty("dpiFixed", true);
    auto* headerRow = new QHBoxLayout(header);
    const int space = scaled(widget, 6);
    headerRow->setContentsMargins(space, space, space, space);
    auto* icon = new QLabel(header);
    const int iconSize = scaled(widget, 16);
    icon->setPixmap(QIcon(iconPath(widget->displayName())).pixmap(iconSize, iconSize));
    headerRow->addWidget(icon);
    headerRow->addWidget(new QLabel(widget->displayName(), header), 1);
    section->addWidget(header);

    if (auto* group = qobject_cast<TSAttributeWidgetGroup*>(widget)) {
        for (TSAttributeWidget* child : group->childRows()) {
            section->addWidget(child);
            auto* separator = new QWidget(widget);
            separator->setObjectName(QStringLiteral("separator"));
            separator->setAttribute(Qt::WA_StyledBackground);
            separator->setFixedHeight(1);
            separator->setStyleSheet(QString::fromLatin1(kSeparatorStyle));
            section->addWidget(separator);
        }
    }
}
