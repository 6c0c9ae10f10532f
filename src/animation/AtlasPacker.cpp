#include "AtlasPacker.h"

struct AtlasPacker::Node
{
    // Free rectangle (x1, y1)–(x2, y2).
    int x1, y1, x2, y2;
    std::unique_ptr<Node> right;
    std::unique_ptr<Node> lower;

    std::optional<QPoint> insert(int w, int h)
    {
        if (right || lower) {
            if (auto placed = right->insert(w, h)) {
                return placed;
            }
            return lower->insert(w, h);
        }
        if (w > x2 - x1 || h > y2 - y1) {
            return std::nullopt;
        }
        right = std::make_unique<Node>(Node{x1 + w, y1, x2, y1 + h, nullptr, nullptr});
        lower = std::make_unique<Node>(Node{x1, y1 + h, x2, y2, nullptr, nullptr});
        return QPoint(x1, y1);
    }
};

AtlasPacker::AtlasPacker(const QSize& area)
    : m_root(std::make_unique<Node>(Node{0, 0, area.width(), area.height(), nullptr, nullptr}))
{
}

AtlasPacker::~AtlasPacker() = default;

std::optional<QPoint> AtlasPacker::insert(const QSize& request)
{
    if (request.width() < 0 || request.height() < 0) {
        return std::nullopt;
    }
    return m_root->insert(request.width(), request.height());
}
