#pragma once
// The fraction done of an encoding and its cancel flag, shared by the encoder's worker
// (writes the fraction, reads the flag) and the thread that shows the progress (reads the
// fraction, sets the flag). One lock guards both.

#include <mutex>

class CEncodeProgress {
public:
    // For the worker: stores the fraction (0..1); false once the encoding is cancelled.
    bool Report(double fraction) {
        std::lock_guard guard(m_lock);
        m_fraction = fraction;
        return !m_cancelled;
    }
    bool IsCancelled() const {
        std::lock_guard guard(m_lock);
        return m_cancelled;
    }

    // For the watching thread.
    double Fraction() const {
        std::lock_guard guard(m_lock);
        return m_fraction;
    }
    void Cancel() {
        std::lock_guard guard(m_lock);
        m_cancelled = true;
    }
    void Reset() {
        std::lock_guard guard(m_lock);
        m_fraction = 0;
        m_cancelled = false;
    }

private:
    mutable std::mutex m_lock;
    double m_fraction = 0;
    bool m_cancelled = false;
};
