#pragma once

#include <QImage>
#include <QFrame>

/// A small framed area that shows a picture and takes PNG files dropped on it. A double click
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
    /// A single readable PNG file was dropped; image is its picture.
    void imageDropped(const QImage& image);
    /// Local files were dropped (at least one of them named as a PNG); paths are all of them, as
    /// they came. Whoever takes them checks what they are.
    void filesDropped(const QStringList& paths);
    void contentEditingRequested();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    /// The local files among urls when one of them is named as a PNG file, else nothing.
    static QStringList droppablePaths(const QList<QUrl>& urls);

    QImage m_picture;
};
