// The export dialog driven through its widgets: typing, clicking radios and buttons, and what it
// reports or refuses.
#include "ExportDialog.h"
#include "TSMessageBox.h"
#include "TestMain.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

class TestExportDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsWithBaseSizeAndDefaults();
    void linkIconsDifferByState();
    void squareBaseOpensLinkedAndMirrorsTyping();
    void linkingTakesTheLargerValue();
    void unlinkingStopsMirroring();
    void percentModeExportsShareOfBase();
    void pixelsToPercentAndBack();
    void percentSwitchWhileLinkedConvertsEachBox();
    void presetsExportTheirRate_data();
    void presetsExportTheirRate();
    void customFpsEditFollowsCustomRadio();
    void customFpsZeroIsRefused();
    void zeroSizeIsRefused_data();
    void zeroSizeIsRefused();
    void cancelClosesWithoutExporting();
    void formatIsChosenWithTheKeyboard();

private:
    void open(const QSize& base);
    QSpinBox* spinBox(const char* name) const;
    QRadioButton* radio(const char* name) const;
    void click(const char* name) const;
    void type(const char* spinBoxName, const QString& text) const;
    /// The width and height boxes' values.
    QSize boxValues() const;
    QSize exportedSize() const;
    int exportedFps() const;

    std::unique_ptr<ExportDialog> m_dialog;
    std::unique_ptr<QSignalSpy> m_exports;
    QList<TSMessageBox::Request> m_messages;
};

void TestExportDialog::init()
{
    m_messages.clear();
    TSMessageBox::setAnswerer([this](const TSMessageBox::Request& request) {
        m_messages.append(request);
        return QMessageBox::Ok;
    });
}

void TestExportDialog::cleanup()
{
    TSMessageBox::setAnswerer({});
    m_exports.reset();
    m_dialog.reset();
}

void TestExportDialog::open(const QSize& base)
{
    m_dialog = std::make_unique<ExportDialog>(base);
    m_exports = std::make_unique<QSignalSpy>(m_dialog.get(), &ExportDialog::doExport);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

QSpinBox* TestExportDialog::spinBox(const char* name) const
{
    auto* box = m_dialog->findChild<QSpinBox*>(QLatin1String(name));
    if (!box) {
        qFatal("no spin box %s", name);
    }
    return box;
}

QRadioButton* TestExportDialog::radio(const char* name) const
{
    auto* button = m_dialog->findChild<QRadioButton*>(QLatin1String(name));
    if (!button) {
        qFatal("no radio button %s", name);
    }
    return button;
}

void TestExportDialog::click(const char* name) const
{
    auto* button = m_dialog->findChild<QAbstractButton*>(QLatin1String(name));
    if (!button) {
        qFatal("no button %s", name);
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestExportDialog::type(const char* spinBoxName, const QString& text) const
{
    QSpinBox* box = spinBox(spinBoxName);
    box->selectAll();
    QTest::keyClicks(box, text);
}

QSize TestExportDialog::boxValues() const
{
    return QSize(spinBox("widthEdit")->value(), spinBox("heightEdit")->value());
}

QSize TestExportDialog::exportedSize() const
{
    return m_exports->isEmpty() ? QSize() : m_exports->first().at(0).toSize();
}

int TestExportDialog::exportedFps() const
{
    return m_exports->isEmpty() ? -1 : m_exports->first().at(1).toInt();
}

void TestExportDialog::startsWithBaseSizeAndDefaults()
{
    open(QSize(240, 180));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Export Options"));
    QCOMPARE(m_dialog->findChild<QGroupBox*>("groupBox")->title(), QStringLiteral("Resolution:"));
    QCOMPARE(m_dialog->findChild<QGroupBox*>("groupBox_2")->title(), QStringLiteral("Framerate:"));
    QCOMPARE(boxValues(), QSize(240, 180));
    for (const char* name : {"widthEdit", "heightEdit", "customFpsEdit"}) {
        QCOMPARE(spinBox(name)->maximum(), 99999);
    }
    auto* link = m_dialog->findChild<QToolButton*>("linkSizeButton");
    QVERIFY(link->isCheckable());
    QVERIFY(!link->isChecked());

    QVERIFY(radio("pixelsRadioButton")->isChecked());
    QVERIFY(!radio("percentRadioButton")->isChecked());
    QVERIFY(radio("fps30RadioButton")->isChecked());
    QCOMPARE(radio("pixelsRadioButton")->text(), QStringLiteral("Pixels"));
    QCOMPARE(radio("percentRadioButton")->text(), QStringLiteral("Percent"));
    QCOMPARE(radio("fps15RadioButton")->text(), QStringLiteral("15 FPS"));
    QCOMPARE(radio("fps30RadioButton")->text(), QStringLiteral("30 FPS"));
    QCOMPARE(radio("fps60RadioButton")->text(), QStringLiteral("60 FPS"));
    QCOMPARE(radio("fpsCustomRadioButton")->text(), QStringLiteral("Custom"));
    QVERIFY(!spinBox("customFpsEdit")->isEnabled());
    QCOMPARE(m_dialog->findChild<QPushButton*>("exportButton")->text(), QStringLiteral("Export"));
    QCOMPARE(m_dialog->findChild<QPushButton*>("cancelButton")->text(), QStringLiteral("Cancel"));

    QStringList labels;
    for (QLabel* label : m_dialog->findChildren<QLabel*>()) {
        labels << label->text();
    }
    for (const char* text : {"Width:", "Height:", "FPS"}) {
        QVERIFY2(labels.contains(QLatin1String(text)), text);
    }
}

void TestExportDialog::linkIconsDifferByState()
{
    open(QSize(240, 180));
    const QIcon icon = m_dialog->findChild<QToolButton*>("linkSizeButton")->icon();
    const QImage off = icon.pixmap(QSize(32, 32), QIcon::Normal, QIcon::Off).toImage();
    const QImage on = icon.pixmap(QSize(32, 32), QIcon::Normal, QIcon::On).toImage();
    QVERIFY(!off.isNull());
    QVERIFY(!on.isNull());
    QVERIFY(off != on);
    QCOMPARE(off, QIcon(QStringLiteral(":/resources/icon_link.svg")).pixmap(QSize(32, 32)).toImage());
    QCOMPARE(on, QIcon(QStringLiteral(":/resources/icon_link_black.svg")).pixmap(QSize(32, 32)).toImage());
    // Drawn, not a picture scaled up: as sharp at twice the size on a dense screen.
    for (const QIcon::State state : {QIcon::Off, QIcon::On}) {
        QCOMPARE(icon.pixmap(QSize(64, 64), QIcon::Normal, state).size(), QSize(64, 64));
    }
}

void TestExportDialog::squareBaseOpensLinkedAndMirrorsTyping()
{
    open(QSize(200, 200));
    QVERIFY(m_dialog->findChild<QToolButton*>("linkSizeButton")->isChecked());
    QCOMPARE(boxValues(), QSize(200, 200));

    type("widthEdit", QStringLiteral("300"));
    QCOMPARE(boxValues(), QSize(300, 300));

    type("heightEdit", QStringLiteral("75"));
    QCOMPARE(boxValues(), QSize(75, 75));
}

void TestExportDialog::linkingTakesTheLargerValue()
{
    open(QSize(240, 180));
    click("linkSizeButton");
    QCOMPARE(boxValues(), QSize(240, 240));

    click("linkSizeButton");
    type("heightEdit", QStringLiteral("500"));
    QCOMPARE(boxValues(), QSize(240, 500));
    click("linkSizeButton");
    QCOMPARE(boxValues(), QSize(500, 500));
}

void TestExportDialog::unlinkingStopsMirroring()
{
    open(QSize(200, 200));
    click("linkSizeButton");
    QVERIFY(!m_dialog->findChild<QToolButton*>("linkSizeButton")->isChecked());

    type("widthEdit", QStringLiteral("300"));
    QCOMPARE(boxValues(), QSize(300, 200));
    type("heightEdit", QStringLiteral("90"));
    QCOMPARE(boxValues(), QSize(300, 90));

    click("exportButton");
    QCOMPARE(exportedSize(), QSize(300, 90));
}

void TestExportDialog::percentModeExportsShareOfBase()
{
    open(QSize(240, 180));
    click("percentRadioButton");
    type("widthEdit", QStringLiteral("50"));
    type("heightEdit", QStringLiteral("50"));
    click("exportButton");
    QCOMPARE(m_exports->count(), 1);
    QCOMPARE(exportedSize(), QSize(120, 90));
    QCOMPARE(exportedFps(), 30);
    QVERIFY(m_messages.isEmpty());
    QVERIFY(!m_dialog->isVisible());
}

void TestExportDialog::pixelsToPercentAndBack()
{
    open(QSize(240, 180));
    click("percentRadioButton");
    QCOMPARE(boxValues(), QSize(100, 100));
    click("pixelsRadioButton");
    QCOMPARE(boxValues(), QSize(240, 180));

    // Fractions are dropped each way, never rounded: 178 px of 180 is 98.9 %, shown as 98, and 42 % of
    // 240 is 100.8 px, shown as 100.
    type("widthEdit", QStringLiteral("101"));
    type("heightEdit", QStringLiteral("178"));
    click("percentRadioButton");
    QCOMPARE(boxValues(), QSize(42, 98));
    click("pixelsRadioButton");
    QCOMPARE(boxValues(), QSize(100, 176));
}

void TestExportDialog::percentSwitchWhileLinkedConvertsEachBox()
{
    open(QSize(240, 180));
    click("linkSizeButton");
    QCOMPARE(boxValues(), QSize(240, 240));
    click("percentRadioButton");
    QCOMPARE(boxValues(), QSize(100, 133));
    // The link still works in percent.
    type("widthEdit", QStringLiteral("50"));
    QCOMPARE(boxValues(), QSize(50, 50));
    click("exportButton");
    QCOMPARE(exportedSize(), QSize(120, 90));
}

void TestExportDialog::presetsExportTheirRate_data()
{
    QTest::addColumn<QString>("radioName");
    QTest::addColumn<int>("fps");
    QTest::newRow("15") << QStringLiteral("fps15RadioButton") << 15;
    QTest::newRow("30") << QStringLiteral("fps30RadioButton") << 30;
    QTest::newRow("60") << QStringLiteral("fps60RadioButton") << 60;
}

void TestExportDialog::presetsExportTheirRate()
{
    QFETCH(QString, radioName);
    QFETCH(int, fps);
    open(QSize(320, 240));
    click("fpsCustomRadioButton");
    type("customFpsEdit", QStringLiteral("12"));
    click(radioName.toLatin1().constData());
    click("exportButton");
    QCOMPARE(m_exports->count(), 1);
    QCOMPARE(exportedSize(), QSize(320, 240));
    QCOMPARE(exportedFps(), fps);
}

void TestExportDialog::customFpsEditFollowsCustomRadio()
{
    open(QSize(240, 180));
    auto* label = m_dialog->findChild<QLabel*>("customFpsLabel");
    QCOMPARE(label->text(), QStringLiteral("FPS"));
    QVERIFY(!label->isEnabled());

    click("fpsCustomRadioButton");
    QVERIFY(spinBox("customFpsEdit")->isEnabled());
    QVERIFY(label->isEnabled());
    click("fps60RadioButton");
    QVERIFY(!spinBox("customFpsEdit")->isEnabled());
    QVERIFY(!label->isEnabled());
    click("fpsCustomRadioButton");
    QVERIFY(spinBox("customFpsEdit")->isEnabled());
    click("fps15RadioButton");
    QVERIFY(!spinBox("customFpsEdit")->isEnabled());
}

void TestExportDialog::customFpsZeroIsRefused()
{
    open(QSize(240, 180));
    click("fpsCustomRadioButton");
    QCOMPARE(spinBox("customFpsEdit")->value(), 0);
    click("exportButton");
    QCOMPARE(m_exports->count(), 0);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QStringLiteral("Please choose non zero fps value"));
    QVERIFY(m_messages.first().title.isEmpty());
    QCOMPARE(m_messages.first().icon, QMessageBox::Warning);
    QCOMPARE(m_messages.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(m_dialog->isVisible());

    type("customFpsEdit", QStringLiteral("24"));
    click("exportButton");
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_exports->count(), 1);
    QCOMPARE(exportedSize(), QSize(240, 180));
    QCOMPARE(exportedFps(), 24);
    QVERIFY(!m_dialog->isVisible());
}

void TestExportDialog::zeroSizeIsRefused_data()
{
    QTest::addColumn<QSize>("base");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::newRow("zero width") << QSize(240, 180) << false << QStringLiteral("0") << QStringLiteral("180");
    QTest::newRow("zero height") << QSize(240, 180) << false << QStringLiteral("240") << QStringLiteral("0");
    QTest::newRow("zero percent") << QSize(240, 180) << true << QStringLiteral("0") << QStringLiteral("50");
    // 1 % of 50 px is half a pixel, which would make an empty image.
    QTest::newRow("under a pixel") << QSize(50, 60) << true << QStringLiteral("1") << QStringLiteral("100");
}

void TestExportDialog::zeroSizeIsRefused()
{
    QFETCH(QSize, base);
    QFETCH(bool, percent);
    QFETCH(QString, width);
    QFETCH(QString, height);
    open(base);
    if (percent) {
        click("percentRadioButton");
    }
    // A zero custom rate too: the size is reported first, and alone.
    click("fpsCustomRadioButton");
    type("widthEdit", width);
    type("heightEdit", height);
    click("exportButton");
    QCOMPARE(m_exports->count(), 0);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QStringLiteral("Please choose non zero width and height values"));
    QVERIFY(m_messages.first().title.isEmpty());
    QVERIFY(m_dialog->isVisible());
}

void TestExportDialog::cancelClosesWithoutExporting()
{
    open(QSize(240, 180));
    type("widthEdit", QStringLiteral("0"));
    click("cancelButton");
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QCOMPARE(m_exports->count(), 0);
    QVERIFY(m_messages.isEmpty());
}

void TestExportDialog::formatIsChosenWithTheKeyboard()
{
    open(QSize(240, 180));
    auto* combo = m_dialog->findChild<QComboBox*>(QStringLiteral("formatCombo"));
    QVERIFY(combo);
    QCOMPARE(combo->count(), 4);
    // PNG frames alone unless another format is chosen.
    QCOMPARE(combo->currentText(), QStringLiteral("PNG frames"));
    QCOMPARE(m_dialog->animationFormat(), std::nullopt);

    using Format = AnimationEncoder::Format;
    combo->setFocus();
    for (const Format format : {Format::Gif, Format::AnimatedPng, Format::WebP}) {
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(m_dialog->animationFormat(), std::optional<Format>(format));
    }
    QCOMPARE(combo->currentText(), QStringLiteral("PNG frames and animated WebP"));
    QTest::keyClick(combo, Qt::Key_Up);
    const QString shots = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    if (!shots.isEmpty()) {
        m_dialog->grab().save(shots + "/export-dialog.png");
    }
    // The format travels beside size and rate, which are exported as before.
    click("exportButton");
    QCOMPARE(exportedSize(), QSize(240, 180));
    QCOMPARE(exportedFps(), 30);
    QCOMPARE(m_dialog->animationFormat(), std::optional<Format>(Format::AnimatedPng));
}

BONESTAGE_WIDGETS_TEST_MAIN(TestExportDialog)
#include "tst_ExportDialog.moc"
