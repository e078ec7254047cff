#include "common/CHeldKeys.h"

CHeldKeys& CHeldKeys::Instance() {
    static CHeldKeys keys;
    return keys;
}

void CHeldKeys::Set(int key, bool down) {
    if (key < 0 || key >= kKeys || m_held[size_t(key)] == down)
        return;
    m_held[size_t(key)] = down;
    emit changed(key);
}
