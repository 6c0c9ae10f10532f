#include "EditingModes.h"

#include "ObjectManipulator.h"
#include "ObjectSettingsPanel.h"
#include "SceneAxes.h"
#include "Skeleton.h"
#include "TSGraphicsButton.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGraphicsEllipseItem>
#include <QGraphicsView>
#include <QMessageBox>

namespace {

// Only the view itself: its scroll bars are children that would take the frame too.
const QString kRecordingFrame =
    QStringLiteral("#graphicsView { border-style: solid; border-width: 2px; border-color: rgb(255,168,0); }");
const QString kNoFrame = QStringLiteral("#graphicsView { border-width: 0px; }");
const QString kJointHint = QStringLiteral("For editing Joins, need to activate:\nToggle Animation Mode");

} // namespace

EditingModes::EditingModes(QWidget* window, QGraphicsView* view, Skeleton* skeleton, ObjectManipulator* manipulator,
                           SceneAxes* axes, ObjectSettingsPanel* settings, const Buttons& buttons, QObject* parent)
    : QObject(parent), m_window(window), m_view(view), m_skeleton(skeleton), m_manipulator(manipulator),
      m_axes(axes), m_settings(settings), m_buttons(buttons)
{
    m_buttons.axes->setChecked(m_axes && m_axes->isVisible());
    m_buttons.skeleton->setChecked(true);
    m_buttons.animationMode->setChecked(false);
    m_buttons.record->setCheckable(true);
    connect(m_buttons.axes, &TSGraphicsButton::toggled, this, &EditingModes::axesVisibilityToggled);
    connect(m_buttons.skeleton, &TSGraphicsButton::toggled, this, &EditingModes::skeletonVisibilityToggled);
    connect(m_buttons.animationMode, &TSGraphicsButton::toggled, this, &EditingModes::animationModeToggled);
    connect(m_buttons.record, &QAbstractButton::toggled, this, &EditingModes::setRecording);
    if (m_view) {
        m_view->setStyleSheet(kNoFrame);
    }
}

QGraphicsItem* EditingModes::pendingJoint() const
{
    const Skeleton::Node* node = m_skeleton && m_pendingNode ? m_skeleton->nodeById(m_pendingNode) : nullptr;
    return node ? node->joint : nullptr;
}

bool EditingModes::hasImages(const QList<QGraphicsItem*>& items) const
{
    for (const QGraphicsItem* item : items) {
        if (m_skeleton && m_skeleton->assetByItem(item)) {
            return true;
        }
    }
    return false;
}

void EditingModes::setRecording(bool on)
{
    m_recording = on;
    if (on && m_manipulator && hasImages(m_manipulator->targets())) {
        warnAboutAssets();
        m_manipulator->setTargets({});
    }
    if (m_manipulator) {
        m_manipulator->setAnimationMode(on);
        // The fields show keys now, or the set-up pose.
        m_manipulator->setTargets(m_manipulator->targets());
    }
    if (m_view) {
        m_view->setStyleSheet(on ? kRecordingFrame : kNoFrame);
    }
}

void EditingModes::axesVisibilityToggled(bool on)
{
    if (m_axes) {
        m_axes->setVisible(on);
    }
}

void EditingModes::animationModeToggled(bool on)
{
    if (m_manipulator) {
        m_manipulator->setTargets({});
    }
    if (m_skeleton) {
        m_skeleton->setAnimationMode(on);
        m_skeleton->setEditableJoints(on);
    }
}

void EditingModes::skeletonVisibilityToggled(bool on)
{
    if (!m_skeleton) {
        return;
    }
    if (!on && m_skeleton->editableJoints()) {
        m_buttons.animationMode->setChecked(false);
        if (m_manipulator) {
            m_manipulator->setTargets({});
        }
        m_skeleton->setEditableJoints(false);
    }
    // A shown skeleton can be edited: the "Animation mode" button says so too.
    if (on) {
        m_buttons.animationMode->setChecked(true);
    }
    m_skeleton->setEditableJoints(on);
    m_skeleton->setSkeletonVisible(on);
}

void EditingModes::selectionChanged()
{
    if (!m_manipulator) {
        return;
    }
    if (m_manipulator->hasTargets()) {
        hideHint();
    }
    if (m_recording && hasImages(m_manipulator->targets())) {
        warnAboutAssets();
        m_buttons.record->click();
    }
}

void EditingModes::outlinerObjectsChanged(const QList<QGraphicsItem*>& items)
{
    if (!m_skeleton || !m_manipulator) {
        return;
    }
    const Skeleton::Node* node = items.size() == 1 ? m_skeleton->nodeByItem(items.first()) : nullptr;
    if (node && items.first() == node->joint && !m_skeleton->isSkeletonVisible()) {
        m_manipulator->setTargets({});
        m_pendingNode = node->id;
        if (m_settings) {
            m_settings->setHint(kJointHint, QStringLiteral("Activate"));
        }
        return;
    }
    hideHint();
    if (m_recording && hasImages(items)) {
        warnAboutAssets();
    }
    m_manipulator->setTargets(items);
}

void EditingModes::activate()
{
    QGraphicsItem* joint = pendingJoint();
    hideHint();
    if (!m_buttons.skeleton->isChecked()) {
        m_buttons.skeleton->setChecked(true);
    }
    if (joint && m_manipulator) {
        m_manipulator->setTargets({joint});
    }
}

void EditingModes::reset()
{
    if (m_buttons.record->isChecked()) {
        m_buttons.record->click();
    }
    m_buttons.axes->setChecked(false);
    hideHint();
}

void EditingModes::hideHint()
{
    m_pendingNode = 0;
    if (m_settings) {
        m_settings->setHint(QString());
    }
}

void EditingModes::warnAboutAssets()
{
    if (m_window->property(kWarnedProperty).toBool() || m_warning) {
        return;
    }
    // Not modal: the editor goes on while the box is open.
    m_warning = new QMessageBox(QMessageBox::Warning, QStringLiteral("Warning"),
                                QStringLiteral("Animating Assets is not supported"), QMessageBox::Ok, m_window);
    m_warning->setObjectName(QStringLiteral("assetsWarning"));
    m_warning->setAttribute(Qt::WA_DeleteOnClose);
    m_warning->setDefaultButton(QMessageBox::Ok);
    m_warning->setWindowModality(Qt::NonModal);
    auto* dontShow = new QCheckBox(QStringLiteral("Dont show this message again"), m_warning);
    dontShow->setObjectName(QStringLiteral("dontShowCheckBox"));
    connect(dontShow, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked) {
            m_window->setProperty(kWarnedProperty, true);
        }
    });
    m_warning->setCheckBox(dontShow);
    m_warning->show();
}
