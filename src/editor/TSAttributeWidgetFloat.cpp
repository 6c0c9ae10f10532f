#include "TSAttributeWidgetFloat.h"

#include "TSAnimationCurve.h"
#include "TSPAttributeFloat.h"

#include <QBoxLayout>
#include <QLineEdit>

#include <cmath>

namespace {

QString number(float value)
{
    return QString::number(static_cast<double>(value), 'g', 6);
}

} // namespace

TSAttributeWidgetFloat::TSAttributeWidgetFloat(TSPAttributeFloat* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_float(attribute)
{
}

int TSAttributeWidgetFloat::columnCount() const
{
    return m_float->editorHint() == 1 ? 2 : 1;
}

void TSAttributeWidgetFloat::buildEditor(int column, QBoxLayout* layout)
{
    QLineEdit* edit = lineEdit(column == 0 ? QStringLiteral("value") : QStringLiteral("variableValue"),
                               [this] { attributeEditingRequest(); });
    if (column == 0) {
        m_value = edit;
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QLineEdit::customContextMenuRequested, this, &TSAttributeWidgetFloat::showContextMenu);
    } else {
        m_variable = edit;
        edit->setFixedWidth(50);
    }
    layout->addWidget(edit, column == 0 ? 1 : 0);
}

void TSAttributeWidgetFloat::refresh()
{
    TSAttributeWidget::refresh();
    readKeyedState({m_float->curve()});
    if (m_value) {
        m_value->setText(number(m_float->value()));
        m_value->setModified(false);
        paintKeyedState(m_value);
    }
    if (m_variable) {
        m_variable->setText(number(m_float->variableValue()));
        m_variable->setModified(false);
    }
}

void TSAttributeWidgetFloat::attributeEditingRequest()
{
    bool ok = false;
    const float value = m_value ? m_value->text().trimmed().toFloat(&ok) : 0.0f;
    bool variableOk = true;
    const float variable = m_variable ? m_variable->text().trimmed().toFloat(&variableOk) : 0.0f;
    // Text that is no number leaves the value as it was.
    if (!ok || !std::isfinite(value) || !variableOk || !std::isfinite(variable)) {
        refresh();
        return;
    }
    m_float->setValue(value);
    if (m_variable) {
        m_float->setVariableValue(variable);
    }
    refresh();
    attributeEditingFinished();
}

void TSAttributeWidgetFloat::showContextMenu(QPoint pos)
{
    popupKeyFrameMenu(m_value, pos, [this] { setKeyFrame(); });
}

void TSAttributeWidgetFloat::setKeyFrame()
{
    const float value = m_float->value();
    if (!m_float->curve()) {
        m_float->setCurve(std::make_unique<TSAnimationCurve>());
    }
    // With a curve, writing the value keys it at the owner's current time.
    m_float->setValue(value);
    refresh();
    attributeEditingFinished();
}
