#pragma once

#include <QProxyStyle>

/// The application style: Fusion with the editor's dark palette.
class TSStyle : public QProxyStyle
{
    Q_OBJECT

public:
    TSStyle();

    void polish(QPalette& palette) override;
    using QProxyStyle::polish;

    /// The editor's dark palette.
    static QPalette darkPalette();
};
