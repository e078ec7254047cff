#include "dialogs/FindDataSettings.h"

#include <QSettings>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int32_t kLastKey = 95;

struct Entry {
    const char* name;
    int32_t FIND_DATA::*field;
};

constexpr Entry kEntries[] = {
    {"Pos", &FIND_DATA::pos},
    {"PosStart", &FIND_DATA::posStart},
    {"PosEnd", &FIND_DATA::posEnd},
    {"Length", &FIND_DATA::length},
    {"LengthStart", &FIND_DATA::lengthStart},
    {"LengthEnd", &FIND_DATA::lengthEnd},
    {"Keyoff", &FIND_DATA::keyoff},
    {"KeyoffStart", &FIND_DATA::keyoffStart},
    {"KeyoffEnd", &FIND_DATA::keyoffEnd},
    {"Key", &FIND_DATA::key},
    {"KeyStart", &FIND_DATA::keyStart},
    {"KeyEnd", &FIND_DATA::keyEnd},
    {"Volume", &FIND_DATA::volume},
    {"VolumeStart", &FIND_DATA::volumeStart},
    {"VolumeEnd", &FIND_DATA::volumeEnd},
};

void Clamp(int32_t& start, int32_t& end, int32_t low, int32_t high) {
    start = std::clamp(start, low, high);
    end = std::clamp(end, low, high);
}

void Order(int32_t& low, int32_t& high) {
    if (high < low)
        std::swap(low, high);
}

} // namespace

FIND_DATA ClampedFindData(const FIND_DATA& in) {
    FIND_DATA d = in;
    for (int32_t* flag : {&d.pos, &d.length, &d.keyoff, &d.key, &d.volume})
        *flag = *flag != 0 ? 1 : 0;
    Clamp(d.posStart, d.posEnd, 0, kMax32);
    Clamp(d.lengthStart, d.lengthEnd, 1, kMax32);
    Clamp(d.keyoffStart, d.keyoffEnd, 0, kMax32);
    Clamp(d.volumeStart, d.volumeEnd, 0, 255);
    Clamp(d.keyStart, d.keyEnd, 0, kLastKey);
    return d;
}

FIND_DATA OrderedFindData(const FIND_DATA& in) {
    FIND_DATA d = ClampedFindData(in);
    Order(d.posStart, d.posEnd);
    Order(d.lengthStart, d.lengthEnd);
    Order(d.keyoffStart, d.keyoffEnd);
    Order(d.volumeStart, d.volumeEnd);
    Order(d.keyEnd, d.keyStart);
    return d;
}

FIND_DATA LoadFindData(QSettings& settings) {
    FIND_DATA data;
    settings.beginGroup(QStringLiteral("FindData"));
    for (const Entry& e : kEntries) {
        bool ok = false;
        const qlonglong value = settings.value(QLatin1String(e.name)).toLongLong(&ok);
        if (ok)
            data.*e.field = static_cast<int32_t>(
                std::clamp<qlonglong>(value, std::numeric_limits<int32_t>::min(), kMax32));
    }
    settings.endGroup();
    return ClampedFindData(data);
}

void SaveFindData(QSettings& settings, const FIND_DATA& data) {
    settings.beginGroup(QStringLiteral("FindData"));
    for (const Entry& e : kEntries)
        settings.setValue(QLatin1String(e.name), data.*e.field);
    settings.endGroup();
}
