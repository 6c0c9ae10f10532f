#pragma once

#include "TSModel.h"

#include <QRectF>
#include <QSize>

#include <array>

/// The one project-wide settings model: the last id number that carries the id counter across
/// saving and opening, the canvas frame, and the game-play parameters a project carries along.
class TSModelGeneralSettings : public TSModel
{
public:
    static constexpr int kKeyCount = 10;
    static const char* const kKeyNames[kKeyCount];

    TSModelGeneralSettings();
    ~TSModelGeneralSettings() override;

    /// The most recently constructed settings model still alive, or null.
    static TSModelGeneralSettings* current();

    void loadAttributes(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* attributesDictionary() override;
    /// There is only ever one settings model: every other one is the same.
    bool isSameAs(TSModel* other) override;

    unsigned lastIdNumber() const { return m_lastIdNumber; }
    void setLastIdNumber(unsigned id) { m_lastIdNumber = id; }

    float gameSpeedMin() const { return m_gameSpeedMin; }
    float gameSpeedMax() const { return m_gameSpeedMax; }
    float gameSpeedIncrease() const { return m_gameSpeedIncrease; }
    cocos2d::CCDictionary* platformSpecificValues() const { return m_platformSpecificValues; }
    const std::string& scoreType() const { return m_scoreType; }
    const std::string& versionNumber() const { return m_versionNumber; }
    const std::string& applicationName() const { return m_applicationName; }
    const std::string& comments() const { return m_comments; }
    const std::string& resetText() const { return m_resetText; }
    int objectFrameEdgeState(int edge) const { return m_objectFrameEdgeState.at(static_cast<size_t>(edge)); }

    /// The output frame of the canvas, scene coordinates.
    QRectF objectFrameRect() const { return m_objectFrameRect; }
    void setObjectFrameRect(const QRectF& rect) { m_objectFrameRect = rect; }

    bool isLandscape() const { return m_landscape; }
    void setLandscape(bool landscape);
    QSize screenSize() const { return m_screenSize; }
    int screenAdjustment() const { return m_screenAdjustment; }
    float gameplayAngleDirection() const { return m_gameplayAngleDirection; }
    void setGameplayAngleDirection(float angle) { m_gameplayAngleDirection = angle; }
    int keyCode(int index) const { return m_keys.at(static_cast<size_t>(index)); }

private:
    unsigned m_lastIdNumber = 0;
    float m_gameSpeedMin = 3.0f;
    float m_gameSpeedMax = 10.0f;
    float m_gameSpeedIncrease = 0.1f;
    cocos2d::CCDictionary* m_platformSpecificValues;
    std::string m_scoreType = "Distance";
    std::string m_versionNumber = "1.0";
    std::string m_applicationName = "Untitled";
    std::string m_comments = "add comments here";
    std::string m_resetText;
    std::array<int, 4> m_objectFrameEdgeState = {0, 0, 0, 0};
    QRectF m_objectFrameRect = QRectF(0, 0, 1, 1);
    bool m_t = false;
    bool m_landscape = true;
    QSize m_screenSize = QSize(1156, 640);
    int m_screenAdjustment = 0;
    float m_gameplayAngleDirection = 0.0f;
    std::array<int, kKeyCount> m_keys;
};
