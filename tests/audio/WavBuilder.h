#pragma once
// Builds WAV files byte by byte for the tests, including malformed ones.

#include "model/WaveFormat.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class WavBuilder {
public:
    WavBuilder& Fmt(const WAVE_FORMAT& format, int chunkSize = WAVE_FORMAT::kRecordSize);
    WavBuilder& Data(const std::vector<uint8_t>& bytes, bool pad = true);
    // A "smpl" chunk with one loop record per loop count (the first holding start..end).
    WavBuilder& Smpl(uint32_t loopStart, uint32_t loopEnd, uint32_t loopCount = 1);
    WavBuilder& Chunk(const char* id, const QByteArray& body, bool pad = true);
    // A chunk header stating size, followed by body (which may be shorter).
    WavBuilder& Header(const char* id, uint32_t size, const QByteArray& body = {});

    QByteArray Bytes() const;
    QString Save(const QString& path) const;

private:
    QByteArray m_chunks;
};

// Little-endian 16-bit samples whose value is the frame index, so played bytes tell where
// they came from.
std::vector<uint8_t> Ramp16(int frames, int first = 0);
// The frame indexes of a 16-bit mono byte block.
std::vector<int> Frames16(const std::vector<uint8_t>& bytes);
std::vector<int> Range(int first, int last); // first..last inclusive
