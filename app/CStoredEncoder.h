#pragma once
// The encoder of the command-line modes: the modules beside the program, with the choice of
// encoder and bit rate the user stored in the editor's settings.

#include "audio/CEncode.h"

#include <QSettings>

class CStoredEncoder {
public:
    CStoredEncoder();

    CEncode& Encode() { return m_encode; }

private:
    QSettings m_settings;
    CEncode m_encode;
};
