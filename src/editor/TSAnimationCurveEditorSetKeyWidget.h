#pragma once

#include "bez3.h"

#include <QWidget>

class QLineEdit;
class TSAnimationCurve;

/// The small form the curve editor opens on a double-clicked key: the key's time (seconds) and
/// value, typed in. Finishing a field writes the key, the rest of it unchanged, and announces
/// it; text that is not a number, or a time that would pass a neighbouring key, is refused and
/// the field shows the key again.
class TSAnimationCurveEditorSetKeyWidget : public QWidget
{
    Q_OBJECT

public:
    explicit TSAnimationCurveEditorSetKeyWidget(QWidget* parent = nullptr);

    void setCurve(TSAnimationCurve* curve);
    TSAnimationCurve* curve() const { return m_curve; }
    void setKeyIndex(int index);
    int keyIndex() const { return m_index; }
    void setTime(float seconds);
    void setValue(float value);
    /// The key as it was before the last write.
    const bez3& previousKey() const { return m_previous; }

    QLineEdit* timeEdit() const { return m_time; }
    QLineEdit* valueEdit() const { return m_value; }

    /// Four decimals, of which at most two trailing zeros are dropped: 1.5 shows as "1.50".
    static QString formatNumber(double value);

Q_SIGNALS:
    /// The key was written.
    void onKeyframeChanged();

public Q_SLOTS:
    void on_time_editingFinished();
    void on_value_editingFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool hasKey() const;
    /// Writes key when it differs from the curve's; false when refused.
    bool write(const bez3& key);
    void showKey();

    QLineEdit* m_time;
    QLineEdit* m_value;
    TSAnimationCurve* m_curve = nullptr;
    int m_index = -1;
    bez3 m_previous;
};
