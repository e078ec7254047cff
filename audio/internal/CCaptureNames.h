#pragma once
// Which file each stream of the capture device writes, so that streams playing at the same
// time (a song and a key auditioned over it) each keep a recording of their own.
//
// The streams opened on one path while at least one of them is still open form one
// recording. Its first stream writes the path itself; every later stream gets the next
// number, inserted before the extension ("cap.wav", "cap-2.wav", "cap-3.wav", …), in the
// order the streams were opened, even when an earlier one has closed meanwhile. A file that
// another open stream writes (under any path) is never handed out twice: its number is
// skipped.
//
// Once every stream of a recording has closed, the next stream on the path starts a new
// recording: it writes the path afresh, and the numbered files of the previous recording are
// removed, so the files beside the path always belong to one recording and a reader never
// mistakes an old stream for a new one.
//
// Thread-safe: streams open and close on whichever threads own their devices.

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class CCaptureNames {
public:
    // The registry of the capture device, shared by the whole process.
    static CCaptureNames& Shared();

    // Picks the file for a stream opened on `path` (absolute, in the file system's encoding)
    // and marks it written. Every Claim is matched by one Release of the same file.
    std::string Claim(const std::string& path);
    void Release(const std::string& path, const std::string& file);

    // `path` with "-number" inserted before the extension of its last component; the path
    // itself for number 1. A leading dot of a file name does not start an extension.
    static std::string Numbered(const std::string& path, int number);

private:
    struct Recording {
        int open = 0;                      // streams still writing
        int next = 1;                      // number of the next stream
        std::vector<std::string> numbered; // numbered files this recording wrote
    };

    void StartOver(Recording& recording);

    std::mutex m_lock;
    std::map<std::string, Recording> m_recordings; // by path
    std::set<std::string> m_written;               // files an open stream writes now
};
