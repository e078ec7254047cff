#include "ui/CNoteDefaults.h"

#include <QSettings>

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kMaxTicks = std::numeric_limits<int32_t>::max();

int32_t AtLeastOne(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 1, kMaxTicks));
}

int32_t Byte(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, 255));
}

int64_t ReadInt(QSettings& settings, const char* key, int64_t current) {
    bool ok = false;
    const qlonglong value = settings.value(key, qlonglong{current}).toLongLong(&ok);
    return ok ? value : current;
}

} // namespace

CNoteDefaults::CNoteDefaults(QObject* parent) : QObject(parent) {
}

void CNoteDefaults::SetFit(int64_t value) {
    m_fit = AtLeastOne(value);
    emit changed();
}

void CNoteDefaults::SetLength(int64_t value) {
    m_length = AtLeastOne(value);
    emit changed();
}

void CNoteDefaults::SetKeyoff(int64_t value) {
    m_keyoff = Byte(value);
    emit changed();
}

void CNoteDefaults::SetVolume(int64_t value) {
    m_volume = Byte(value);
    emit changed();
}

int32_t CNoteDefaults::Dotted(int32_t value) {
    return AtLeastOne(int64_t{value} + value / 2);
}

int32_t CNoteDefaults::Triplet(int32_t value) {
    return std::max(value / 3, 1);
}

void CNoteDefaults::Load(QSettings& settings) {
    settings.beginGroup("Note");
    m_fit = AtLeastOne(ReadInt(settings, "Fit", m_fit));
    m_length = AtLeastOne(ReadInt(settings, "DefaultLength", m_length));
    m_keyoff = Byte(ReadInt(settings, "DefaultKeyoff", m_keyoff));
    m_volume = Byte(ReadInt(settings, "DefaultVolume", m_volume));
    settings.endGroup();
    emit changed();
}

void CNoteDefaults::Save(QSettings& settings) const {
    settings.beginGroup("Note");
    settings.setValue("Fit", m_fit);
    settings.setValue("DefaultLength", m_length);
    settings.setValue("DefaultKeyoff", m_keyoff);
    settings.setValue("DefaultVolume", m_volume);
    settings.endGroup();
}
