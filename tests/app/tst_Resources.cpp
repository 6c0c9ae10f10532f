// The compiled-in icons and cursors: every resource path the sources name exists and draws, and
// every listed SVG draws something visible at the sizes the editor uses.
#include "TestMain.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtMath>
#include <QtTest>

// Outside any namespace: the macro declares the resource initialiser.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString kSourceDir = QStringLiteral(BONESTAGE_SOURCE_DIR);

QImage render(const QString& path, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

int drawnPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return count;
}

/// The spread (sum of the channel ranges) of the colours of the nearly opaque pixels.
int colourSpread(const QImage& image)
{
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) < 160) {
                continue;
            }
            const int channels[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], channels[c]);
                high[c] = std::max(high[c], channels[c]);
            }
        }
    }
    int spread = 0;
    for (int c = 0; c < 3; ++c) {
        spread += std::max(0, high[c] - low[c]);
    }
    return spread;
}

/// The distinct paint colours an SVG names in fill and stroke attributes.
QSet<QString> declaredColours(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression paint(QStringLiteral("(?:fill|stroke)=\"([^\"]+)\""));
    QSet<QString> colours;
    for (auto it = paint.globalMatch(text); it.hasNext();) {
        const QString value = it.next().captured(1).toLower();
        if (value != QLatin1String("none") && value != QLatin1String("transparent")) {
            colours.insert(value);
        }
    }
    return colours;
}

/// The angle in degrees [0, 180) of the long axis of the drawn pixels (screen angles: y grows downwards).
double longAxis(const QImage& image)
{
    double sum = 0.0;
    double mx = 0.0;
    double my = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double a = qAlpha(image.pixel(x, y));
            sum += a;
            mx += a * x;
            my += a * y;
        }
    }
    mx /= sum;
    my /= sum;
    double xx = 0.0;
    double yy = 0.0;
    double xy = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double a = qAlpha(image.pixel(x, y));
            xx += a * (x - mx) * (x - mx);
            yy += a * (y - my) * (y - my);
            xy += a * (x - mx) * (y - my);
        }
    }
    double angle = qRadiansToDegrees(0.5 * std::atan2(2.0 * xy, xx - yy));
    return angle < 0.0 ? angle + 180.0 : angle;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pathsNamedInSourcesExistAndDraw();
    void listedFilesMatchTheFolder();
    void everySvgDrawsAtEverySize();
    void resizeCursorsPointAlongTheirDirection();

private:
    QStringList m_listed;
};

void TestResources::initTestCase()
{
    registerResources();
    QFile qrc(kSourceDir + QStringLiteral("/resources/resources.qrc"));
    QVERIFY(qrc.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&qrc);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("file")) {
            m_listed << xml.readElementText();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(m_listed.size() > 10);
}

void TestResources::pathsNamedInSourcesExistAndDraw()
{
    static const QRegularExpression literal(QStringLiteral("\"(:/resources/[^\"]*)\""));
    static const QStringList suffixes = {QStringLiteral("cpp"), QStringLiteral("h"), QStringLiteral("qml"),
                                         QStringLiteral("ui")};
    QMap<QString, QString> named; // path -> first source file naming it
    QDirIterator files(kSourceDir + QStringLiteral("/src"), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        if (!suffixes.contains(files.fileInfo().suffix())) {
            continue;
        }
        QFile source(file);
        QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(file));
        const QString text = QString::fromUtf8(source.readAll());
        for (auto it = literal.globalMatch(text); it.hasNext();) {
            const QString path = it.next().captured(1);
            if (!named.contains(path)) {
                named.insert(path, files.fileInfo().fileName());
            }
        }
    }
    QVERIFY2(named.size() > 5, "the sources name hardly any resources: is the source folder right?");

    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    for (auto it = named.cbegin(); it != named.cend(); ++it) {
        const QString& path = it.key();
        const QString where = path + QStringLiteral(" (named in ") + it.value() + QLatin1Char(')');
        if (path.endsWith(QLatin1Char('/')) || path.contains(placeholder)) {
            // A folder or a name pattern: something compiled in must match it.
            QStringList parts = path.split(placeholder);
            for (QString& part : parts) {
                part = QRegularExpression::escape(part);
            }
            const QString pattern = parts.join(QStringLiteral("[^/]+"));
            const QRegularExpression matcher(QLatin1Char('^') + pattern);
            bool found = false;
            for (const QString& file : qAsConst(m_listed)) {
                found = found || matcher.match(QStringLiteral(":/resources/") + file).hasMatch();
            }
            QVERIFY2(found, qPrintable(QStringLiteral("nothing compiled in matches ") + where));
            continue;
        }
        // What exists is compiled in, so listed: every SVG is drawn below.
        QVERIFY2(QFile::exists(path), qPrintable(QStringLiteral("missing ") + where));
        if (!path.endsWith(QLatin1String(".svg"))) {
            const QImage image(path);
            QVERIFY2(!image.isNull() && drawnPixels(image) > 0, qPrintable(QStringLiteral("unreadable ") + where));
        }
    }
}

void TestResources::listedFilesMatchTheFolder()
{
    const QString folder = kSourceDir + QStringLiteral("/resources/");
    QStringList onDisk;
    QDirIterator files(folder, {QStringLiteral("*.svg"), QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        onDisk << files.next().mid(folder.size());
    }
    for (const QString& file : qAsConst(onDisk)) {
        QVERIFY2(m_listed.contains(file), qPrintable(file + QStringLiteral(" is not listed in resources.qrc")));
    }
    for (const QString& file : qAsConst(m_listed)) {
        QVERIFY2(QFile::exists(QStringLiteral(":/resources/") + file),
                 qPrintable(file + QStringLiteral(" is listed but not compiled in")));
    }
}

void TestResources::everySvgDrawsAtEverySize()
{
    for (const QString& file : qAsConst(m_listed)) {
        if (!file.endsWith(QLatin1String(".svg"))) {
            continue;
        }
        const QString path = QStringLiteral(":/resources/") + file;
        const QSvgRenderer renderer(path);
        QVERIFY2(renderer.isValid(), qPrintable(QStringLiteral("broken SVG ") + file));
        QVERIFY2(!renderer.defaultSize().isEmpty(), qPrintable(QStringLiteral("no size ") + file));
        const bool twoColours = declaredColours(path).size() >= 2;
        for (const int side : {16, 24, 48}) {
            const QImage image = render(path, side);
            const QString what = file + QStringLiteral(" at ") + QString::number(side);
            // At least a few percent of the square is drawn...
            QVERIFY2(drawnPixels(image) * 50 >= side * side, qPrintable(QStringLiteral("nearly empty: ") + what));
            // ...and an icon in two colours still shows two.
            if (twoColours) {
                QVERIFY2(colourSpread(image) > 60, qPrintable(QStringLiteral("one colour only: ") + what));
            }
        }
    }
}

void TestResources::resizeCursorsPointAlongTheirDirection()
{
    for (int i = 0; i < 8; ++i) {
        const QString path = QStringLiteral(":/resources/cursors/Cursor_Resize_%1.svg").arg(i);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        for (const int side : {16, 32}) {
            const double axis = longAxis(render(path, side));
            const double expected = (i % 4) * 45.0;
            const double off = std::min(std::abs(axis - expected), 180.0 - std::abs(axis - expected));
            QVERIFY2(off < 5.0, qPrintable(QStringLiteral("%1 at %2: long axis %3 degrees, expected %4")
                                               .arg(path)
                                               .arg(side)
                                               .arg(axis)
                                               .arg(expected)));
        }
    }
}

BONESTAGE_GUI_TEST_MAIN(TestResources)
#include "tst_Resources.moc"
