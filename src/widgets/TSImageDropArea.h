#pragma once

#include <QImage>
#include <QFrame>

/// A small framed area that shows a picture and takes a PNG file dropped on it. A double click
/// asks for the picture to be edited.
class TSImageDropArea : public QFrame
{
    Q_OBJECT

public:
    explicit TSImageDropArea(QWidget* parent = nullptr);

    /// Shows picture scaled to fit (a null picture empties the area).
    void setPicture(const QImage& picture);
    QImage picture() const { return m_picture; }

Q_SIGNALS:
    /// A readable PNG file was dropped; image is its picture.
    void imageDropped(const QImage& image);
    void contentEditingRequested();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    /// The first local PNG file among urls, or an empty path.
    static QString pngPath(const QList<QUrl>& urls);

    QImage m_picture;
};
