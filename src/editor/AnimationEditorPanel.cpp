#include "AnimationEditorPanel.h"

#include "TSAnimationCurveEditor.h"
#include "TSAnimationEditorTimelineWidget.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* toolButton(const QString& objectName, const QString& icon, const QString& toolTip, bool checkable,
                        QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(toolTip);
    button->setCheckable(checkable);
    return button;
}

} // namespace

AnimationEditorPanel::AnimationEditorPanel(QWidget* parent)
    : QWidget(parent), m_animations(new QComboBox(this)),
      m_play(toolButton(QStringLiteral("playButton"), QStringLiteral(":/resources/animationView/Play.svg"),
                        QStringLiteral("Play (P)"), true, this)),
      m_loop(toolButton(QStringLiteral("loopButton"), QStringLiteral(":/resources/animationView/Loop.svg"),
                        QStringLiteral("Loop"), true, this)),
      m_key(toolButton(QStringLiteral("keyButton"), QStringLiteral(":/resources/animationView/AE_Record.svg"),
                       QStringLiteral("Toggle animation recording mode"), true, this)),
      m_frames(new QSpinBox(this)), m_speed(new QDoubleSpinBox(this)),
      m_timeline(new TSAnimationEditorTimelineWidget(this)),
      m_extend(toolButton(QStringLiteral("extendButton"), QStringLiteral(":/resources/animationView/AE_Expand.svg"),
                          QStringLiteral("Expand animation editor"), true, this)),
      m_attributes(new QListWidget(this)), m_curveEditor(new TSAnimationCurveEditor(this)), m_curvePane(new QWidget(this))
{
    setObjectName(QStringLiteral("attributeAnimationWidget"));
    // A switched-on tool button (loop, recording) must be told from one that is off.
    setStyleSheet(QStringLiteral("QToolButton:checked { background: rgb(58, 58, 58); border: 1px solid rgb(255, 168, 0);"
                                 " border-radius: 3px; }"));
    m_animations->setObjectName(QStringLiteral("animationComboBox"));
    m_animations->setMinimumWidth(170);
    m_loop->setChecked(true);
    m_frames->setObjectName(QStringLiteral("framesEdit"));
    m_frames->setRange(1, 99999);
    // A typed length counts once it is confirmed, not at every digit.
    m_frames->setKeyboardTracking(false);
    m_frames->setValue(20);
    m_frames->setToolTip(QStringLiteral("Animation length in frames (60 per second)"));
    m_speed->setObjectName(QStringLiteral("speedEdit"));
    m_speed->setRange(0.1, 10.0);
    m_speed->setSingleStep(0.1);
    m_speed->setDecimals(1);
    m_speed->setValue(1.0);
    m_speed->setToolTip(QStringLiteral("Playback speed"));
    auto* add = toolButton(QStringLiteral("addAnimationButton"), QStringLiteral(":/resources/animationView/AddAnimation.svg"),
                           QStringLiteral("New animation"), false, this);

    auto* bar = new QHBoxLayout();
    bar->setSpacing(6);
    bar->addWidget(new QLabel(QStringLiteral("Animation"), this));
    bar->addWidget(m_animations);
    bar->addWidget(add);
    bar->addSpacing(12);
    bar->addWidget(m_play);
    bar->addWidget(m_loop);
    bar->addWidget(m_key);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("Frames"), this));
    bar->addWidget(m_frames);
    bar->addWidget(new QLabel(QStringLiteral("Speed"), this));
    bar->addWidget(m_speed);
    bar->addStretch();
    bar->addWidget(m_extend);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(bar);
    layout->addWidget(m_timeline);

    m_attributes->setObjectName(QStringLiteral("attributesList"));
    m_attributes->addItems({QStringLiteral("Position X"), QStringLiteral("Position Y"), QStringLiteral("Rotation"),
                            QStringLiteral("Scale X"), QStringLiteral("Scale Y")});
    m_attributes->setCurrentRow(0);
    m_attributes->setFixedWidth(110);
    auto* pane = new QHBoxLayout(m_curvePane);
    pane->setContentsMargins(0, 0, 0, 0);
    pane->setSpacing(6);
    pane->addWidget(m_attributes);
    pane->addWidget(m_curveEditor, 1);
    m_curvePane->setMinimumHeight(160);
    m_curvePane->hide();
    layout->addWidget(m_curvePane, 1);
    connect(m_extend, &QToolButton::toggled, this, [this](bool expanded) {
        m_curvePane->setVisible(expanded);
        m_extend->setIcon(QIcon(expanded ? QStringLiteral(":/resources/animationView/AE_Collapse.svg")
                                         : QStringLiteral(":/resources/animationView/AE_Expand.svg")));
        m_extend->setToolTip(expanded ? QStringLiteral("Collapse animation editor")
                                      : QStringLiteral("Expand animation editor"));
        Q_EMIT expandedChanged(expanded);
    });
}

bool AnimationEditorPanel::isExpanded() const
{
    return m_extend->isChecked();
}

void AnimationEditorPanel::setAnimations(const QList<DocumentController::Animation>& animations,
                                         const QString& current)
{
    const QSignalBlocker blocker(m_animations);
    m_animations->clear();
    for (const DocumentController::Animation& animation : animations) {
        m_animations->addItem(animation.name, animation.identifier);
    }
    m_animations->setCurrentIndex(std::max(0, m_animations->findData(current)));
}

QString AnimationEditorPanel::currentIdentifier() const
{
    return m_animations->currentData().toString();
}

void AnimationEditorPanel::setFrames(int frames)
{
    const QSignalBlocker blocker(m_frames);
    m_frames->setValue(frames);
    m_timeline->setFrameCount(frames);
}

void AnimationEditorPanel::setPlaying(bool playing)
{
    const QSignalBlocker blocker(m_play);
    m_play->setChecked(playing);
    m_play->setIcon(QIcon(playing ? QStringLiteral(":/resources/animationView/Pause.svg")
                                  : QStringLiteral(":/resources/animationView/Play.svg")));
}
