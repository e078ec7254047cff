#include "audio/internal/CCaptureNames.h"

#include <cstdio>

CCaptureNames& CCaptureNames::Shared() {
    static CCaptureNames names;
    return names;
}

std::string CCaptureNames::Claim(const std::string& path) {
    std::lock_guard lock(m_lock);
    Recording& recording = m_recordings[path];
    if (recording.open == 0) {
        StartOver(recording);
    }
    std::string file;
    do {
        file = Numbered(path, recording.next++);
    } while (m_written.count(file) != 0);
    if (file != path) {
        recording.numbered.push_back(file);
    }
    ++recording.open;
    m_written.insert(file);
    return file;
}

void CCaptureNames::Release(const std::string& path, const std::string& file) {
    std::lock_guard lock(m_lock);
    m_written.erase(file);
    auto it = m_recordings.find(path);
    if (it == m_recordings.end() || it->second.open == 0) {
        return;
    }
    // A recording with nothing left to remove later need not be remembered.
    if (--it->second.open == 0 && it->second.numbered.empty()) {
        m_recordings.erase(it);
    }
}

void CCaptureNames::StartOver(Recording& recording) {
    for (const std::string& file : recording.numbered) {
        // Another path's open stream may have taken the name since; that file is not ours.
        if (m_written.count(file) == 0) {
            std::remove(file.c_str());
        }
    }
    recording.numbered.clear();
    recording.next = 1;
}

std::string CCaptureNames::Numbered(const std::string& path, int number) {
    if (number <= 1) {
        return path;
    }
    const size_t nameStart = path.find_last_of('/') + 1; // npos + 1 == 0
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart) {
        dot = path.size();
    }
    return path.substr(0, dot) + "-" + std::to_string(number) + path.substr(dot);
}
