// Colour adjustment of a large sprite, against a bare pass over the same pixels.
#include "InterleavedPair.h"
#include "Report.h"

#include "ColorAdjustment.h"

#include <QImage>

namespace {

QImage testImage()
{
    QImage image(1024, 1024, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Mostly opaque with a transparent border, like a character sprite.
            const int alpha = (x < 64 || y < 64) ? 0 : 255;
            line[x] = qPremultiply(qRgba(x & 255, y & 255, (x ^ y) & 255, alpha));
        }
    }
    return image;
}

} // namespace

int main()
{
    const QImage image = testImage();
    // A copy of the image that reads, unpremultiplies, premultiplies and writes every pixel.
    const auto plainPass = bench::InterleavedPair::repeat([&image] {
        QImage copy = image.copy();
        for (int y = 0; y < copy.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
            for (int x = 0; x < copy.width(); ++x) {
                if (qAlpha(line[x]) != 0) {
                    line[x] = qPremultiply(qUnpremultiply(line[x]));
                }
            }
        }
        bench::keep(copy.constBits());
    });
    bench::InterleavedPair::Options options;
    options.clock = bench::Clock::ThreadCpu;

    const ColorAdjustment all{0.2f, 0.1f, 0.05f, 0.3f, 0.8f};
    const auto adjustAll =
        bench::InterleavedPair::repeat([&image, &all] { bench::keep(all.apply(image).constBits()); });
    bench::Report::pair("colour adjustment, every setting, 1024 x 1024", "ColorAdjustment::apply",
                        "plain pixel pass", bench::Goal::none(),
                        [&] { return bench::InterleavedPair::run(adjustAll, plainPass, options); });

    ColorAdjustment brightness;
    brightness.brightness = 0.2f;
    const auto adjustBrightness = bench::InterleavedPair::repeat(
        [&image, &brightness] { bench::keep(brightness.apply(image).constBits()); });
    bench::Report::pair("colour adjustment, brightness, 1024 x 1024", "ColorAdjustment::apply",
                        "plain pixel pass", bench::Goal::none(),
                        [&] { return bench::InterleavedPair::run(adjustBrightness, plainPass, options); });
    return 0;
}
