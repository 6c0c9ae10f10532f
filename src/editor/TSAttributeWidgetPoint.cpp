#include "TSAttributeWidgetPoint.h"

#include "TSAnimationCurve.h"
#include "TSPAttributePoint.h"
#include "TSPointLayoutBuilder.h"

#include <QBoxLayout>
#include <QLineEdit>

#include <cmath>

TSAttributeWidgetPoint::TSAttributeWidgetPoint(TSPAttributePoint* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_point(attribute)
{
}

std::unique_ptr<TSLayoutBuilder> TSAttributeWidgetPoint::createLayoutBuilder() const
{
    return std::make_unique<TSPointLayoutBuilder>();
}

void TSAttributeWidgetPoint::buildEditor(int column, QBoxLayout* layout)
{
    QLineEdit* edit = lineEdit(column == 0 ? QStringLiteral("x") : QStringLiteral("y"),
                               [this] { attributeEditingRequest(); });
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QLineEdit::customContextMenuRequested, this,
            [this, edit](const QPoint& pos) { popupKeyFrameMenu(edit, pos, [this] { setKeyFrame(); }); });
    (column == 0 ? m_x : m_y) = edit;
    layout->addWidget(edit, 1);
}

void TSAttributeWidgetPoint::refresh()
{
    TSAttributeWidget::refresh();
    readKeyedState({m_point->curveX(), m_point->curveY()});
    const cocos2d::CCPoint value = m_point->value();
    const float coordinates[] = {value.x, value.y};
    QLineEdit* edits[] = {m_x, m_y};
    for (int i = 0; i < 2; ++i) {
        if (edits[i]) {
            edits[i]->setText(QString::number(static_cast<double>(coordinates[i]), 'g', 6));
            edits[i]->setModified(false);
            paintKeyedState(edits[i]);
        }
    }
}

void TSAttributeWidgetPoint::attributeEditingRequest()
{
    bool xOk = false;
    bool yOk = false;
    const float x = m_x ? m_x->text().trimmed().toFloat(&xOk) : 0.0f;
    const float y = m_y ? m_y->text().trimmed().toFloat(&yOk) : 0.0f;
    if (!xOk || !yOk || !std::isfinite(x) || !std::isfinite(y)) {
        refresh();
        return;
    }
    m_point->setValue(cocos2d::CCPoint{x, y});
    refresh();
    attributeEditingFinished();
}

void TSAttributeWidgetPoint::showContextMenu(QPoint pos)
{
    popupKeyFrameMenu(m_x, pos, [this] { setKeyFrame(); });
}

void TSAttributeWidgetPoint::setKeyFrame()
{
    const cocos2d::CCPoint value = m_point->value();
    if (!m_point->hasCurves()) {
        m_point->setCurves(std::make_unique<TSAnimationCurve>(), std::make_unique<TSAnimationCurve>());
    }
    m_point->setValue(value);
    refresh();
    attributeEditingFinished();
}
