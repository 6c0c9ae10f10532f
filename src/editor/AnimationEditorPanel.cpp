#include "AnimationEditorPanel.h"

#include "AnimationEditorController.h"
#include "ScreenScale.h"
#include "TSAnimationEditorTimelineWidget.h"
#include "TSInterfaceEditorAttributeItemDelegate.h"
#include "TSDeletableComboBox.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <numeric>

namespace {

const QString kPlayIcon = QStringLiteral(":/resources/animationView/AE_Play.svg");
const QString kPauseIcon = QStringLiteral(":/resources/animationView/AE_Pause.svg");

QToolButton* toolButton(const QString& objectName, const QString& icon, const QString& toolTip,
                        bool checkable, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(icon));
    const int side = ScreenScale::pixels(18, parent);
    button->setIconSize(QSize(side, side));
    button->setToolTip(toolTip);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    return button;
}

QLineEdit* lineEdit(const QString& objectName, const QString& toolTip, int width, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setToolTip(toolTip);
    edit->setFixedWidth(ScreenScale::pixels(width, parent));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QSpinBox* spinBox(const QString& objectName, const QString& toolTip, int minimum, int maximum,
                  QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(objectName);
    box->setToolTip(toolTip);
    box->setRange(minimum, maximum);
    box->setKeyboardTracking(false);
    return box;
}

// "1.0", "0.5", "1.25": at least one decimal, at most three.
QString speedText(float speed)
{
    QString text = QString::number(static_cast<double>(speed), 'f', 3);
    while (text.endsWith(QLatin1Char('0')) && !text.endsWith(QStringLiteral(".0"))) {
        text.chop(1);
    }
    return text;
}

} // namespace

AnimationEditorPanel::AnimationEditorPanel(QWidget* parent)
    : QWidget(parent), m_animations(new TSDeletableComboBox(this)),
      m_add(toolButton(QStringLiteral("addButton"), QStringLiteral(":/resources/animationView/AE_Add.svg"),
                       QStringLiteral("Add new animation"), false, this)),
      m_copy(toolButton(QStringLiteral("copyButton"), QStringLiteral(":/resources/animationView/AE_Copy.svg"),
                        QStringLiteral("Copy current animation"), false, this)),
      m_play(toolButton(QStringLiteral("playButton"), kPlayIcon,
                        QStringLiteral("Toggle animation play/pause (Space)"), true, this)),
      m_loop(toolButton(QStringLiteral("loopButton"), QStringLiteral(":/resources/animationView/AE_Loop.svg"),
                        QStringLiteral("Toggle animation playback looping"), true, this)),
      m_key(toolButton(QStringLiteral("keyButton"), QStringLiteral(":/resources/animationView/AE_Record.svg"),
                       QStringLiteral("Toggle animation recording mode"), true, this)),
      m_frames(lineEdit(QStringLiteral("framesNumberLineEdit"),
                        QStringLiteral("Number of frames in animation"), 50, this)),
      m_speed(lineEdit(QStringLiteral("speedEdit"), QStringLiteral("Speed factor of animation playback"), 40,
                       this)),
      m_readout(new QLabel(this)),
      m_onionSkin(toolButton(
          QStringLiteral("onionSkinButton"), QStringLiteral(":/resources/animationView/AE_OnionSkin.svg"),
          QStringLiteral("Onion skin: the poses before (red) and after (green) the current frame"), true,
          this)),
      m_onionSettingsButton(toolButton(QStringLiteral("onionSkinSettingsButton"), QString(),
                                       QStringLiteral("Onion skin settings"), false, this)),
      m_onionSettings(new QFrame(this, Qt::Popup)),
      m_onionBefore(spinBox(QStringLiteral("onionSkinBeforeSpinBox"),
                            QStringLiteral("Copies before the frame (red)"), 0, OnionSkin::kMaxCopies,
                            m_onionSettings)),
      m_onionAfter(spinBox(QStringLiteral("onionSkinAfterSpinBox"),
                           QStringLiteral("Copies after the frame (green)"), 0, OnionSkin::kMaxCopies,
                           m_onionSettings)),
      m_onionStep(spinBox(QStringLiteral("onionSkinStepSpinBox"), QStringLiteral("Frames between copies"), 1,
                          OnionSkin::kMaxStep, m_onionSettings)),
      m_collapse(toolButton(QStringLiteral("collapseButton"),
                            QStringLiteral(":/resources/animationView/AE_Collapse.svg"),
                            QStringLiteral("Collapse animation editor"), false, this)),
      m_extend(toolButton(QStringLiteral("extendButton"),
                          QStringLiteral(":/resources/animationView/AE_Expand.svg"),
                          QStringLiteral("Expand animation editor"), false, this)),
      m_spacer(new QWidget(this)), m_timeline(new TSAnimationEditorTimelineWidget(this)),
      m_attributes(new QListWidget(this)), m_curveArea(new QWidget(this))
{
    setObjectName(QStringLiteral("attributeAnimationWidget"));
    // A switched-on tool button (loop, recording, onion skin) must be told from one that is off.
    setStyleSheet(QStringLiteral(
        "QToolButton:checked { background: rgb(58, 58, 58); border: 1px solid rgb(255, 168, 0);"
        " border-radius: 3px; }"));
    const double s = ScreenScale::of(this);
    m_animations->setObjectName(QStringLiteral("animationComboBox"));
    m_animations->setToolTip(QStringLiteral("Current animation selector"));
    m_animations->setMinimumWidth(static_cast<int>(90 * s));
    m_loop->setText(QStringLiteral("Loop"));
    m_loop->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_loop->setChecked(true);
    m_readout->setObjectName(QStringLiteral("frameReadout"));
    m_readout->setToolTip(QStringLiteral("Current frame and time"));
    m_readout->setMinimumWidth(m_readout->fontMetrics().horizontalAdvance(QStringLiteral("0000   00.000 s")));
    m_readout->setStyleSheet(QStringLiteral("color: rgb(160, 160, 160);"));
    m_spacer->setObjectName(QStringLiteral("timelineSpacer"));
    m_attributes->setObjectName(QStringLiteral("attributesList"));
    m_attributes->setUniformItemSizes(false);
    m_attributes->setItemDelegate(new TSInterfaceEditorAttributeItemDelegate(m_attributes));
    m_attributes->addItems(AnimationEditorController::propertyNames());
    m_attributes->setCurrentRow(0);
    m_attributes->setToolTip(
        QStringLiteral("Right click: show or hide a property's curve behind the current one"));
    m_attributes->viewport()->installEventFilter(this);
    QFont small = m_attributes->font();
    small.setPixelSize(static_cast<int>(std::lround(10 * s)));
    m_attributes->setFont(small);
    m_attributes->setFixedWidth(static_cast<int>(std::lround(57 * s)));
    m_curveArea->setObjectName(QStringLiteral("curveEditorPlaceholder"));
    auto* curveLayout = new QVBoxLayout(m_curveArea);
    curveLayout->setContentsMargins(0, 0, 0, 0);
    m_onionSkin->setChecked(false);
    // The counts live in a small popup under the arrow beside the switch.
    m_onionSettingsButton->setArrowType(Qt::DownArrow);
    m_onionSettingsButton->setFixedWidth(static_cast<int>(14 * s));
    m_onionSettings->setObjectName(QStringLiteral("onionSkinSettings"));
    m_onionSettings->setFrameShape(QFrame::StyledPanel);
    auto* onionForm = new QFormLayout(m_onionSettings);
    onionForm->addRow(QStringLiteral("Before"), m_onionBefore);
    onionForm->addRow(QStringLiteral("After"), m_onionAfter);
    onionForm->addRow(QStringLiteral("Every (frames)"), m_onionStep);
    connect(m_onionSettingsButton, &QToolButton::clicked, this, [this] {
        m_onionSettings->adjustSize();
        m_onionSettings->move(m_onionSettingsButton->mapToGlobal(QPoint(0, m_onionSettingsButton->height())));
        m_onionSettings->show();
    });
    setFrames(20);
    setSpeed(1.0f);

    const auto separator = [s](QHBoxLayout* layout) { layout->addSpacing(static_cast<int>(6 * s)); };
    auto* bar = new QHBoxLayout();
    bar->setSpacing(static_cast<int>(2 * s));
    bar->addWidget(m_animations);
    bar->addWidget(m_add);
    bar->addWidget(m_copy);
    separator(bar);
    bar->addWidget(m_play);
    bar->addWidget(m_loop);
    bar->addWidget(m_key);
    separator(bar);
    bar->addWidget(new QLabel(QStringLiteral("Frames"), this));
    bar->addWidget(m_frames);
    bar->addWidget(new QLabel(QStringLiteral("Speed"), this));
    bar->addWidget(m_speed);
    separator(bar);
    bar->addWidget(m_readout);
    bar->addStretch();
    bar->addWidget(m_onionSkin);
    bar->addWidget(m_onionSettingsButton);
    separator(bar);
    bar->addWidget(m_collapse);
    bar->addWidget(m_extend);

    auto* timelineRow = new QHBoxLayout();
    timelineRow->setSpacing(0);
    timelineRow->addWidget(m_spacer);
    timelineRow->addWidget(m_timeline, 1);
    auto* curveRow = new QHBoxLayout();
    curveRow->setSpacing(0);
    curveRow->addWidget(m_attributes);
    curveRow->addWidget(m_curveArea, 1);

    auto* layout = new QVBoxLayout(this);
    const int margin = static_cast<int>(std::lround(3 * s));
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(margin);
    layout->addLayout(bar);
    layout->addLayout(timelineRow);
    layout->addLayout(curveRow, 1);

    connect(m_timeline, &TSAnimationEditorTimelineWidget::frameChanged, this,
            &AnimationEditorPanel::showFrame);
    for (QSpinBox* box : {m_onionBefore, m_onionAfter, m_onionStep}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this,
                [this] { Q_EMIT onionSkinChanged(onionSkinSettings()); });
    }
    connect(m_onionSkin, &QToolButton::toggled, this,
            [this] { Q_EMIT onionSkinChanged(onionSkinSettings()); });
    setOnionSkinSettings(OnionSkin::Settings());
    setExpanded(false);
    setCurveViewShown(false);
    showFrame(0);
}

void AnimationEditorPanel::connectTo(AnimationEditorController* controller)
{
    connect(m_animations, &TSDeletableComboBox::itemDeleted, controller,
            &AnimationEditorController::deleteAnimation);
    connect(m_animations, &TSDeletableComboBox::itemRenamed, controller,
            &AnimationEditorController::renameAnimation);
    connect(m_add, &QToolButton::clicked, this, [this, controller] {
        askAnimationName(QStringLiteral("Untitled Animation"),
                         [controller](const QString& name) { return controller->addAnimation(name); });
    });
    connect(m_copy, &QToolButton::clicked, this, [this, controller] {
        askAnimationName(m_animations->currentText() + QStringLiteral(" copy"),
                         [controller](const QString& name) { return controller->copyAnimation(name); });
    });
    // A field that was not changed records nothing when it is left.
    connect(m_frames, &QLineEdit::editingFinished, this, [this, controller] {
        if (m_frames->isModified()) {
            m_frames->setModified(false);
            controller->commitFrames(m_frames->text());
        }
    });
    connect(m_speed, &QLineEdit::editingFinished, this, [this, controller] {
        if (m_speed->isModified()) {
            m_speed->setModified(false);
            controller->commitSpeed(m_speed->text());
        }
    });
    connect(m_loop, &QToolButton::toggled, controller, &AnimationEditorController::setLooping);
    connect(m_collapse, &QToolButton::clicked, controller, [controller] { controller->setExpanded(false); });
    connect(m_extend, &QToolButton::clicked, controller, [controller] { controller->setExpanded(true); });
    connect(m_timeline, &TSAnimationEditorTimelineWidget::frameCreateRequest, controller,
            &AnimationEditorController::createKeys);
    connect(m_timeline, &TSAnimationEditorTimelineWidget::frameMoved, controller,
            &AnimationEditorController::moveKey);
    connect(m_timeline, &TSAnimationEditorTimelineWidget::keyMoveFinished, controller,
            &AnimationEditorController::finishKeyMove);
    connect(m_timeline, &TSAnimationEditorTimelineWidget::frameDeleteRequest, controller,
            &AnimationEditorController::deleteKey);
    connect(m_attributes, &QListWidget::currentRowChanged, controller,
            &AnimationEditorController::setCurrentRow);
    connect(this, &AnimationEditorPanel::secondCurveToggled, controller,
            &AnimationEditorController::toggleSecondCurve);
    connect(controller, &AnimationEditorController::expandedChanged, this,
            &AnimationEditorPanel::setExpanded);
    connect(controller, &AnimationEditorController::curveViewShown, this, [this, controller](bool shown) {
        setCurveViewShown(shown);
        setSecondCurves(controller->secondCurves(controller->currentRow()));
    });
    connect(controller, &AnimationEditorController::keyMarksChanged, this,
            [this, controller] { m_timeline->setKeyFrames(controller->keyFrames()); });
    setExpanded(controller->isExpanded());
}

// What the panel shows ----------------------------------------------------------------------------

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
    m_frames->setText(QString::number(frames));
    m_frames->setModified(false);
    m_timeline->setFrameCount(frames);
    showFrame(m_timeline->currentFrame());
}

void AnimationEditorPanel::setSpeed(float speed)
{
    m_speed->setText(speedText(speed));
    m_speed->setModified(false);
}

void AnimationEditorPanel::setLooping(bool loop)
{
    const QSignalBlocker blocker(m_loop);
    m_loop->setChecked(loop);
}

void AnimationEditorPanel::setPlaying(bool playing)
{
    const QSignalBlocker blocker(m_play);
    m_play->setChecked(playing);
    m_play->setIcon(QIcon(playing ? kPauseIcon : kPlayIcon));
}

void AnimationEditorPanel::showFrame(int frame)
{
    m_readout->setText(QStringLiteral("%1   %2 s").arg(frame).arg(frame / 60.0, 0, 'f', 3));
}

void AnimationEditorPanel::setExpanded(bool expanded)
{
    m_expanded = expanded;
    const double s = ScreenScale::of(this);
    m_collapse->setVisible(expanded);
    m_extend->setVisible(!expanded);
    m_curveArea->setVisible(expanded);
    m_attributes->setVisible(expanded && m_curveViewShown);
    m_spacer->setFixedWidth(static_cast<int>(std::lround((expanded ? 57 : 10) * s)));
    applyPaneHeight();
}

void AnimationEditorPanel::applyPaneHeight()
{
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter || splitter->count() != 2) {
        return;
    }
    // The minimum height the splitter keeps to is the one of the controls now shown.
    layout()->activate();
    const double s = ScreenScale::of(this);
    const QList<int> sizes = splitter->sizes();
    int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    if (total <= 0) {
        total = splitter->height();
    }
    const int pane = static_cast<int>(std::lround((m_expanded ? 255 : 55) * s));
    const int mine = splitter->indexOf(this);
    QList<int> heights = {std::max(0, total - pane), pane};
    if (mine == 0) {
        std::swap(heights[0], heights[1]);
    }
    splitter->setSizes(heights);
}

void AnimationEditorPanel::setCurveViewShown(bool shown)
{
    m_curveViewShown = shown;
    m_attributes->setVisible(m_expanded && shown);
    for (QWidget* child : m_curveArea->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        child->setVisible(shown);
    }
}

void AnimationEditorPanel::setSecondCurves(const QStringList& names)
{
    for (int row = 0; row < m_attributes->count(); ++row) {
        QListWidgetItem* item = m_attributes->item(row);
        const bool second = names.contains(item->text());
        QFont font = item->font();
        font.setItalic(second);
        item->setFont(font);
        item->setForeground(second ? QColor(125, 159, 198) : QColor(200, 200, 200));
    }
}

OnionSkin::Settings AnimationEditorPanel::onionSkinSettings() const
{
    OnionSkin::Settings settings;
    settings.on = m_onionSkin->isChecked();
    settings.before = m_onionBefore->value();
    settings.after = m_onionAfter->value();
    settings.step = m_onionStep->value();
    return settings;
}

void AnimationEditorPanel::setOnionSkinSettings(const OnionSkin::Settings& settings)
{
    const QSignalBlocker button(m_onionSkin);
    const QSignalBlocker before(m_onionBefore);
    const QSignalBlocker after(m_onionAfter);
    const QSignalBlocker step(m_onionStep);
    m_onionSkin->setChecked(settings.on);
    m_onionBefore->setValue(settings.before);
    m_onionAfter->setValue(settings.after);
    m_onionStep->setValue(settings.step);
}

void AnimationEditorPanel::askAnimationName(const QString& proposed,
                                            const std::function<bool(const QString&)>& done)
{
    auto* dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("animationNameDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Animation Name"));
    dialog->setLabelText(QStringLiteral("Name:"));
    dialog->setTextValue(proposed);
    connect(dialog, &QInputDialog::textValueSelected, this, [this, done](const QString& text) {
        // A refused name (the user has been told why) is asked for again, selected to be typed over.
        if (!text.trimmed().isEmpty() && !done(text.trimmed())) {
            askAnimationName(text, done);
        }
    });
    // Window-modal without blocking: the editor's event loop goes on while it is open.
    dialog->open();
}

void AnimationEditorPanel::keyPressEvent(QKeyEvent* event)
{
    // Keys no control of the editor took: Space plays or pauses, as users expect.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat()) {
            Q_EMIT playToggleRequested();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool AnimationEditorPanel::eventFilter(QObject* watched, QEvent* event)
{
    // A right click on a property row puts its curve behind the current one (or takes it away)
    // without making it the current row.
    if (watched == m_attributes->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const QModelIndex index = m_attributes->indexAt(static_cast<QMouseEvent*>(event)->pos());
        if (index.isValid()) {
            Q_EMIT secondCurveToggled(index.row());
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
