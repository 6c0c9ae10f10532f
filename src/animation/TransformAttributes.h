#pragma once

#include <QTransform>

#include <array>

class TSModel;
class TSPAttributeFloat;

/// The nine float attributes "m11" … "m33" in which models store a transform.
class TransformAttributes
{
public:
    using Matrix = std::array<TSPAttributeFloat*, 9>;

    /// Adds "m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33" to model, in this order.
    static Matrix add(TSModel* model);
    static void write(const Matrix& attributes, const QTransform& transform);
    /// The stored transform; identity when the stored one cannot be inverted.
    static QTransform read(const Matrix& attributes);
};
