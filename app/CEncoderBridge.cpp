#include "app/CEncoderBridge.h"

#include "app/CEncodeProgressDialog.h"
#include "audio/CEncode.h"

std::unique_ptr<IEncoder> CEncoderBridge::Make(const QString& moduleDirectory,
                                               QSettings& settings) {
    auto encode = std::make_unique<CEncode>(moduleDirectory, settings);
    if (!encode->IsAvailable())
        return nullptr;
    return std::unique_ptr<IEncoder>(new CEncoderBridge(std::move(encode)));
}

CEncoderBridge::CEncoderBridge(std::unique_ptr<CEncode> encode) : m_encode(std::move(encode)) {
}

CEncoderBridge::~CEncoderBridge() = default;

bool CEncoderBridge::Encode(const QString& wavPath, const CProjectData&, QWidget* parent) {
    CEncodeProgressDialog progress(parent != nullptr ? parent->window() : nullptr);
    m_encode->Encode(wavPath, [&progress](double fraction) { return progress.Update(fraction); });
    return true;
}
