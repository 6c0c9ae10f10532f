#pragma once

#include "TSAttributeWidget.h"

#include <QPointer>

class TSImageDropArea;
class TSModelSpriteContainer;
class TSPAttributeSprite;
class TSSpritesWindow;

/// A sprite container reference: a drop area showing its first frame. Asking to edit it opens
/// the sprite editor, whose "Save" picks the container; dropped PNG files become a new frame
/// animation that the attribute then refers to.
class TSAttributeWidgetSprite : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetSprite(TSPAttributeSprite* attribute, QWidget* parent);

    TSImageDropArea* dropArea() const { return m_area; }
    /// The sprite editor it opened, while it is open.
    TSSpritesWindow* spritesWindow() const;
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

public Q_SLOTS:
    void dropImageContentEditingRequested();
    void dropImageContentDidUpdated(const QStringList& paths);
    void spriteDidSelected(TSModelSpriteContainer* model);

private:
    TSPAttributeSprite* m_sprite;
    TSImageDropArea* m_area = nullptr;
    QPointer<TSSpritesWindow> m_window;
};
