#pragma once
// One MP3 file of an export. The encoder modules read WAV files only, so the file is first
// written as a 16-bit WAV file under a hidden name in the target's folder, then encoded
// beside it, and the finished MP3 file is renamed onto the target. Both temporary files go
// whatever the outcome: an abort or a failure leaves the target as it was.

#include "model/Result.h"

#include <atomic>
#include <string>

class CEncode;

class CMp3Export {
public:
    // bitRate in kilobits per second; 0 keeps the encoder's stored one.
    CMp3Export(CEncode& encode, int bitRate, const std::atomic<bool>& stop);
    ~CMp3Export();
    CMp3Export(const CMp3Export&) = delete;
    CMp3Export& operator=(const CMp3Export&) = delete;

    // Takes a fresh hidden WAV name beside `target`.
    Result Reserve(const std::string& target);
    // Where the export writes its WAV file once Reserve succeeded.
    const std::string& WavPath() const { return m_wav; }
    // Encodes the WAV file and puts the MP3 file in place of the target.
    Result Finish();

private:
    CEncode& m_encode;
    int m_bitRate;
    const std::atomic<bool>& m_stop;
    std::string m_target;
    std::string m_wav;
    std::string m_mp3;
};
