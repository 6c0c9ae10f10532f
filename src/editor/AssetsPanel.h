#pragma once

#include <QWidget>

class TSAssetsFrame;

/// The asset column on the left: the search field, the library frame and the import button.
class AssetsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit AssetsPanel(QWidget* parent = nullptr);

    TSAssetsFrame* frame() const { return m_frame; }

private:
    TSAssetsFrame* m_frame = nullptr;
};
