#include "ExportDialog.h"

#include "TSMessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

// The link icons are embedded resources; registering them here lets every user of the dialog
// (tests too) find them, not only the application. (Outside any namespace: the macro declares the
// registration function where it is used.)
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

constexpr int MaximumValue = 99999;

int clampedToInt(qint64 value)
{
    return static_cast<int>(std::min<qint64>(value, std::numeric_limits<int>::max()));
}

// Percent of base that pixels make, fractions dropped. A zero base has no percent scale.
int percentOf(int pixels, int base)
{
    return base > 0 ? clampedToInt(qint64(pixels) * 100 / base) : 0;
}

// Pixels that percent of base make, fractions dropped.
int pixelsOf(int percent, int base)
{
    return clampedToInt(qint64(base) * percent / 100);
}

QSpinBox* createSpinBox(const QString& objectName, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(objectName);
    box->setRange(0, MaximumValue);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setMinimumWidth(90);
    return box;
}

QRadioButton* createRadio(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(objectName);
    return radio;
}

} // namespace

ExportDialog::ExportDialog(const QSize& baseSize, QWidget* parent) : QDialog(parent), m_baseSize(baseSize)
{
    registerResources();
    setWindowTitle(tr("Export Options"));
    setModal(true);
    setObjectName(QStringLiteral("exportDialog"));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(10);
    layout->addWidget(createResolutionGroup());
    layout->addWidget(createFramerateGroup());
    layout->addWidget(createFormatGroup());
    layout->addLayout(createButtonRow());

    QMetaObject::connectSlotsByName(this);

    // A square base opens with the sides linked.
    m_linkSizeButton->setChecked(m_baseSize.width() == m_baseSize.height());
    m_widthEdit->setValue(m_baseSize.width());
    m_heightEdit->setValue(m_baseSize.height());
}

QWidget* ExportDialog::createResolutionGroup()
{
    auto* group = new QGroupBox(tr("Resolution:"), this);
    group->setObjectName(QStringLiteral("groupBox"));

    auto* widthLabel = new QLabel(tr("Width:"), group);
    widthLabel->setObjectName(QStringLiteral("widthLabel"));
    auto* heightLabel = new QLabel(tr("Height:"), group);
    heightLabel->setObjectName(QStringLiteral("heightLabel"));
    m_widthEdit = createSpinBox(QStringLiteral("widthEdit"), group);
    m_heightEdit = createSpinBox(QStringLiteral("heightEdit"), group);
    widthLabel->setBuddy(m_widthEdit);
    heightLabel->setBuddy(m_heightEdit);

    m_linkSizeButton = new QToolButton(group);
    m_linkSizeButton->setObjectName(QStringLiteral("linkSizeButton"));
    m_linkSizeButton->setCheckable(true);
    m_linkSizeButton->setToolTip(tr("Keep width and height equal"));
    QIcon linkIcon;
    linkIcon.addFile(QStringLiteral(":/resources/icon_link.svg"), QSize(), QIcon::Normal, QIcon::Off);
    linkIcon.addFile(QStringLiteral(":/resources/icon_link_black.svg"), QSize(), QIcon::Normal, QIcon::On);
    m_linkSizeButton->setIcon(linkIcon);
    m_linkSizeButton->setIconSize(QSize(20, 20));
    // The black glyph of the linked state needs a light face to stand on.
    m_linkSizeButton->setStyleSheet(
        QStringLiteral("QToolButton:checked { background-color: palette(highlight);"
                       " border: 1px solid palette(highlight); border-radius: 3px; }"));

    auto* pixelsRadioButton = createRadio(QStringLiteral("pixelsRadioButton"), tr("Pixels"), group);
    pixelsRadioButton->setChecked(true);
    m_percentRadioButton = createRadio(QStringLiteral("percentRadioButton"), tr("Percent"), group);
    auto* unitRow = new QHBoxLayout();
    unitRow->setSpacing(12);
    unitRow->addWidget(pixelsRadioButton);
    unitRow->addWidget(m_percentRadioButton);
    unitRow->addStretch();

    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(widthLabel, 0, 0);
    grid->addWidget(m_widthEdit, 0, 1);
    grid->addWidget(heightLabel, 1, 0);
    grid->addWidget(m_heightEdit, 1, 1);
    grid->addWidget(m_linkSizeButton, 0, 2, 2, 1, Qt::AlignVCenter);
    grid->addLayout(unitRow, 2, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* ExportDialog::createFramerateGroup()
{
    auto* group = new QGroupBox(tr("Framerate:"), this);
    group->setObjectName(QStringLiteral("groupBox_2"));

    m_fps15RadioButton = createRadio(QStringLiteral("fps15RadioButton"), tr("15 FPS"), group);
    auto* fps30RadioButton = createRadio(QStringLiteral("fps30RadioButton"), tr("30 FPS"), group);
    fps30RadioButton->setChecked(true);
    m_fps60RadioButton = createRadio(QStringLiteral("fps60RadioButton"), tr("60 FPS"), group);
    m_fpsCustomRadioButton = createRadio(QStringLiteral("fpsCustomRadioButton"), tr("Custom"), group);

    m_customFpsEdit = createSpinBox(QStringLiteral("customFpsEdit"), group);
    m_customFpsEdit->setEnabled(false);
    m_customFpsLabel = new QLabel(tr("FPS"), group);
    m_customFpsLabel->setObjectName(QStringLiteral("customFpsLabel"));
    m_customFpsLabel->setEnabled(false);
    m_customFpsLabel->setBuddy(m_customFpsEdit);

    auto* presetRow = new QHBoxLayout();
    presetRow->setSpacing(12);
    for (QRadioButton* radio :
         {m_fps15RadioButton, fps30RadioButton, m_fps60RadioButton, m_fpsCustomRadioButton}) {
        presetRow->addWidget(radio);
    }
    presetRow->addStretch();
    auto* customRow = new QHBoxLayout();
    customRow->addWidget(m_customFpsEdit);
    customRow->addWidget(m_customFpsLabel);
    customRow->addStretch();

    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(6);
    layout->addLayout(presetRow);
    layout->addLayout(customRow);
    return group;
}

QWidget* ExportDialog::createFormatGroup()
{
    auto* group = new QGroupBox(tr("Format:"), this);
    group->setObjectName(QStringLiteral("formatGroupBox"));
    m_formatCombo = new QComboBox(group);
    m_formatCombo->setObjectName(QStringLiteral("formatCombo"));
    m_formatCombo->addItem(tr("PNG frames"));
    using Format = AnimationEncoder::Format;
    for (const auto& [format, text] : {std::pair{Format::Gif, tr("PNG frames and GIF")},
                                       std::pair{Format::AnimatedPng, tr("PNG frames and animated PNG")},
                                       std::pair{Format::WebP, tr("PNG frames and animated WebP")}}) {
        m_formatCombo->addItem(text, static_cast<int>(format));
    }
    m_formatCombo->setToolTip(tr("The animated image of each animation is written beside its frames folder, "
                                 "with the same name. It needs ffmpeg."));
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(m_formatCombo, 1);
    return group;
}

std::optional<AnimationEncoder::Format> ExportDialog::animationFormat() const
{
    const QVariant format = m_formatCombo->currentData();
    if (!format.isValid()) {
        return std::nullopt;
    }
    return static_cast<AnimationEncoder::Format>(format.toInt());
}

QLayout* ExportDialog::createButtonRow()
{
    auto* exportButton = new QPushButton(tr("Export"), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    exportButton->setDefault(true);
    auto* cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout();
    row->addStretch();
    row->addWidget(exportButton);
    row->addWidget(cancelButton);
    return row;
}

void ExportDialog::setSizeValues(int width, int height)
{
    const QSignalBlocker blockWidth(m_widthEdit);
    const QSignalBlocker blockHeight(m_heightEdit);
    m_widthEdit->setValue(width);
    m_heightEdit->setValue(height);
}

int ExportDialog::chosenFps() const
{
    if (m_fps15RadioButton->isChecked()) {
        return 15;
    }
    if (m_fps60RadioButton->isChecked()) {
        return 60;
    }
    if (m_fpsCustomRadioButton->isChecked()) {
        return m_customFpsEdit->value();
    }
    return 30;
}

void ExportDialog::on_fpsCustomRadioButton_toggled(bool checked)
{
    m_customFpsEdit->setEnabled(checked);
    m_customFpsLabel->setEnabled(checked);
}

void ExportDialog::on_linkSizeButton_toggled(bool checked)
{
    if (checked) {
        updateExportSize(std::max(m_widthEdit->value(), m_heightEdit->value()));
        connect(m_widthEdit, QOverload<int>::of(&QSpinBox::valueChanged), this,
                &ExportDialog::updateExportSize, Qt::UniqueConnection);
        connect(m_heightEdit, QOverload<int>::of(&QSpinBox::valueChanged), this,
                &ExportDialog::updateExportSize, Qt::UniqueConnection);
    } else {
        disconnect(m_widthEdit, QOverload<int>::of(&QSpinBox::valueChanged), this,
                   &ExportDialog::updateExportSize);
        disconnect(m_heightEdit, QOverload<int>::of(&QSpinBox::valueChanged), this,
                   &ExportDialog::updateExportSize);
    }
}

void ExportDialog::updateExportSize(int size)
{
    setSizeValues(size, size);
}

void ExportDialog::on_percentRadioButton_toggled(bool checked)
{
    // Both boxes are read before either changes, so a link cannot carry one result into the other.
    const int width = m_widthEdit->value();
    const int height = m_heightEdit->value();
    if (checked) {
        setSizeValues(percentOf(width, m_baseSize.width()), percentOf(height, m_baseSize.height()));
    } else {
        setSizeValues(pixelsOf(width, m_baseSize.width()), pixelsOf(height, m_baseSize.height()));
    }
}

void ExportDialog::on_exportButton_clicked()
{
    QSize size(m_widthEdit->value(), m_heightEdit->value());
    if (m_percentRadioButton->isChecked()) {
        size =
            QSize(pixelsOf(size.width(), m_baseSize.width()), pixelsOf(size.height(), m_baseSize.height()));
    }
    // Checked on the pixel size, so a percentage too small to make a whole pixel is refused too.
    if (size.width() == 0 || size.height() == 0) {
        TSMessageBox::warning(this, QString(), tr("Please choose non zero width and height values"));
        return;
    }
    const int fps = chosenFps();
    if (fps == 0) {
        TSMessageBox::warning(this, QString(), tr("Please choose non zero fps value"));
        return;
    }
    Q_EMIT doExport(size, fps);
    accept();
}
