#include "app/CStoredEncoder.h"

#include "audio/CModule.h"

CStoredEncoder::CStoredEncoder()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrova"),
                 QStringLiteral("Tesselaphon Editor")),
      m_encode(CModule::ProgramDirectory(), m_settings) {
}
