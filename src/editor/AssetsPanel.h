#pragma once

#include <QWidget>

/// The asset column on the left: a search field, the library's frame and the import button.
class AssetsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit AssetsPanel(QWidget* parent = nullptr);
};
