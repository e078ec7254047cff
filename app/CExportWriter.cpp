#include "app/CExportWriter.h"

#include "app/ExportVariants.h"

#include <algorithm>

CExportWriter::CExportWriter(const CProject& song, const EXPORT_REQUEST& request,
                             const std::atomic<bool>& stop)
    : song(song), request(request), stop(stop) {
}

SOUND_FILE_SPEC CExportWriter::Spec() const {
    SOUND_FILE_SPEC spec;
    spec.kind = request.kind;
    spec.channels = reader.Channels();
    spec.rate = reader.Rate();
    spec.bitsPerSample = song.data.bitsPerSample;
    spec.quality = request.quality;
    // The encoder modules read 16-bit samples, and an MP3 file has no place for loop points.
    if (request.kind == SoundFileKind::Mp3) {
        spec.kind = SoundFileKind::Wav;
        spec.bitsPerSample = 16;
        return spec;
    }
    if (request.loopPasses > 0)
        spec.loop = SOUND_FILE_LOOP{loopStart, loopLength};
    else if (song.data.loopEnabled != 0 && loopLength > 0 && request.rangeEnd <= request.rangeStart)
        spec.loop = SOUND_FILE_LOOP{leading + loopStart, loopLength};
    return spec;
}

Result CExportWriter::Write(const std::string& cacheWav, const std::string& target) {
    if (Result r = reader.Open(cacheWav); !r)
        return r;
    const int64_t rate = reader.Rate();
    leading = int64_t{song.data.startDummy} * rate / 1000;
    loopStart = FrameAt(song, song.data.loopStart);
    loopLength = FrameAt(song, song.data.loopEnd) - loopStart;
    const size_t samples = size_t(kBlock) * size_t(reader.Channels());
    block.assign(samples, 0.0);
    mix.assign(samples, 0.0);
    if (Result r = writer.Open(target, Spec()); !r)
        return r;
    const Result r = request.loopPasses > 0                  ? WriteLoop()
                     : request.rangeEnd > request.rangeStart ? WriteRange()
                                                             : Copy(-leading, reader.Frames());
    if (!r) {
        writer.Discard();
        return r;
    }
    return writer.Commit();
}

Result CExportWriter::Stopped() const {
    return Result::Fail("cancelled");
}

// Copies `count` frames from song frame `from` (negative in the leading silence).
Result CExportWriter::Copy(int64_t from, int64_t count) {
    for (int64_t done = 0; done < count; done += kBlock) {
        if (stop)
            return Stopped();
        const int64_t n = std::min(kBlock, count - done);
        if (Result r = reader.Read(leading + from + done, n, block.data()); !r)
            return r;
        if (Result r = writer.Write(block.data(), n); !r)
            return r;
    }
    return Result::Ok();
}

Result CExportWriter::WriteRange() {
    const int64_t from = FrameAt(song, request.rangeStart);
    return Copy(from, FrameAt(song, request.rangeEnd) - from);
}

Result CExportWriter::ReadPass(int64_t k, int64_t count) {
    if (Result r = reader.Read(leading + loopStart + k, count, mix.data()); !r)
        return r;
    const size_t samples = size_t(count) * size_t(reader.Channels());
    // The tail: what sounds past the loop's end, folded back pass by pass.
    for (int64_t at = leading + loopStart + loopLength + k; at < reader.Frames();
         at += loopLength) {
        if (Result r = reader.Read(at, count, block.data()); !r)
            return r;
        for (size_t i = 0; i < samples; ++i)
            mix[i] += block[i];
    }
    return Result::Ok();
}

Result CExportWriter::WriteLoop() {
    if (Result r = Copy(0, loopStart); !r)
        return r;
    for (int pass = 0; pass < request.loopPasses; ++pass) {
        for (int64_t k = 0; k < loopLength; k += kBlock) {
            if (stop)
                return Stopped();
            const int64_t n = std::min(kBlock, loopLength - k);
            if (Result r = ReadPass(k, n); !r)
                return r;
            if (Result r = writer.Write(mix.data(), n); !r)
                return r;
        }
    }
    return Fade();
}

Result CExportWriter::Fade() {
    const int64_t frames = int64_t{std::max(request.fadeMs, 0)} * reader.Rate() / 1000;
    const size_t channels = size_t(reader.Channels());
    for (int64_t done = 0; done < frames;) {
        if (stop)
            return Stopped();
        const int64_t k = done % loopLength;
        const int64_t n = std::min({kBlock, loopLength - k, frames - done});
        if (Result r = ReadPass(k, n); !r)
            return r;
        for (int64_t f = 0; f < n; ++f) {
            const double gain = 1.0 - double(done + f) / double(frames);
            for (size_t c = 0; c < channels; ++c)
                mix[size_t(f) * channels + c] *= gain;
        }
        if (Result r = writer.Write(mix.data(), n); !r)
            return r;
        done += n;
    }
    return Result::Ok();
}
