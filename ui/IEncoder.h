#pragma once
// The MP3 encoder as the build commands see it. A factory hands one out per command and
// returns none when no encoder module is installed.

#include <QString>

#include <functional>
#include <memory>

class CProjectData;
class QWidget;

class IEncoder {
public:
    virtual ~IEncoder() = default;
    // Encodes the WAV file into an MP3 file beside it, showing its own progress window;
    // returns the encoder's result.
    virtual bool Encode(const QString& wavPath, const CProjectData& data, QWidget* parent) = 0;
};

using EncoderFactory = std::function<std::unique_ptr<IEncoder>()>;
