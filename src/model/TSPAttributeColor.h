#pragma once

#include "TSPAttribute.h"

#include <QColor>

/// A colour of four float components (0–1); all four are always stored.
class TSPAttributeColor : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Color;

    explicit TSPAttributeColor(TSModel* owner, int editorHint = 0);

    float r() const { return m_r; }
    float g() const { return m_g; }
    float b() const { return m_b; }
    float a() const { return m_a; }
    void setComponents(float r, float g, float b, float a);
    QColor color() const;
    void setColor(const QColor& color);

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    void copyFrom(TSPAttribute* other) override;

private:
    float m_r = 0.0f;
    float m_g = 0.0f;
    float m_b = 0.0f;
    float m_a = 1.0f;
};
