#include "modules/vbmp3/DecodeToWav.h"

#include "modules/common/CWavFileWriter.h"

#include <vector>

namespace {

constexpr int64_t kBlockFrames = 8192;

} // namespace

bool DecodeToWav(const std::string& sourcePath, const std::string& wavPath,
                 const std::atomic<bool>& cancel) {
    const std::unique_ptr<ISourceDecoder> source = OpenSource(sourcePath);
    if (!source)
        return false;
    const SOURCE_FORMAT& f = source->Format();
    auto writer = CWavFileWriter::Create(wavPath, f.formatTag, f.channels, f.rate, f.bits);
    if (!writer)
        return false;
    std::vector<uint8_t> block(size_t(kBlockFrames) * f.FrameBytes());
    int64_t total = 0;
    for (;;) {
        if (cancel.load())
            return false;
        const int64_t frames = source->Read(block.data(), kBlockFrames);
        if (frames < 0)
            return false;
        if (frames == 0)
            break;
        if (!writer->Append(block.data(), size_t(frames) * f.FrameBytes()))
            return false;
        total += frames;
    }
    // A file that yields no sound at all is no sample either.
    return total > 0 && writer->Finish();
}
