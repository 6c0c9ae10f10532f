// Colour adjustment of a large sprite and the pose of a 200-node skeleton.
#include "BenchRatios.h"

#include "AnimatedObject.h"
#include "ColorAdjustment.h"
#include "Pose.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <vector>

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

void BM_ColorAdjustAll(benchmark::State& state)
{
    const QImage image = testImage();
    const ColorAdjustment adjustment{0.2f, 0.1f, 0.05f, 0.3f, 0.8f};
    for (auto _ : state) {
        benchmark::DoNotOptimize(adjustment.apply(image).constBits());
    }
}
BENCHMARK(BM_ColorAdjustAll)->Unit(benchmark::kMillisecond);

void BM_ColorAdjustBrightness(benchmark::State& state)
{
    const QImage image = testImage();
    ColorAdjustment adjustment;
    adjustment.brightness = 0.2f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(adjustment.apply(image).constBits());
    }
}
BENCHMARK(BM_ColorAdjustBrightness)->Unit(benchmark::kMillisecond);

// Baseline: a copy of the image that reads, unpremultiplies, premultiplies and writes every pixel.
void BM_PlainPixelPass(benchmark::State& state)
{
    const QImage image = testImage();
    for (auto _ : state) {
        QImage copy = image.copy();
        for (int y = 0; y < copy.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
            for (int x = 0; x < copy.width(); ++x) {
                if (qAlpha(line[x]) != 0) {
                    line[x] = qPremultiply(qUnpremultiply(line[x]));
                }
            }
        }
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_PlainPixelPass)->Unit(benchmark::kMillisecond);

void BM_Pose200Nodes(benchmark::State& state)
{
    std::vector<std::unique_ptr<AnimatedObject>> nodes;
    for (int n = 0; n < 200; ++n) {
        auto tracks = std::make_unique<AnimatedObject>();
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            for (int k = 0; k < 6; ++k) {
                tracks->channel(channel).insertKey(0.1f * ((n + k * channel) % 7), k * 0.25f, true);
            }
        }
        nodes.push_back(std::move(tracks));
    }
    std::vector<QTransform> poses(nodes.size());
    float t = 0.0f;
    for (auto _ : state) {
        for (size_t i = 0; i < nodes.size(); ++i) {
            poses[i] = Pose::transformAt(*nodes[i], t, QPointF());
        }
        benchmark::DoNotOptimize(poses.data());
        t = t > 1.25f ? 0.0f : t + 1.0f / 60.0f;
    }
}
BENCHMARK(BM_Pose200Nodes)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runWithRatios(argc, argv,
                                {{"BM_ColorAdjustAll", "BM_PlainPixelPass"},
                                 {"BM_ColorAdjustBrightness", "BM_PlainPixelPass"}});
}
