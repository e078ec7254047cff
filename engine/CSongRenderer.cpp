#include "engine/CSongRenderer.h"

#include "engine/internal/CSecondRenderer.h"
#include "engine/internal/CSongPlan.h"

#include <algorithm>

struct CSongRenderer::Impl {
    explicit Impl(const CProject& project) : plan(project) {}
    CSongPlan plan;
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
    class CopySink final : public IRenderSink {
    public:
        CopySink(double* out, int32_t channels) : out(out), channels(channels) {}
        void Consume(int32_t first, int32_t count, const double* values) override {
            std::copy(values, values + size_t(count) * size_t(channels),
                      out + size_t(first) * size_t(channels));
        }

    private:
        double* out;
        int32_t channels;
    };
    if (frames <= 0 || Channels() <= 0)
        return;
    std::fill(out, out + size_t(frames) * size_t(Channels()), 0.0);
    CopySink sink(out, Channels());
    RenderSecond(second, frames, sink);
}

void CSongRenderer::RenderSecond(int32_t second, int32_t frames, IRenderSink& sink) const {
    // Working memory of the renders on this thread, kept between calls.
    thread_local RENDER_SCRATCH scratch;
    CSecondRenderer(impl->plan, scratch).Render(second, frames, sink);
}
