#pragma once
// The player's lenient WAV reader: chunks in any order with other chunks between them,
// "fmt " before "smpl", a head and a tail cut off the sample data, and the first loop of
// "smpl" moved into the kept data.
//
// Whatever the file claims, nothing is allocated beyond the file's size, and the loop that
// comes out lies inside the kept data (or there is none).

#include "audio/SonaloWave.h"
#include "model/Result.h"

#include <QIODevice>

class CSonaloWaveReader {
public:
    // head and tail are seconds cut off the front and the end of the data (negative = 0),
    // rounded down to whole frames.
    static Result Read(QIODevice& in, double head, double tail, SONALO_WAVE& wave);
};
