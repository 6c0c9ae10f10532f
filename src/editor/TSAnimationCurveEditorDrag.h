#pragma once

#include "bez3.h"

#include <QPointF>

#include <vector>

class TSAnimationCurveEditorAxes;

/// What a drag in the curve editor makes of the keys: from the keys and the selected ones at
/// the press, the keys for a pointer position. Moved keys land on frames and stay within the
/// frames shown, between the keys they were between; values land on hundredths unless fine.
class TSAnimationCurveEditorDrag
{
public:
    TSAnimationCurveEditorDrag() = default;
    TSAnimationCurveEditorDrag(std::vector<bez3> pressed, std::vector<bool> selected,
                               const QPointF& pressPos);

    const std::vector<bez3>& pressedKeys() const { return m_pressed; }

    /// The selected keys onto the frame and value under pos, their handles moved with them.
    std::vector<bez3> movedKeys(const QPointF& pos, bool fine, const TSAnimationCurveEditorAxes& axes) const;
    /// The selected keys moved together by the pointer's offset from the press, in whole frames
    /// (as far as the keys left behind and the ends allow) and in value.
    std::vector<bez3> movedBox(const QPointF& pos, bool fine, const TSAnimationCurveEditorAxes& axes) const;
    /// The selected keys scaled with the edges of their box that follow the pointer (the
    /// opposite edges stay; an edge does not pass its opposite). Handles scale with the values.
    std::vector<bez3> scaledBox(bool left, bool right, bool top, bool bottom, const QPointF& pos, bool fine,
                                const TSAnimationCurveEditorAxes& axes) const;

    /// proposed, or, where it would put two keys that were in time order out of it, proposed
    /// with the times of fallback (the keys of the last step).
    std::vector<bez3> inOrder(std::vector<bez3> proposed, const std::vector<bez3>& fallback) const;

private:
    bool isSelected(size_t index) const { return index < m_selected.size() && m_selected[index]; }

    std::vector<bez3> m_pressed;
    std::vector<bool> m_selected;
    QPointF m_pressPos;
};
