#include "TSSpritesWindow.h"

#include "HistoryKeyFilter.h"
#include "HistoryManager.h"
#include "TSAnimationEditorTimelineWidget.h"
#include "TSAttributeWidget.h"
#include "TSAttributesView.h"
#include "TSLibraryWidget.h"
#include "TSMessageBox.h"
#include "TSModelController.h"
#include "TSModelObjectImage.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributeSprite.h"
#include "TimeLimits.h"

#include <QCloseEvent>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFrameMilliseconds = 1000.0 / 60.0;
// An hour of frames, the longest an animation lasts.
constexpr int kMaxFrames = static_cast<int>(TimeLimits::kMaxSeconds) * 60;
constexpr float kMaxSpeed = 1000.0f;

QString speedText(float speed)
{
    return QString::number(static_cast<double>(speed), 'g', 6);
}

} // namespace

TSSpritesWindow::TSSpritesWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_history(HistoryManager::instance()), m_scene(new QGraphicsScene(this)),
      m_preview(new QGraphicsPixmapItem())
{
    setObjectName(QStringLiteral("spritesWindow"));
    setWindowTitle(QStringLiteral("Sprite Editor"));
    setWindowModality(Qt::WindowModal);
    setStyleSheet(QStringLiteral("#widget_2, #widget { background: #202020; }"
                                 "#attributesContents { background: #282828; }"
                                 "QLabel { color: rgb(180, 180, 180); }"));
    resize(919, 497);
    m_preview->setTransformationMode(Qt::SmoothTransformation);
    m_scene->addItem(m_preview);
    buildWidgets();

    connect(m_library, &TSLibraryWidget::itemClicked, this, &TSSpritesWindow::treeWidgetItemSelected);
    connect(m_library, &TSLibraryWidget::itemActivated, this,
            [this](TSModel* model) { spriteItemSelected(dynamic_cast<TSModelSpriteContainer*>(model)); });
    connect(m_search, &QLineEdit::textChanged, m_library, &TSLibraryWidget::setSearchFilter);
    connect(m_timeline, &TSAnimationEditorTimelineWidget::frameChanged, this,
            &TSSpritesWindow::timelineFrameChanged);
    if (m_history) {
        connect(m_history, &QUndoStack::indexChanged, this, &TSSpritesWindow::historyChanged);
    }
    QMetaObject::connectSlotsByName(this);
    HistoryKeyFilter::install(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        HistoryKeyFilter::install(child);
    }
    showContainer();
}

TSSpritesWindow::~TSSpritesWindow()
{
    for (cocos2d::CCObject* model :
         {static_cast<cocos2d::CCObject*>(m_container), static_cast<cocos2d::CCObject*>(m_object)}) {
        if (model) {
            model->release();
        }
    }
}

void TSSpritesWindow::buildWidgets()
{
    auto* left = new QWidget(this);
    left->setObjectName(QStringLiteral("widget"));
    left->setAttribute(Qt::WA_StyledBackground);
    m_search = new QLineEdit(left);
    m_search->setObjectName(QStringLiteral("searchWidget"));
    m_search->setPlaceholderText(QStringLiteral("Search"));
    m_search->setClearButtonEnabled(true);
    m_library = new TSLibraryWidget(left);
    m_library->setObjectName(QStringLiteral("mediaLibrary"));
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(8, 8, 8, 8);
    leftColumn->addWidget(m_search);
    leftColumn->addWidget(m_library, 1);

    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("widget_2"));
    right->setAttribute(Qt::WA_StyledBackground);
    m_view = new QGraphicsView(m_scene, right);
    m_view->setObjectName(QStringLiteral("graphicsView"));
    m_view->setBackgroundBrush(QColor(45, 45, 45));
    m_view->setRenderHint(QPainter::SmoothPixmapTransform);
    m_view->viewport()->installEventFilter(this);
    m_message = new QLabel(right);
    m_message->setObjectName(QStringLiteral("previewMessage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);

    auto* scroll = new QScrollArea(right);
    scroll->setObjectName(QStringLiteral("attributesScrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFixedWidth(330);
    auto* contents = new QWidget(scroll);
    contents->setObjectName(QStringLiteral("attributesContents"));
    contents->setAttribute(Qt::WA_StyledBackground);
    m_attributeLayout = new QVBoxLayout(contents);
    m_attributeLayout->setObjectName(QStringLiteral("attributeLayout"));
    m_attributeLayout->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(contents);

    auto* previewColumn = new QVBoxLayout();
    previewColumn->addWidget(m_view, 1);
    previewColumn->addWidget(m_message);
    auto* top = new QHBoxLayout();
    top->addLayout(previewColumn, 1);
    top->addWidget(scroll);

    m_tools = new QWidget(right);
    m_tools->setObjectName(QStringLiteral("animationEditorTools"));
    m_play = new QToolButton(m_tools);
    m_play->setObjectName(QStringLiteral("playButton"));
    m_play->setIcon(QIcon(QStringLiteral(":/resources/animationView/AE_Play.svg")));
    m_play->setCheckable(true);
    m_play->setToolTip(QStringLiteral("Play"));
    m_timeline = new TSAnimationEditorTimelineWidget(m_tools);
    m_frames = new QLineEdit(m_tools);
    m_frames->setObjectName(QStringLiteral("durationLineEdit"));
    m_frames->setToolTip(QStringLiteral("Duration"));
    m_frames->setFixedWidth(60);
    m_speed = new QLineEdit(m_tools);
    m_speed->setObjectName(QStringLiteral("animationSpeedLineEdit"));
    m_speed->setToolTip(QStringLiteral("Animation Speed"));
    m_speed->setFixedWidth(60);
    auto* tools = new QHBoxLayout(m_tools);
    tools->setContentsMargins(0, 0, 0, 0);
    tools->addWidget(m_play);
    tools->addWidget(m_timeline, 1);
    tools->addWidget(new QLabel(QStringLiteral("Frames"), m_tools));
    tools->addWidget(m_frames);
    tools->addWidget(new QLabel(QStringLiteral("Speed"), m_tools));
    tools->addWidget(m_speed);

    auto* save = new QPushButton(QStringLiteral("Save"), right);
    save->setObjectName(QStringLiteral("assignButton"));
    save->setToolTip(QStringLiteral("Use the selected animation"));
    auto* close = new QPushButton(QStringLiteral("Close"), right);
    close->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);

    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(8, 8, 8, 8);
    rightColumn->addLayout(top, 1);
    rightColumn->addWidget(m_tools);
    rightColumn->addLayout(buttons);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 699});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

int TSSpritesWindow::playInterval(float speed)
{
    return std::max(1, static_cast<int>(kFrameMilliseconds / static_cast<double>(speed)));
}

int TSSpritesWindow::frameCountOf(const TSModelSpriteContainer* container)
{
    // The small addition keeps n / 60 seconds at n frames despite the rounding of floats.
    const double frames = static_cast<double>(container->duration()) * 60.0 + 1e-3;
    return std::clamp(TimeLimits::wholeFrames(frames), 1, kMaxFrames);
}

void TSSpritesWindow::setSpriteContainer(TSModelSpriteContainer* container)
{
    m_library->selectModel(container);
    treeWidgetItemSelected(container);
}

void TSSpritesWindow::treeWidgetItemSelected(TSModel* model)
{
    auto* container = dynamic_cast<TSModelSpriteContainer*>(model);
    stopPlaying();
    if (container) {
        container->retain();
    }
    if (m_container) {
        m_container->release();
    }
    m_container = container;
    m_state = SpriteContainerState::of(container);

    // The old panel may be the sender of what got here: it goes once the event is done.
    if (m_attributes) {
        m_attributeLayout->removeWidget(m_attributes);
        m_attributes->hide();
        m_attributes->deleteLater();
        m_attributes = nullptr;
    }
    if (container) {
        m_attributes = new TSAttributesView(m_attributeLayout->parentWidget());
        m_attributes->setModel(container->attributes());
        m_attributeLayout->insertWidget(0, m_attributes);
        connect(m_attributes, &TSAttributesView::editingFinished, this,
                &TSSpritesWindow::attributeViewUpdated);
        connect(m_attributes, qOverload<TSPAttribute*>(&TSAttributesView::attributeEditingFinished), this,
                &TSSpritesWindow::onAttributeChanged);
    }

    if (m_object) {
        m_object->release();
        m_object = nullptr;
    }
    if (container) {
        m_object = new TSModelObjectImage();
        m_object->image()->setSprite(container);
    }
    showContainer();
}

void TSSpritesWindow::showContainer()
{
    const int sprites = m_container ? m_container->spriteCount() : 0;
    const bool animated = sprites >= 2;
    if (!animated) {
        stopPlaying();
    }
    m_tools->setVisible(animated);
    if (!m_container) {
        m_message->setText(QStringLiteral("Choose an animation in the library."));
    } else if (sprites == 0) {
        m_message->setText(QStringLiteral("\"%1\" has no frames: its images are gone from the document.")
                               .arg(QString::fromStdString(m_container->name())));
    }
    m_message->setVisible(sprites == 0);
    m_view->setVisible(sprites > 0);
    if (animated) {
        m_timeline->setFrameCount(frameCountOf(m_container));
        m_timeline->setCurrentFrame(0);
        showFields();
    }
    m_preview->setPixmap(QPixmap());
    showFrame(0);
    fitPreview();
}

void TSSpritesWindow::showFields()
{
    m_frames->setText(QString::number(frameCountOf(m_container)));
    m_speed->setText(speedText(m_container->animationSpeed()));
}

void TSSpritesWindow::showFrame(int frame)
{
    TSModelSpriteContainer* container = m_object ? m_object->spriteContainer() : nullptr;
    if (!container || container->spriteCount() == 0) {
        m_preview->setPixmap(QPixmap());
        return;
    }
    const QImage image = container->frameImage(frame);
    m_preview->setPixmap(QPixmap::fromImage(image));
    m_preview->setOffset(-image.width() / 2.0, -image.height() / 2.0);
}

QImage TSSpritesWindow::previewImage() const
{
    return m_preview->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void TSSpritesWindow::fitPreview()
{
    const QRectF frame = m_preview->boundingRect();
    m_scene->setSceneRect(frame);
    m_view->resetTransform();
    const QSize room = m_view->viewport()->size() - QSize(16, 16);
    if (!frame.isEmpty() && (frame.width() > room.width() || frame.height() > room.height())) {
        m_view->fitInView(frame, Qt::KeepAspectRatio);
    }
}

bool TSSpritesWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Resize) {
        fitPreview();
    }
    return QWidget::eventFilter(watched, event);
}

void TSSpritesWindow::stopPlaying()
{
    if (m_timer) {
        m_timer->stop();
    }
    if (m_play && m_play->isChecked()) {
        const QSignalBlocker blocker(m_play);
        m_play->setChecked(false);
    }
}

void TSSpritesWindow::historyChanged()
{
    // An undone animation is out of the document.
    if (m_container && TSModelController::instance()->modelWithId(m_container->id()) != m_container) {
        setSpriteContainer(nullptr);
    } else if (m_container) {
        m_state = SpriteContainerState::of(m_container);
        if (m_attributes) {
            m_attributes->refresh();
        }
        if (m_container->spriteCount() >= 2) {
            m_timeline->setFrameCount(frameCountOf(m_container));
            showFields();
            if (m_timer && m_timer->isActive()) {
                m_timer->start(playInterval(m_container->animationSpeed()));
            }
        }
        showFrame(m_timeline->currentFrame());
    }
    m_library->updateLabelsList();
    m_library->selectModel(m_container);
}

void TSSpritesWindow::record(const QString& text)
{
    if (m_history) {
        m_history->changeSpriteContainer(text, m_container, m_state);
    }
    m_state = SpriteContainerState::of(m_container);
}

void TSSpritesWindow::refuse(QLineEdit* field, const QString& shown, const QString& message)
{
    // The field shows the value first, so leaving it for the box commits nothing more.
    field->setText(shown);
    TSMessageBox::warning(this, QStringLiteral("Sprite Editor"), message);
}

void TSSpritesWindow::spriteItemSelected(TSModelSpriteContainer* model)
{
    if (!model) {
        return;
    }
    Q_EMIT spriteDidSelected(model);
    close();
}

void TSSpritesWindow::attributeViewUpdated(TSAttributeWidget* attr)
{
    if (!m_container) {
        return;
    }
    // Colour values change every frame's picture; a new name changes none.
    if (attr && dynamic_cast<TSPAttributeFloat*>(attr->attribute())) {
        m_container->applyAdjustments();
    }
    record(QStringLiteral("Sprite %1").arg(attr ? attr->displayName() : QString()));
}

void TSSpritesWindow::onAttributeChanged(TSPAttribute*)
{
    showFrame(m_timeline->currentFrame());
    m_library->updateLabelsList();
    m_library->selectModel(m_container);
}

void TSSpritesWindow::timerTimout()
{
    const int next = m_timeline->currentFrame() + 1;
    const int frame = next >= m_timeline->frameCount() ? 0 : next;
    m_timeline->setCurrentFrame(frame);
    timelineFrameChanged(frame);
}

void TSSpritesWindow::timelineFrameChanged(int frame)
{
    showFrame(frame);
}

void TSSpritesWindow::on_closeButton_clicked()
{
    close();
}

void TSSpritesWindow::on_assignButton_clicked()
{
    auto* selected = dynamic_cast<TSModelSpriteContainer*>(m_library->selectedModel());
    if (selected && selected->spriteCount() == 0) {
        TSMessageBox::warning(
            this, QStringLiteral("Sprite Editor"),
            QStringLiteral("\"%1\" has no frames to show.").arg(QString::fromStdString(selected->name())));
        return;
    }
    if (selected) {
        Q_EMIT spriteDidSelected(selected);
    }
    close();
}

void TSSpritesWindow::on_playButton_toggled(bool checked)
{
    if (!checked || !m_container) {
        if (m_timer) {
            m_timer->stop();
        }
        return;
    }
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setObjectName(QStringLiteral("playTimer"));
        connect(m_timer, &QTimer::timeout, this, &TSSpritesWindow::timerTimout);
    }
    m_timer->start(playInterval(m_container->animationSpeed()));
}

void TSSpritesWindow::on_durationLineEdit_editingFinished()
{
    if (!m_container || !m_frames->isModified()) {
        return;
    }
    m_frames->setModified(false);
    const QString shown = QString::number(frameCountOf(m_container));
    bool ok = false;
    const int frames = m_frames->text().trimmed().toInt(&ok);
    if (!ok || frames < 1 || frames > kMaxFrames) {
        refuse(m_frames, shown,
               QStringLiteral("The length must be a whole number of frames from 1 to %1.").arg(kMaxFrames));
        return;
    }
    if (frames == frameCountOf(m_container)) {
        m_frames->setText(shown);
        return;
    }
    m_container->setDuration(static_cast<float>(frames) / TSModelSpriteContainer::kFramesPerSecond);
    m_timeline->setFrameCount(frames);
    record(QStringLiteral("Sprite frames"));
}

void TSSpritesWindow::on_animationSpeedLineEdit_editingFinished()
{
    if (!m_container || !m_speed->isModified()) {
        return;
    }
    m_speed->setModified(false);
    const QString shown = speedText(m_container->animationSpeed());
    bool ok = false;
    const float speed = m_speed->text().trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(speed) || speed <= 0.0f || speed > kMaxSpeed) {
        refuse(m_speed, shown,
               QStringLiteral("The speed must be a number greater than 0 and at most %1.").arg(kMaxSpeed));
        return;
    }
    if (speed == m_container->animationSpeed()) {
        m_speed->setText(shown);
        return;
    }
    m_container->setAnimationSpeed(speed);
    m_speed->setText(speedText(speed));
    if (m_timer && m_timer->isActive()) {
        m_timer->start(playInterval(speed));
    }
    record(QStringLiteral("Sprite speed"));
}

void TSSpritesWindow::closeEvent(QCloseEvent* event)
{
    stopPlaying();
    Q_EMIT closed();
    event->accept();
}
