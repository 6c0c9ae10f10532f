#include "TSAttributeWidgetSprite.h"

#include "SpriteAnimationBuilder.h"
#include "TSImageDropArea.h"
#include "TSMessageBox.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeSprite.h"
#include "TSSpritesWindow.h"

#include <QBoxLayout>

TSAttributeWidgetSprite::TSAttributeWidgetSprite(TSPAttributeSprite* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_sprite(attribute)
{
}

TSSpritesWindow* TSAttributeWidgetSprite::spritesWindow() const
{
    return m_window;
}

void TSAttributeWidgetSprite::buildEditor(int, QBoxLayout* layout)
{
    m_area = new TSImageDropArea(this);
    m_area->setObjectName(QStringLiteral("spriteDropArea"));
    m_area->setFixedHeight(64);
    m_area->setToolTip(QStringLiteral("Double-click to choose an animation; drop PNG images to make one"));
    watchEditor(m_area);
    connect(m_area, &TSImageDropArea::contentEditingRequested, this,
            &TSAttributeWidgetSprite::dropImageContentEditingRequested);
    connect(m_area, &TSImageDropArea::filesDropped, this,
            &TSAttributeWidgetSprite::dropImageContentDidUpdated);
    layout->addWidget(m_area, 1);
}

void TSAttributeWidgetSprite::refresh()
{
    TSAttributeWidget::refresh();
    auto* container = dynamic_cast<TSModelSpriteContainer*>(m_sprite->sprite());
    if (m_area) {
        m_area->setPicture(container ? container->frameImage(0) : QImage());
    }
}

void TSAttributeWidgetSprite::dropImageContentEditingRequested()
{
    if (m_window) {
        m_window->raise();
        return;
    }
    m_window = new TSSpritesWindow(this);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setSpriteContainer(dynamic_cast<TSModelSpriteContainer*>(m_sprite->sprite()));
    connect(m_window, &TSSpritesWindow::spriteDidSelected, this, &TSAttributeWidgetSprite::spriteDidSelected);
    m_window->show();
}

void TSAttributeWidgetSprite::dropImageContentDidUpdated(const QStringList& paths)
{
    QString error;
    TSModelSpriteContainer* container = SpriteAnimationBuilder::build(paths, &error);
    if (!container) {
        TSMessageBox::warning(this, QStringLiteral("Frame Animation"), error);
        return;
    }
    spriteDidSelected(container);
}

void TSAttributeWidgetSprite::spriteDidSelected(TSModelSpriteContainer* model)
{
    if (model == m_sprite->sprite()) {
        return;
    }
    m_sprite->setSprite(model);
    refresh();
    attributeEditingFinished();
}
