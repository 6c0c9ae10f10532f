#pragma once

#include "AnimationEncoder.h"

#include <QDialog>
#include <QSize>

#include <optional>

class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QToolButton;

/// Asks for the pixel size, frame rate and format of an export and reports size and rate with
/// doExport().
///
/// The size is entered in pixels or in percent of the base size given at construction; width and
/// height can be linked so that editing one sets the other to the same number. The format is
/// PNG frames alone, or the frames and an animated image made of them.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ExportDialog(const QSize& baseSize, QWidget* parent = nullptr);

    /// The animated image chosen to be made of the frames; none for PNG frames alone.
    std::optional<AnimationEncoder::Format> animationFormat() const;

Q_SIGNALS:
    void doExport(QSize size, int fps);

private Q_SLOTS:
    void on_fpsCustomRadioButton_toggled(bool checked);
    void on_linkSizeButton_toggled(bool checked);
    void updateExportSize(int size);
    void on_percentRadioButton_toggled(bool checked);
    void on_exportButton_clicked();

private:
    QWidget* createResolutionGroup();
    QWidget* createFramerateGroup();
    QWidget* createFormatGroup();
    QLayout* createButtonRow();
    /// Sets both boxes without letting the link mirror one into the other.
    void setSizeValues(int width, int height);
    /// The frame rate of the checked preset or the custom box.
    int chosenFps() const;

    QSize m_baseSize;
    QSpinBox* m_widthEdit = nullptr;
    QSpinBox* m_heightEdit = nullptr;
    QToolButton* m_linkSizeButton = nullptr;
    QRadioButton* m_percentRadioButton = nullptr;
    QRadioButton* m_fps15RadioButton = nullptr;
    QRadioButton* m_fps60RadioButton = nullptr;
    QRadioButton* m_fpsCustomRadioButton = nullptr;
    QSpinBox* m_customFpsEdit = nullptr;
    QLabel* m_customFpsLabel = nullptr;
    QComboBox* m_formatCombo = nullptr;
};
