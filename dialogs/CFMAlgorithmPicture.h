#pragma once
// The 48 × 48 pictures of the eight FM algorithms: the four operators as numbered boxes,
// a line from each modulator down to every operator it modulates, the feedback loop on
// operator 1, and the carriers joined to the output line along the bottom edge.

#include <QImage>
#include <QRect>

#include <array>

class CFMAlgorithmPicture {
public:
    static constexpr int kSize = 48;
    static constexpr int kAlgorithms = 8;

    // How an algorithm connects its operators, and where the picture puts them.
    struct LAYOUT {
        std::array<int, 4> columns; // grid column 0..3 of operators 1..4
        std::array<int, 4> rows;    // grid row 0..3, top to bottom
        std::array<int, 4> targets; // bit k set: feeds operator k + 1; 0 = a carrier
    };

    // The connections of an algorithm (0..7), as the FM voice combines its operators.
    static const LAYOUT& Layout(int algorithm);
    // The box of operator `index` (0..3) in picture pixels.
    static QRect Box(int algorithm, int index);
    // The picture of an algorithm (0..7) on a transparent ground, kSize logical pixels square
    // at `ratio` device pixels each; a null image otherwise.
    static QImage Draw(int algorithm, qreal ratio = 1.0);
};
