#include "ObjectSettingsPanel.h"

#include "HistoryManager.h"
#include "ImageFile.h"
#include "ScreenScale.h"
#include "TSFileDialogs.h"
#include "TSImageDropArea.h"
#include "TSLineEditUpdateable.h"
#include "TSModelSpriteContainer.h"
#include "TSSpritesWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace {

using Field = ObjectFieldEditor::Field;

constexpr int kColumnWidth = 240;
const QString kBoneIcon = QStringLiteral(":/resources/outliner/Icon_bone.svg");

// An 8-pixel dot, a pixel below the middle of an icon of the given size: drawn at the size the
// list shows it, so that no screen's pixel density scales it.
QIcon circleIcon(const QColor& color, const QSize& size)
{
    QPixmap pixmap = ScreenScale::blankPixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF((size.width() - 8) / 2.0, (size.height() - 8) / 2.0 + 1, 8, 8));
    return QIcon(pixmap);
}

// The joint icon drawn in one colour.
QPixmap tinted(const QString& resource, const QColor& color, int size)
{
    QPixmap pixmap = QIcon(resource).pixmap(size, size);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

} // namespace

ObjectSettingsPanel::ObjectSettingsPanel(ObjectFieldEditor* editor, HistoryManager* history, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_history(history), m_skeletons(new QComboBox(this)),
      m_rows(new QWidget(this)), m_hint(new QWidget(this)), m_hintIcon(new QLabel(m_hint)),
      m_hintText(new QLabel(m_hint)), m_hintButton(new QPushButton(m_hint))
{
    setObjectName(QStringLiteral("objectSettingsFrame"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#objectSettingsFrame { background: rgb(30, 30, 30); }"
                                 "QLabel { color: rgb(180, 180, 180); }"));
    const double scale = ScreenScale::of(this);
    setFixedWidth(static_cast<int>(std::lround(kColumnWidth * scale)));
    m_skeletons->setObjectName(QStringLiteral("skeletonsComboBox"));
    m_skeletons->setToolTip(QStringLiteral("Skeleton"));

    auto* rows = new QVBoxLayout(m_rows);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);

    TSLineEditUpdateable* name = addField(ObjectFieldEditor::Name, QStringLiteral("name"));
    addRow(QStringLiteral("Name"), {name});
    addRow(QStringLiteral("Position"), {addField(ObjectFieldEditor::PosX, QStringLiteral("posX")),
                                        addField(ObjectFieldEditor::PosY, QStringLiteral("posY"))});
    addRow(QStringLiteral("Rotation"), {addField(ObjectFieldEditor::Rotation, QStringLiteral("rotation"))});
    addRow(QStringLiteral("Scale"), {addField(ObjectFieldEditor::ScaleX, QStringLiteral("scaleX")),
                                     addField(ObjectFieldEditor::ScaleY, QStringLiteral("scaleY"))});
    // "Speed": the whole "Animation Speed" does not fit the column's titles.
    m_speedRow = addRow(QStringLiteral("Speed"),
                        {addField(ObjectFieldEditor::AnimationSpeed, QStringLiteral("animationSpeed"))});
    m_fields.value(ObjectFieldEditor::AnimationSpeed)
        ->setToolTip(QStringLiteral("Animation speed of the frame animation"));
    m_fields.value(ObjectFieldEditor::PosX)->setToolTip(QStringLiteral("X (pixels)"));
    m_fields.value(ObjectFieldEditor::PosY)->setToolTip(QStringLiteral("Y (pixels, up)"));
    m_fields.value(ObjectFieldEditor::Rotation)->setToolTip(QStringLiteral("Degrees, counter-clockwise"));
    m_fields.value(ObjectFieldEditor::ScaleX)->setToolTip(QStringLiteral("Scale X"));
    m_fields.value(ObjectFieldEditor::ScaleY)->setToolTip(QStringLiteral("Scale Y"));

    m_boneColors = new QComboBox(this);
    m_boneColors->setObjectName(QStringLiteral("boneColorComboBox"));
    fillBoneColors();
    m_nodeRows.append(addRow(QStringLiteral("Bone Color"), {m_boneColors}));

    auto* imageLabel = new QLabel(QStringLiteral("Image"), this);
    imageLabel->setObjectName(QStringLiteral("imageLabel"));
    m_dropArea = new TSImageDropArea(this);
    m_dropArea->setObjectName(QStringLiteral("imageDropArea"));
    m_dropArea->setFixedHeight(static_cast<int>(std::lround(72 * scale)));
    auto* imageRow = new QWidget(m_rows);
    auto* imageLayout = new QVBoxLayout(imageRow);
    imageLayout->setContentsMargins(0, 6, 0, 2);
    imageLayout->setSpacing(3);
    imageLayout->addWidget(imageLabel);
    imageLayout->addWidget(m_dropArea);
    rows->addWidget(imageRow);

    addAdjustmentRow(ObjectFieldEditor::Hue, QStringLiteral("Hue"), QStringLiteral("hue"), -100, 100);
    addAdjustmentRow(ObjectFieldEditor::Brightness, QStringLiteral("Brightness"), QStringLiteral("brightness"), -100,
                     100);
    addAdjustmentRow(ObjectFieldEditor::Saturation, QStringLiteral("Saturation"), QStringLiteral("saturation"), -100,
                     100);
    addAdjustmentRow(ObjectFieldEditor::Contrast, QStringLiteral("Contrast"), QStringLiteral("contrast"), -100, 100);
    addAdjustmentRow(ObjectFieldEditor::Opacity, QStringLiteral("Opacity"), QStringLiteral("opacity"), 0, 99);
    m_sliders.value(ObjectFieldEditor::Opacity)->setValue(99);

    m_tags = new QLabel(this);
    m_tags->setObjectName(QStringLiteral("tags"));
    m_tags->setWordWrap(true);
    m_tags->setStyleSheet(QStringLiteral("QLabel:disabled { color: rgb(100, 100, 100); }"));
    m_imageRows.append(addRow(QStringLiteral("Tags"), {m_tags}));

    m_hint->setObjectName(QStringLiteral("hintArea"));
    m_hintIcon->setObjectName(QStringLiteral("hintIconLabel"));
    m_hintIcon->setPixmap(tinted(kBoneIcon, QColor(241, 156, 0), static_cast<int>(std::lround(20 * scale))));
    m_hintText->setObjectName(QStringLiteral("hintTextLabel"));
    m_hintText->setWordWrap(true);
    m_hintText->setStyleSheet(QStringLiteral("color: rgb(241, 156, 0);"));
    m_hintButton->setObjectName(QStringLiteral("hintPushButton"));
    auto* hintLayout = new QGridLayout(m_hint);
    hintLayout->setContentsMargins(0, 8, 0, 0);
    hintLayout->setHorizontalSpacing(8);
    hintLayout->setVerticalSpacing(6);
    hintLayout->addWidget(m_hintIcon, 0, 0, Qt::AlignTop);
    hintLayout->addWidget(m_hintText, 0, 1, Qt::AlignTop);
    hintLayout->addWidget(m_hintButton, 1, 1, Qt::AlignLeft | Qt::AlignTop);
    hintLayout->setColumnStretch(1, 1);
    m_hint->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 12);
    layout->setSpacing(8);
    layout->addWidget(m_skeletons);
    layout->addWidget(m_rows);
    layout->addStretch(1);
    layout->addWidget(m_hint);

    connect(m_hintButton, &QPushButton::clicked, this, &ObjectSettingsPanel::hintButtonClicked);
    connect(m_boneColors, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (m_history && m_editor && index >= 0 && index < ObjectFieldEditor::boneColors().size()) {
            m_history->changeBoneColor(m_editor->target(), QColor(ObjectFieldEditor::boneColors().at(index).color));
        }
        showSelection();
    });
    connect(m_dropArea, &TSImageDropArea::imageDropped, this, [this](const QImage& image) {
        if (m_history && m_editor && m_editor->targetIsImage()) {
            m_history->changeAssetPixmap(m_editor->target(), image);
        }
        showSelection();
    });
    connect(m_dropArea, &TSImageDropArea::filesDropped, this, &ObjectSettingsPanel::takeFiles);
    connect(m_dropArea, &TSImageDropArea::contentEditingRequested, this, &ObjectSettingsPanel::editPicture);
    if (m_history) {
        // Edits made elsewhere (the sprite editor, undo) show here at once.
        connect(m_history, &QUndoStack::indexChanged, this, &ObjectSettingsPanel::showSelection);
    }
    showSelection();
}

QWidget* ObjectSettingsPanel::addRow(const QString& label, const QList<QWidget*>& widgets)
{
    auto* row = new QWidget(m_rows);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* title = new QLabel(label, row);
    title->setFixedWidth(static_cast<int>(std::lround(92 * ScreenScale::of(this))));
    layout->addWidget(title);
    for (QWidget* widget : widgets) {
        widget->setParent(row);
        layout->addWidget(widget, 1);
    }
    static_cast<QVBoxLayout*>(m_rows->layout())->addWidget(row);
    return row;
}

TSLineEditUpdateable* ObjectSettingsPanel::addField(Field field, const QString& objectName)
{
    auto* edit = new TSLineEditUpdateable(this);
    edit->setObjectName(objectName);
    m_fields.insert(field, edit);
    connect(edit, &TSLineEditUpdateable::requestTextChange, this,
            [this, field](const QString& old, const QString& now) { onTextChange(field, old, now); });
    connect(edit, &TSLineEditUpdateable::requestChangeHandle, this, [this, field] { onChangeHandle(field); });
    return edit;
}

void ObjectSettingsPanel::addAdjustmentRow(Field field, const QString& label, const QString& objectName, int minimum,
                                           int maximum)
{
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(objectName + QStringLiteral("Slider"));
    slider->setRange(minimum, maximum);
    m_sliders.insert(field, slider);
    TSLineEditUpdateable* edit = addField(field, objectName);
    edit->setFixedWidth(static_cast<int>(std::lround(52 * ScreenScale::of(this))));
    QWidget* row = addRow(label, {slider, edit});
    static_cast<QHBoxLayout*>(row->layout())->setStretch(2, 0);
    m_imageRows.append(row);
    connect(slider, &QSlider::valueChanged, this, [this, field](int value) { onSliderMoved(field, value); });
    connect(slider, &QSlider::sliderReleased, this, [this, field] { onSliderReleased(field); });
}

void ObjectSettingsPanel::fillBoneColors()
{
    for (const ObjectFieldEditor::BoneColor& entry : ObjectFieldEditor::boneColors()) {
        QColor color;
        color.setNamedColor(entry.color);
        m_boneColors->addItem(circleIcon(color, m_boneColors->iconSize()), entry.name);
    }
}

void ObjectSettingsPanel::showSelection()
{
    const bool shown = m_editor && m_editor->target();
    m_rows->setVisible(shown);
    if (!shown) {
        return;
    }
    const bool node = m_editor->targetIsNode();
    for (QWidget* row : qAsConst(m_nodeRows)) {
        row->setVisible(node);
    }
    for (QWidget* row : qAsConst(m_imageRows)) {
        row->setVisible(!node);
    }
    m_speedRow->setVisible(m_editor->targetIsSprite());
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        const auto field = static_cast<Field>(it.key());
        it.value()->showText(m_editor->text(field));
        it.value()->setEnabled(m_editor->applies(field));
        syncSlider(field);
    }
    {
        const QSignalBlocker blocker(m_boneColors);
        m_boneColors->setCurrentText(m_editor->boneColorName());
    }
    const QString tags = m_editor->tags();
    m_tags->setText(tags.isEmpty() ? QStringLiteral("No tags") : tags);
    m_tags->setEnabled(!tags.isEmpty());
    m_dropArea->setPicture(m_editor->picture());
    m_dropArea->setToolTip(node ? QStringLiteral("Drop a PNG image here to add it to the joint, or several to add "
                                                 "them as one frame animation")
                                : QStringLiteral("Drop a PNG image here to replace the picture, or several to add "
                                                 "a frame animation; double-click to choose them"));
    // Rows came and went: place them now, not when the event loop next runs.
    m_rows->layout()->activate();
}

void ObjectSettingsPanel::setSkeletonName(const QString& name)
{
    m_skeletons->clear();
    if (!name.isEmpty()) {
        m_skeletons->addItem(QIcon(QStringLiteral(":/resources/outliner/Icon_Skeleton.svg")), name);
    }
}

void ObjectSettingsPanel::syncSlider(Field field)
{
    QSlider* slider = m_sliders.value(field);
    if (!slider) {
        return;
    }
    bool ok = false;
    const double value = m_fields.value(field)->text().toDouble(&ok);
    const QSignalBlocker blocker(slider);
    if (ok && std::isfinite(value)) {
        slider->setValue(static_cast<int>(std::lround(value * 100.0)));
    }
}

void ObjectSettingsPanel::onTextChange(Field field, const QString& old, const QString& now)
{
    TSLineEditUpdateable* edit = m_fields.value(field);
    QGraphicsItem* target = m_editor ? m_editor->target() : nullptr;
    const ObjectFieldEditor::Check checked =
        target ? m_editor->check(field, now) : ObjectFieldEditor::Check();
    if (!checked.accepted || checked.text == old || !m_history) {
        // Nothing to take: the field shows the value it had.
        edit->showText(old);
        syncSlider(field);
        if (!checked.refusal.isEmpty()) {
            Q_EMIT refused(QStringLiteral("Rename"), checked.refusal);
        }
        return;
    }
    edit->setText(checked.text);
    m_history->changeLineEditValueFor(edit, target);
}

void ObjectSettingsPanel::rename(QGraphicsItem* item, const QString& name)
{
    TSLineEditUpdateable* edit = m_fields.value(ObjectFieldEditor::Name);
    if (!edit || !m_editor || !item || item != m_editor->target()) {
        return;
    }
    edit->setText(name);
    edit->updatePreviousText();
}

void ObjectSettingsPanel::onChangeHandle(Field field)
{
    if (m_editor) {
        m_editor->apply(field, m_fields.value(field)->text());
    }
    showSelection();
}

void ObjectSettingsPanel::onSliderMoved(Field field, int value)
{
    QSlider* slider = m_sliders.value(field);
    TSLineEditUpdateable* edit = m_fields.value(field);
    edit->setText(QString::number(value / 100.0, 'g', 6));
    // Keys, wheel and clicks beside the handle change the value in one step: record it at once.
    if (!slider->isSliderDown()) {
        onSliderReleased(field);
    }
}

void ObjectSettingsPanel::onSliderReleased(Field field)
{
    TSLineEditUpdateable* edit = m_fields.value(field);
    QGraphicsItem* target = m_editor ? m_editor->target() : nullptr;
    // The field was only written while the slider moved: what it committed last is where the
    // slider started.
    edit->setPreviousText(edit->committedText());
    if (target && m_history && m_editor->applies(field)) {
        m_history->changeLineEditValueFor(edit, target);
    }
    showSelection();
}

void ObjectSettingsPanel::setHint(const QString& text, const QString& buttonText)
{
    m_hintText->setText(text);
    m_hintButton->setText(buttonText);
    m_hintButton->setVisible(!buttonText.isEmpty());
    m_hint->setVisible(!text.isEmpty());
}

bool ObjectSettingsPanel::isHintShown() const
{
    return !m_hint->isHidden();
}

void ObjectSettingsPanel::takeFiles(const QStringList& paths)
{
    if (!m_history || !m_editor || !m_editor->target() || paths.isEmpty()) {
        return;
    }
    const QString joint = m_editor->targetJointName();
    if (paths.size() > 1) {
        m_history->addSpriteAnimation(paths, joint);
    } else if (m_editor->targetIsNode()) {
        m_history->addAssetsFromFiles({QUrl::fromLocalFile(paths.first())}, joint);
    }
    showSelection();
}

void ObjectSettingsPanel::editPicture()
{
    if (!m_editor || !m_editor->target()) {
        return;
    }
    if (m_editor->targetIsSprite()) {
        openSpriteEditor();
        return;
    }
    const QStringList paths = TSFileDialogs::getOpenFileNames(this, QStringLiteral("Choose Images"), QString(),
                                                              QStringLiteral("PNG Images (*.png)"));
    if (paths.size() == 1 && m_editor->targetIsImage() && m_history) {
        QString error;
        const QImage image = ImageFile::read(paths.first(), &error);
        if (image.isNull()) {
            Q_EMIT refused(QStringLiteral("Image"), QStringLiteral("Cannot read \"%1\": %2").arg(paths.first(), error));
            return;
        }
        m_history->changeAssetPixmap(m_editor->target(), image);
        showSelection();
        return;
    }
    takeFiles(paths);
}

TSSpritesWindow* ObjectSettingsPanel::spritesWindow() const
{
    return m_spritesWindow;
}

void ObjectSettingsPanel::openSpriteEditor()
{
    if (m_spritesWindow) {
        m_spritesWindow->raise();
        return;
    }
    const quint64 image = m_editor->targetImageId();
    m_spritesWindow = new TSSpritesWindow(window());
    m_spritesWindow->setAttribute(Qt::WA_DeleteOnClose);
    m_spritesWindow->setSpriteContainer(m_editor->targetSprite());
    // "Save" gives the image the animation chosen in the window.
    connect(m_spritesWindow, &TSSpritesWindow::spriteDidSelected, this,
            [this, image](TSModelSpriteContainer* container) {
                if (m_history) {
                    m_history->changeImageSprite(image, container);
                }
            });
    m_spritesWindow->show();
}
