#pragma once

#include "TSLayoutBuilder.h"

#include <QString>

/// A group's section: a header with the group's icon and name, and the rows of its children
/// beneath it, each with a separator line.
class TSGroupLayoutBuilder : public TSLayoutBuilder
{
public:
    static constexpr const char* kHeaderStyle =
        "border-top: 1px solid #000000; border-bottom: 1px solid #333333;";
    static constexpr const char* kSeparatorStyle = "border-bottom: 1px solid rgb(55, 55, 55);";

    void build(TSAttributeWidget* widget) const override;

    /// The icon named after the group in the attributes resources, or the Properties icon.
    static QString iconPath(const QString& groupName);
};
