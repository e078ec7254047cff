#pragma once
// Sound for the module tests: sine waves written as WAV files of every sample layout a
// build writes, and measurements of decoded samples (length, pitch by zero crossings,
// loudness).

#include "model/WaveFormat.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// The folder where the build puts tsq and the modules.
QString ModuleDirectory();

// An integer PCM (8, 16, 24, 32 bits) or float (32, 64 bits) format.
WAVE_FORMAT MakeFormat(int channels, uint32_t rate, int bits, bool isFloat);

// `frames` frames of a sine of `hz` at `amplitude` (1 = full scale) in every channel.
std::vector<uint8_t> SineSamples(const WAVE_FORMAT& format, int frames, double hz,
                                 double amplitude = 0.5);

// The 44-byte layout a build writes: "RIFF", "WAVE", a 16-byte "fmt " chunk and "data".
QByteArray PlainWav(const WAVE_FORMAT& format, const std::vector<uint8_t>& samples);
// The body of a 40-byte "fmt " chunk holding an extensible format record of the format,
// whose sub-format is the format's tag.
QByteArray ExtensibleFmt(const WAVE_FORMAT& format);
// Writes bytes to path; the path on success, empty on failure.
QString WriteFile(const QString& path, const QByteArray& bytes);

// Channel 0 of sample bytes in the given layout, as values of full scale 1.
std::vector<double> FirstChannel(const WAVE_FORMAT& format, const std::vector<uint8_t>& data);
// The frequency of a periodic signal from its rising zero crossings, away from both ends.
double ZeroCrossingHz(const std::vector<double>& samples, uint32_t rate);
double Rms(const std::vector<double>& samples);
