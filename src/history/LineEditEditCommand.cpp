#include "LineEditEditCommand.h"

#include "HistoryManager.h"
#include "ObjectManipulator.h"
#include "PixmapPlaceholderItem.h"
#include "TSLineEditUpdateable.h"

LineEditEditCommand::LineEditEditCommand(HistoryManager* history, QGraphicsItem* item, TSLineEditUpdateable* edit,
                                         const QString& before, const QString& after)
    : HistoryCommand(QStringLiteral("Attribute Edit")), m_history(history), m_edit(edit), m_before(before),
      m_after(after)
{
    if (Skeleton* skeleton = history->skeleton()) {
        if (const Skeleton::Node* node = skeleton->nodeByItem(item)) {
            m_isNode = true;
            m_id = node->id;
        } else if (const Skeleton::Asset* asset = skeleton->assetByItem(item)) {
            m_id = asset->id;
        }
    }
}

void LineEditEditCommand::put(const QString& text)
{
    Skeleton* skeleton = m_history->skeleton();
    ObjectManipulator* manipulator = m_history->manipulator();
    if (skeleton && manipulator) {
        QGraphicsItem* item = nullptr;
        if (m_isNode) {
            const Skeleton::Node* node = skeleton->nodeById(m_id);
            item = node ? node->joint : nullptr;
        } else {
            const Skeleton::Asset* asset = skeleton->assetById(m_id);
            item = asset ? asset->placeholder : nullptr;
        }
        if (!item) {
            return;
        }
        manipulator->setTargets({item});
    }
    if (!m_edit) {
        return;
    }
    m_edit->applyText(text);
    if (m_skipFocus) {
        m_skipFocus = false;
    } else {
        m_edit->setFocus(Qt::OtherFocusReason);
    }
}
