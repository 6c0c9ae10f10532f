#include "TSAnimationCurveEditorSetKeyWidget.h"

#include "TSAnimationCurve.h"
#include "TimeLimits.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <cmath>

namespace {

bool parse(const QLineEdit* edit, float* result)
{
    bool ok = false;
    const float value = edit->text().trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value)) {
        return false;
    }
    *result = value;
    return true;
}

} // namespace

TSAnimationCurveEditorSetKeyWidget::TSAnimationCurveEditorSetKeyWidget(QWidget* parent)
    : QWidget(parent), m_time(new QLineEdit(this)), m_value(new QLineEdit(this))
{
    setObjectName(QStringLiteral("setKeyWidget"));
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("QLabel { color: rgb(170, 170, 170); }"
                                 "QLineEdit { background: rgb(22, 22, 22); color: rgb(225, 225, 225);"
                                 " border: 1px solid rgb(70, 70, 70); padding: 1px 3px; }"));
    m_time->setObjectName(QStringLiteral("time"));
    m_value->setObjectName(QStringLiteral("value"));
    for (QLineEdit* edit : {m_time, m_value}) {
        edit->setFixedWidth(80);
    }
    m_time->setToolTip(QStringLiteral("Key time in seconds"));
    m_value->setToolTip(QStringLiteral("Key value"));
    auto* form = new QFormLayout(this);
    form->setContentsMargins(8, 6, 8, 6);
    form->setSpacing(4);
    form->addRow(new QLabel(QStringLiteral("Time"), this), m_time);
    form->addRow(new QLabel(QStringLiteral("Value"), this), m_value);
    QMetaObject::connectSlotsByName(this);
    adjustSize();
}

void TSAnimationCurveEditorSetKeyWidget::setCurve(TSAnimationCurve* curve)
{
    m_curve = curve;
}

void TSAnimationCurveEditorSetKeyWidget::setKeyIndex(int index)
{
    m_index = index;
    if (hasKey()) {
        m_previous = m_curve->key(m_index);
    }
}

void TSAnimationCurveEditorSetKeyWidget::setTime(float seconds)
{
    m_time->setText(formatNumber(seconds));
}

void TSAnimationCurveEditorSetKeyWidget::setValue(float value)
{
    m_value->setText(formatNumber(value));
}

QString TSAnimationCurveEditorSetKeyWidget::formatNumber(double value)
{
    QString text = QString::number(value, 'f', 4);
    for (int dropped = 0; dropped < 2 && text.contains(QLatin1Char('.')) && text.endsWith(QLatin1Char('0'));
         ++dropped) {
        text.chop(1);
    }
    return text;
}

bool TSAnimationCurveEditorSetKeyWidget::hasKey() const
{
    return m_curve && m_index >= 0 && m_index < m_curve->keyCount();
}

void TSAnimationCurveEditorSetKeyWidget::on_time_editingFinished()
{
    float time = 0.0f;
    if (!hasKey()) {
        return;
    }
    bez3 key = m_curve->key(m_index);
    // A key keeps its place among its neighbours: the curve's keys stay in time order.
    const bool between = parse(m_time, &time) && std::fabs(time) <= TimeLimits::kMaxSeconds &&
                         (m_index == 0 || time > m_curve->key(m_index - 1).time) &&
                         (m_index + 1 == m_curve->keyCount() || time < m_curve->key(m_index + 1).time);
    if (between) {
        key.time = time;
    }
    if (!between || !write(key)) {
        showKey();
    }
}

void TSAnimationCurveEditorSetKeyWidget::on_value_editingFinished()
{
    float value = 0.0f;
    if (!hasKey()) {
        return;
    }
    bez3 key = m_curve->key(m_index);
    const bool parsed = parse(m_value, &value);
    if (parsed) {
        key.value = value;
    }
    if (!parsed || !write(key)) {
        showKey();
    }
}

bool TSAnimationCurveEditorSetKeyWidget::write(const bez3& key)
{
    const bez3 current = m_curve->key(m_index);
    if (TSAnimationCurve::keysEqual(current, key)) {
        return false;
    }
    m_previous = current;
    m_curve->setKey(m_index, key.inHandle, key.time, key.value, key.outHandle);
    showKey();
    Q_EMIT onKeyframeChanged();
    return true;
}

void TSAnimationCurveEditorSetKeyWidget::showKey()
{
    if (hasKey()) {
        const bez3 key = m_curve->key(m_index);
        setTime(key.time);
        setValue(key.value);
    }
}

void TSAnimationCurveEditorSetKeyWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(30, 30, 30));
    painter.setPen(QColor(55, 235, 138));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TSAnimationCurveEditorSetKeyWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        // Closing takes the focus from a field, which finishes its edit: show the key first so
        // that nothing typed is written.
        showKey();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
