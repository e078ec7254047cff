#pragma once
// The keys held on the MIDI keyboard, for every on-screen keyboard to show: the editor's
// MIDI input sets them, each CKeyboardWnd paints them, including one opened while a key
// is already held. Keys count upward as on the on-screen keyboard (0 = C1).
//
// Thread: the user-interface thread only.

#include <QObject>

#include <bitset>

class CHeldKeys : public QObject {
    Q_OBJECT
public:
    static constexpr int kKeys = 96;

    static CHeldKeys& Instance();

    void Set(int key, bool down);
    bool IsHeld(int key) const { return key >= 0 && key < kKeys && m_held[size_t(key)]; }

signals:
    void changed(int key);

private:
    std::bitset<kKeys> m_held;
};
