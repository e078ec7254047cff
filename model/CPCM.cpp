#include "model/CPCM.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/FileVersion.h"
#include "model/ISampleLoader.h"

#include <algorithm>

namespace {

std::string& DocumentsFolderStorage() {
    static std::string folder;
    return folder;
}

bool IsAbsoluteName(const std::string& name) {
    if (!name.empty() && name[0] == '/')
        return true;
    if (name.size() >= 2 && name[1] == ':')
        return true;
    return name.size() >= 2 && name[0] == '\\' && name[1] == '\\';
}

} // namespace

CPCM::CPCM(const CPCM& other)
    : fileName(other.fileName), baseKey(other.baseKey), loopStart(other.loopStart),
      loopEnd(other.loopEnd), loopCount(other.loopCount), loopUnit(other.loopUnit) {
}

CPCM& CPCM::operator=(const CPCM& other) {
    if (this != &other) {
        fileName = other.fileName;
        baseKey = other.baseKey;
        loopStart = other.loopStart;
        loopEnd = other.loopEnd;
        loopCount = other.loopCount;
        loopUnit = other.loopUnit;
        FreeSample();
    }
    return *this;
}

bool CPCM::SameSettings(const CPCM& other) const {
    return fileName == other.fileName && baseKey == other.baseKey && loopStart == other.loopStart &&
           loopEnd == other.loopEnd && loopCount == other.loopCount && loopUnit == other.loopUnit;
}

void CPCM::SetDocumentsFolder(const std::string& folder) {
    DocumentsFolderStorage() = folder;
}

const std::string& CPCM::DocumentsFolder() {
    return DocumentsFolderStorage();
}

std::string CPCM::GetPath() const {
    if (IsAbsoluteName(fileName))
        return fileName;
    std::string relative = fileName;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::string folder = DocumentsFolder();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder + relative;
}

void CPCM::FreeSample() {
    sampleData.clear();
    sampleData.shrink_to_fit();
    sampleFormat = WAVE_FORMAT{};
}

bool CPCM::LoadSample(ISampleLoader& loader) {
    FreeSample();
    std::string path = GetPath();
    if (path.empty() || path.back() == '/' || path.back() == '\\')
        return false;
    if (!loader.LoadSample(path, sampleData, sampleFormat)) {
        FreeSample();
        return false;
    }
    return true;
}

void CPCM::Serialize(CArchiveWriter& ar) const {
    ar.TextLine(fileName);
    ar.U8(static_cast<uint8_t>(baseKey));
    for (int32_t v : {loopStart, loopEnd, loopCount, loopUnit})
        ar.I32(v);
}

void CPCM::Serialize(CArchiveReader& ar, uint32_t version) {
    fileName = ar.TextLine(!IsBefore(version, 9));
    baseKey = ar.U8();
    if (IsBefore(version, 6)) {
        loopStart = loopEnd = loopUnit = 0;
        loopCount = 1;
        return;
    }
    loopStart = ar.I32();
    loopEnd = ar.I32();
    loopCount = ar.I32();
    loopUnit = ar.I32();
}
