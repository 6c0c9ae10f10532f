// Curve evaluation and attribute-dictionary building: the costs behind playback and saving.
#include "BenchRatios.h"

#include "CCDictionary.h"
#include "CCPoolManager.h"
#include "TSAnimationCurve.h"
#include "TSModel.h"
#include "TSModelController.h"
#include "TSPAttributeColor.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeString.h"

#include <memory>
#include <random>
#include <vector>

using namespace cocos2d;

namespace {

TSAnimationCurve curveWithKeys(int count)
{
    TSAnimationCurve curve;
    for (int i = 0; i < count; ++i) {
        curve.insertKey(static_cast<float>((i * 37) % 11) * 0.1f, static_cast<float>(i) / 60.0f * 4.0f, true);
    }
    return curve;
}

void BM_CurveEvaluate(benchmark::State& state)
{
    const TSAnimationCurve curve = curveWithKeys(static_cast<int>(state.range(0)));
    const float duration = curve.keyPoint(curve.keyCount() - 1).x();
    std::vector<float> times(1024);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> pick(0.0f, duration);
    for (float& t : times) {
        t = pick(random);
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(curve.evaluate(times[i++ & 1023]));
    }
}
BENCHMARK(BM_CurveEvaluate)->Arg(4)->Arg(16)->Arg(64);

// A baseline for the evaluation: reading one float from the same table.
void BM_TableRead(benchmark::State& state)
{
    std::vector<float> times(1024, 0.5f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(times[i++ & 1023]);
    }
}
BENCHMARK(BM_TableRead);

// A node-like model: 3 strings, a point, 11 floats and a colour.
class NodeLike : public TSModel
{
public:
    NodeLike(int i) : TSModel("TSModelSkeletonNode", "node")
    {
        addTypedAttribute<TSPAttributeString>("name")->setValue("node_" + std::to_string(i));
        addTypedAttribute<TSPAttributeString>("defaultName")->setValue("bone");
        addTypedAttribute<TSPAttributeString>("parent")->setValue("node_" + std::to_string(i / 2));
        addTypedAttribute<TSPAttributePoint>("position")->setValue(CCPoint{i * 1.5f, -i * 0.25f});
        for (const char* name : {"size", "zOrder", "m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"}) {
            addTypedAttribute<TSPAttributeFloat>(name)->setValue(static_cast<float>(i % 17) * 0.125f);
        }
        addTypedAttribute<TSPAttributeColor>("boneColor")->setComponents(0.37f, 0.37f, 0.37f, 1.0f);
    }
};

void BM_AttributesDictionary10k(benchmark::State& state)
{
    std::vector<NodeLike*> models;
    for (int i = 0; i < 10000; ++i) {
        models.push_back(new NodeLike(i));
    }
    for (auto _ : state) {
        for (NodeLike* model : models) {
            benchmark::DoNotOptimize(model->attributesDictionary());
        }
        CCPoolManager::sharedPoolManager()->drain();
    }
    for (NodeLike* model : models) {
        model->release();
    }
}
BENCHMARK(BM_AttributesDictionary10k)->Unit(benchmark::kMillisecond);

// The playback budget: 200 nodes × 5 channels evaluated at one time.
void BM_Evaluate200NodesFiveChannels(benchmark::State& state)
{
    std::vector<TSAnimationCurve> curves;
    for (int i = 0; i < 1000; ++i) {
        curves.push_back(curveWithKeys(4 + i % 13));
    }
    float t = 0.0f;
    for (auto _ : state) {
        float sum = 0.0f;
        for (const TSAnimationCurve& curve : curves) {
            sum += curve.evaluate(t);
        }
        benchmark::DoNotOptimize(sum);
        t += 1.0f / 60.0f;
        if (t > 2.0f) {
            t = 0.0f;
        }
    }
}
BENCHMARK(BM_Evaluate200NodesFiveChannels)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runWithRatios(argc, argv,
                                {{"BM_CurveEvaluate/4", "BM_TableRead"},
                                 {"BM_CurveEvaluate/16", "BM_TableRead"},
                                 {"BM_CurveEvaluate/64", "BM_TableRead"}});
}
