#include "engine/CSongRenderer.h"

#include "engine/internal/CCatchUpCheckpoints.h"
#include "engine/internal/CSecondRenderer.h"
#include "engine/internal/CSongPlan.h"

struct CSongRenderer::Impl {
    explicit Impl(const CProject& project) : plan(project) {}
    CSongPlan plan;
    // The only state shared between renders; it changes no result (see the class).
    mutable CCatchUpCheckpoints checkpoints;
};

CSongRenderer::CSongRenderer(const CProject& project) : impl(std::make_unique<Impl>(project)) {
}

CSongRenderer::~CSongRenderer() = default;

int CSongRenderer::Channels() const {
    return impl->plan.channels;
}

int CSongRenderer::Rate() const {
    return impl->plan.rate;
}

double CSongRenderer::LengthSeconds() const {
    return impl->plan.lengthSeconds;
}

void CSongRenderer::RenderSecond(int32_t second, int32_t frames, double* out) const {
    // Working memory of the renders on this thread, kept between calls.
    thread_local RENDER_SCRATCH scratch;
    CSecondRenderer(impl->plan, &impl->checkpoints, scratch).Render(second, frames, out);
}
