#include "TSLibraryWidget.h"

#include "CCArray.h"
#include "ScreenScale.h"
#include "TSModelController.h"
#include "TSModelSpriteContainer.h"

#include <QListWidget>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kThumbnail = 48;

QIcon thumbnail(TSModelSpriteContainer* container)
{
    QPixmap pixmap = ScreenScale::blankPixmap(QSize(kThumbnail, kThumbnail));
    const QImage frame = container->frameImage(0);
    if (!frame.isNull()) {
        // Scaled to the thumbnail's device pixels, not to its size in pixels and then up again.
        const qreal ratio = pixmap.devicePixelRatio();
        const QImage scaled = frame.scaled(QSize(kThumbnail, kThumbnail) * ratio, Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation);
        const QSizeF shown = QSizeF(scaled.size()) / ratio;
        const QPointF at((kThumbnail - shown.width()) / 2, (kThumbnail - shown.height()) / 2);
        QPainter(&pixmap).drawImage(QRectF(at, shown), scaled);
    }
    return QIcon(pixmap);
}

} // namespace

TSLibraryWidget::TSLibraryWidget(QWidget* parent) : QWidget(parent), m_list(new QListWidget(this))
{
    m_list->setObjectName(QStringLiteral("libraryList"));
    m_list->setIconSize(QSize(kThumbnail, kThumbnail));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (TSModel* model = modelOf(item)) {
            Q_EMIT itemClicked(model);
        }
    });
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (TSModel* model = modelOf(item)) {
            Q_EMIT itemActivated(model);
        }
    });
    updateLabelsList();
}

TSModel* TSLibraryWidget::modelOf(const QListWidgetItem* item) const
{
    // Rows keep ids: a container that left the document is found no more.
    return item ? TSModelController::instance()->modelWithId(item->data(Qt::UserRole).toUInt()) : nullptr;
}

TSModel* TSLibraryWidget::selectedModel() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? nullptr : modelOf(selected.first());
}

QListWidgetItem* TSLibraryWidget::itemOf(const TSModel* model) const
{
    for (int row = 0; model && row < m_list->count(); ++row) {
        if (m_list->item(row)->data(Qt::UserRole).toUInt() == model->id()) {
            return m_list->item(row);
        }
    }
    return nullptr;
}

void TSLibraryWidget::selectModel(const TSModel* model)
{
    const QSignalBlocker blocker(m_list);
    m_list->clearSelection();
    if (QListWidgetItem* item = itemOf(model)) {
        item->setSelected(true);
        m_list->setCurrentItem(item);
    }
}

void TSLibraryWidget::updateLabelsList()
{
    const unsigned selected = selectedModel() ? selectedModel()->id() : 0;
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    if (cocos2d::CCArray* containers =
            TSModelController::instance()->modelsOfClass(TSModelSpriteContainer::kClassName)) {
        for (cocos2d::CCObject* obj : *containers) {
            auto* container = static_cast<TSModelSpriteContainer*>(obj);
            auto* item =
                new QListWidgetItem(thumbnail(container), QString::fromStdString(container->name()), m_list);
            item->setData(Qt::UserRole, container->id());
            item->setToolTip(QStringLiteral("%1 frames").arg(container->spriteCount()));
            item->setSelected(container->id() == selected);
        }
    }
    setSearchFilter(m_search);
}

void TSLibraryWidget::setSearchFilter(QString search)
{
    m_search = search.trimmed();
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        item->setHidden(!m_search.isEmpty() && !item->text().contains(m_search, Qt::CaseInsensitive));
    }
}
