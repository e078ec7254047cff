#include "audio/internal/CGogoRoute.h"

#include <string>

namespace {

UPARAM PathArgument(const QString& path) {
    return reinterpret_cast<UPARAM>(path.utf16());
}

std::string Failure(const char* call, MERET code) {
    return std::string("the encoder module refused ") + call + " (" + std::to_string(code) + ")";
}

} // namespace

Result CGogoRoute::Run(const QString& wav, const QString& mp3, int bitRate,
                       CEncodeProgress& progress) {
    if (const MERET r = m_entry.initializeWork(); r != ME_NOERR)
        return Result::Fail(Failure("MPGE_initializeWork", r));
    m_entry.setConfigure(MC_INPUTFILE, MC_INPDEV_FILE, PathArgument(wav));
    m_entry.setConfigure(MC_OUTPUTFILE, MC_OUTDEV_FILE, PathArgument(mp3));
    m_entry.setConfigure(MC_BITRATE, UPARAM(bitRate), 0);
    if (const MERET r = m_entry.detectConfigure(); r != ME_NOERR) {
        m_entry.endCoder();
        return Result::Fail(Failure("MPGE_detectConfigure", r));
    }
    uint32_t frames = 0;
    m_entry.getConfigure(MG_COUNT_FRAME, &frames);
    Result result = Result::Ok();
    for (uint32_t i = 0; i < frames; ++i) {
        const MERET r = m_entry.processFrame();
        if (r != ME_NOERR && r != ME_EMPTYSTREAM && result)
            result = Result::Fail(Failure("MPGE_processFrame", r));
        if (!progress.Report(double(i) / frames)) {
            result = Result::Fail("cancelled");
            break;
        }
    }
    const MERET closed = m_entry.closeCoder();
    m_entry.endCoder();
    if (closed != ME_NOERR && result)
        result = Result::Fail(Failure("MPGE_closeCoder", closed));
    return result;
}
