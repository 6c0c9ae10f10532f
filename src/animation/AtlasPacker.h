#pragma once

#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

/// Places rectangles into a fixed area with a binary split tree: each placement splits the free
/// rectangle it used into the part to its right and the part below it. Nothing is rotated.
class AtlasPacker
{
public:
    explicit AtlasPacker(const QSize& area);
    ~AtlasPacker();

    AtlasPacker(const AtlasPacker&) = delete;
    AtlasPacker& operator=(const AtlasPacker&) = delete;

    /// The top-left corner given to a request of that size, or nothing when it does not fit.
    std::optional<QPoint> insert(const QSize& request);

private:
    struct Node;
    std::unique_ptr<Node> m_root;
};
