#include "modules/vbmp3/CMpg123Source.h"
#include "modules/vbmp3/CRiffWaveSource.h"
#include "modules/vbmp3/CSndfileSource.h"

std::unique_ptr<ISourceDecoder> OpenSource(const std::string& path) {
    if (auto source = CSndfileSource::Open(path))
        return source;
    if (auto source = CRiffWaveSource::Open(path))
        return source;
    return CMpg123Source::Open(path);
}
