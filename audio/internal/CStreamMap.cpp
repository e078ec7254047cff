#include "audio/internal/CStreamMap.h"

#include <algorithm>

void CStreamMap::Append(uint64_t streamFrame, uint64_t dataFrame, uint64_t count) {
    if (count == 0) {
        return;
    }
    if (!m_spans.empty()) {
        SPAN& last = m_spans.back();
        // A stretch that simply goes on where the last one ended extends it: a long play
        // without wraps keeps a single entry.
        if (last.stream + last.count == streamFrame && last.data + last.count == dataFrame) {
            last.count += count;
            return;
        }
    }
    m_spans.push_back(SPAN{streamFrame, dataFrame, count});
}

uint64_t CStreamMap::FrameAt(uint64_t played, uint64_t fallback) {
    while (m_spans.size() > 1 && m_spans[1].stream <= played) {
        m_spans.pop_front();
    }
    if (m_spans.empty()) {
        return fallback;
    }
    const SPAN& span = m_spans.front();
    const uint64_t into = played > span.stream ? played - span.stream : 0;
    return span.data + std::min(into, span.count);
}

bool CStreamMap::Crosses(uint64_t played, uint64_t frame) const {
    return std::any_of(m_spans.begin(), m_spans.end(), [&](const SPAN& span) {
        const uint64_t heard =
            played > span.stream ? std::min(played - span.stream, span.count) : 0;
        return span.data + heard <= frame && frame + 1 < span.data + span.count;
    });
}
