#pragma once
// The computer keyboard as a piano for step input, by the physical position of the keys:
// the row Z S X D C V G B H N J M , L . plays C to D of the base octave, the row
// Q 2 W 3 E R 5 T 6 Y 7 U I 9 O 0 P plays C to E one octave up. Minus and equal (the two
// keys right of 0) move the octave down and up, the space bar is a rest and Backspace takes
// the last entry back. None of them is a key the piano roll otherwise uses.
//
// Positions are X keyboard codes (evdev code + 8), what QKeyEvent::nativeScanCode() gives
// under X11 and Wayland, so a non-US layout plays the same keys. Platforms that give no
// code (0: the offscreen platform, synthesised events) fall back on Qt's key as a US
// layout names it.

#include <cstdint>

struct STEP_KEY {
    enum class Kind { None, Note, Rest, OctaveDown, OctaveUp, Back };
    Kind kind = Kind::None;
    int semitone = 0; // above C of the base octave, for Kind::Note

    bool operator==(const STEP_KEY&) const = default;
};

STEP_KEY StepKeyOf(uint32_t nativeScanCode, int qtKey);
