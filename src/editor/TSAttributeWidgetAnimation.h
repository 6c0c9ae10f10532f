#pragma once

#include "TSAttributeWidget.h"

#include <QPointer>

class TSImageDropArea;
class TSPAttributeAnimation;
class TSSpritesWindow;

/// An animation reference: a drop area showing the referenced frame animation; asking to edit
/// it opens the sprite editor for that animation.
class TSAttributeWidgetAnimation : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetAnimation(TSPAttributeAnimation* attribute, QWidget* parent);

    TSImageDropArea* dropArea() const { return m_area; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

public Q_SLOTS:
    void editAnimation();
    void dropImageDidUpdated();
    void spriteEditorDidClosed();

private:
    TSPAttributeAnimation* m_animation;
    TSImageDropArea* m_area = nullptr;
    QPointer<TSSpritesWindow> m_window;
};
