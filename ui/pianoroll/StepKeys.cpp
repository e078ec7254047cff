#include "ui/pianoroll/StepKeys.h"

#include <Qt>

#include <array>

namespace {

constexpr uint32_t kXkbOffset = 8;

struct KEY_PLACE {
    uint32_t evdev; // the key's position
    int qtKey;      // what a US layout calls it
    STEP_KEY step;
};

constexpr STEP_KEY Note(int semitone) {
    return {STEP_KEY::Kind::Note, semitone};
}

// clang-format off
constexpr std::array kPlaces = {
    // Lower row: C of the base octave to D of the next.
    KEY_PLACE{44, Qt::Key_Z, Note(0)},      KEY_PLACE{31, Qt::Key_S, Note(1)},
    KEY_PLACE{45, Qt::Key_X, Note(2)},      KEY_PLACE{32, Qt::Key_D, Note(3)},
    KEY_PLACE{46, Qt::Key_C, Note(4)},      KEY_PLACE{47, Qt::Key_V, Note(5)},
    KEY_PLACE{34, Qt::Key_G, Note(6)},      KEY_PLACE{48, Qt::Key_B, Note(7)},
    KEY_PLACE{35, Qt::Key_H, Note(8)},      KEY_PLACE{49, Qt::Key_N, Note(9)},
    KEY_PLACE{36, Qt::Key_J, Note(10)},     KEY_PLACE{50, Qt::Key_M, Note(11)},
    KEY_PLACE{51, Qt::Key_Comma, Note(12)}, KEY_PLACE{38, Qt::Key_L, Note(13)},
    KEY_PLACE{52, Qt::Key_Period, Note(14)},
    // Upper row: one octave up, C to E.
    KEY_PLACE{16, Qt::Key_Q, Note(12)},     KEY_PLACE{3, Qt::Key_2, Note(13)},
    KEY_PLACE{17, Qt::Key_W, Note(14)},     KEY_PLACE{4, Qt::Key_3, Note(15)},
    KEY_PLACE{18, Qt::Key_E, Note(16)},     KEY_PLACE{19, Qt::Key_R, Note(17)},
    KEY_PLACE{6, Qt::Key_5, Note(18)},      KEY_PLACE{20, Qt::Key_T, Note(19)},
    KEY_PLACE{7, Qt::Key_6, Note(20)},      KEY_PLACE{21, Qt::Key_Y, Note(21)},
    KEY_PLACE{8, Qt::Key_7, Note(22)},      KEY_PLACE{22, Qt::Key_U, Note(23)},
    KEY_PLACE{23, Qt::Key_I, Note(24)},     KEY_PLACE{10, Qt::Key_9, Note(25)},
    KEY_PLACE{24, Qt::Key_O, Note(26)},     KEY_PLACE{11, Qt::Key_0, Note(27)},
    KEY_PLACE{25, Qt::Key_P, Note(28)},
    KEY_PLACE{12, Qt::Key_Minus, {STEP_KEY::Kind::OctaveDown}},
    KEY_PLACE{13, Qt::Key_Equal, {STEP_KEY::Kind::OctaveUp}},
    KEY_PLACE{57, Qt::Key_Space, {STEP_KEY::Kind::Rest}},
    KEY_PLACE{14, Qt::Key_Backspace, {STEP_KEY::Kind::Back}},
};
// clang-format on

} // namespace

STEP_KEY StepKeyOf(uint32_t nativeScanCode, int qtKey) {
    for (const KEY_PLACE& place : kPlaces) {
        if (nativeScanCode != 0 ? nativeScanCode == place.evdev + kXkbOffset : qtKey == place.qtKey)
            return place.step;
    }
    return {};
}
