#pragma once

#include "GifConverter.h"

#include <QList>
#include <QString>

#include <optional>

/// Turns a folder of numbered PNG frames ("0000.png", "0001.png", …) into one animated image with
/// the external converter "ffmpeg": an animated GIF, an animated PNG or an animated WebP, the
/// latter two with full alpha. The format follows the output's suffix.
class AnimationEncoder
{
public:
    enum class Format
    {
        Gif,
        AnimatedPng,
        WebP
    };

    struct Options
    {
        /// The rate the frames were rendered at; each frame is shown for 1 / fps seconds.
        int fps = 30;
        /// Whether the frames' alpha is kept. Opaque frames make a smaller file without it.
        bool transparent = false;
    };

    /// The format a path asks for by its suffix, in any case: ".gif"; ".apng" or ".png"; ".webp".
    static std::optional<Format> formatOf(const QString& path);
    /// The suffixes formatOf() knows, for messages: ".gif, .apng, .png or .webp".
    static QString knownSuffixes();
    /// The suffix a file of that format is written with when nobody chose one.
    static QString suffix(Format format);
    /// The name of the format in messages: "GIF", "animated PNG", "animated WebP".
    static QString displayName(Format format);
    /// The ffmpeg encoder the format needs: "gif", "apng", "libwebp_anim".
    static QString encoderName(Format format);

    /// The one converter run that makes output from the frames. Paths are single arguments, so
    /// spaces and quotes in them need no escaping.
    static GifConverter::Command command(Format format, const QString& framesFolder, const QString& output,
                                         const Options& options);

    /// Asks the converter for its encoders; false, with the reason in error, when it cannot be
    /// started or has no encoder for the format (an ffmpeg built without WebP, say).
    static bool checkEncoder(Format format, QString* error);

    /// Checks the encoder, then runs command(); false with the reason in error when the converter
    /// is missing, lacks the encoder, fails, or leaves no file at output.
    static bool convert(Format format, const QString& framesFolder, const QString& output,
                        const Options& options, QString* error);
};
