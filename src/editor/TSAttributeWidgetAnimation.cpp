#include "TSAttributeWidgetAnimation.h"

#include "TSImageDropArea.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeAnimation.h"
#include "TSSpritesWindow.h"

#include <QBoxLayout>

TSAttributeWidgetAnimation::TSAttributeWidgetAnimation(TSPAttributeAnimation* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_animation(attribute)
{
}

void TSAttributeWidgetAnimation::buildEditor(int, QBoxLayout* layout)
{
    m_area = new TSImageDropArea(this);
    m_area->setObjectName(QStringLiteral("animationDropArea"));
    m_area->setFixedHeight(64);
    m_area->setToolTip(QStringLiteral("Double-click to edit the animation"));
    watchEditor(m_area);
    connect(m_area, &TSImageDropArea::contentEditingRequested, this,
            &TSAttributeWidgetAnimation::editAnimation);
    connect(m_area, &TSImageDropArea::imageDropped, this, &TSAttributeWidgetAnimation::dropImageDidUpdated);
    layout->addWidget(m_area, 1);
}

void TSAttributeWidgetAnimation::refresh()
{
    TSAttributeWidget::refresh();
    auto* container = dynamic_cast<TSModelSpriteContainer*>(m_animation->animation());
    if (m_area) {
        m_area->setPicture(container ? container->frameImage(0) : QImage());
    }
}

void TSAttributeWidgetAnimation::editAnimation()
{
    auto* container = dynamic_cast<TSModelSpriteContainer*>(m_animation->animation());
    if (!container || m_window) {
        return;
    }
    m_window = new TSSpritesWindow(this);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setSpriteContainer(container);
    connect(m_window, &TSSpritesWindow::closed, this, &TSAttributeWidgetAnimation::spriteEditorDidClosed);
    m_window->show();
}

void TSAttributeWidgetAnimation::dropImageDidUpdated()
{
    // A dropped picture is no animation: the drop area shows the referenced one again.
    refresh();
}

void TSAttributeWidgetAnimation::spriteEditorDidClosed()
{
    refresh();
}
