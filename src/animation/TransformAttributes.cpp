#include "TransformAttributes.h"

#include "TSModel.h"
#include "TSPAttributeFloat.h"

TransformAttributes::Matrix TransformAttributes::add(TSModel* model)
{
    static const char* const names[9] = {"m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"};
    Matrix matrix{};
    for (size_t i = 0; i < 9; ++i) {
        matrix[i] = model->addTypedAttribute<TSPAttributeFloat>(names[i]);
    }
    return matrix;
}

void TransformAttributes::write(const Matrix& a, const QTransform& t)
{
    const qreal values[9] = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
    for (size_t i = 0; i < 9; ++i) {
        a[i]->setValue(static_cast<float>(values[i]));
    }
}

QTransform TransformAttributes::read(const Matrix& a)
{
    const QTransform transform(a[0]->value(), a[1]->value(), a[2]->value(), a[3]->value(), a[4]->value(),
                               a[5]->value(), a[6]->value(), a[7]->value(), a[8]->value());
    // A file without the matrix (or with a collapsed one) would make the item vanish for good.
    return transform.isInvertible() ? transform : QTransform();
}
