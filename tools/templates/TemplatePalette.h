#pragma once

#include "PartDrawing.h"

/// The colours every template character is painted with: saturated, light enough to read on the
/// dark canvas, one outline colour for all.
namespace TemplatePalette {

inline const QColor kInk(36, 24, 40);
inline const QColor kEye(40, 28, 46);
inline const QColor kHighlight(255, 252, 244);
inline const QColor kBlush(244, 128, 120, 110);

inline const Tone kSkin{QColor(252, 210, 172), QColor(228, 160, 128), kInk};
inline const Tone kHair{QColor(206, 96, 62), QColor(156, 62, 46), kInk};
inline const Tone kShirt{QColor(64, 190, 172), QColor(38, 138, 138), kInk};
inline const Tone kTrousers{QColor(96, 110, 192), QColor(66, 74, 146), kInk};
inline const Tone kShoe{QColor(242, 114, 86), QColor(196, 74, 62), kInk};
inline const Tone kCream{QColor(250, 238, 214), QColor(222, 198, 172), kInk};
inline const Tone kGold{QColor(254, 206, 86), QColor(222, 158, 52), kInk};
inline const Tone kLeather{QColor(132, 86, 70), QColor(100, 62, 54), kInk};
inline const Tone kFur{QColor(244, 146, 66), QColor(204, 100, 48), kInk};
inline const Tone kPaw{QColor(96, 66, 72), QColor(70, 46, 56), kInk};
inline const Tone kTentacle{QColor(164, 112, 222), QColor(116, 74, 174), kInk};
inline const Tone kSucker{QColor(252, 200, 216), QColor(224, 152, 184), kInk};

} // namespace TemplatePalette
