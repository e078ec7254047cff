#pragma once
// The editor's encoder for the "エンコード" command and the build's "ビルド後にエンコード
// する": one CEncode per command with the progress window. Make() returns none when no
// encoder module is installed, which the command reports as a missing encoder.
//
// Thread: the user-interface thread.

#include "ui/IEncoder.h"

#include <QString>

class CEncode;
class QSettings;

class CEncoderBridge : public IEncoder {
public:
    // Null when neither encoder module loads from moduleDirectory (or the stored gogo path).
    static std::unique_ptr<IEncoder> Make(const QString& moduleDirectory, QSettings& settings);
    ~CEncoderBridge() override;

    // Encodes with the stored choice while the progress window shows. The result is the
    // command's, not the worker's: a failed or aborted encoding still counts as done.
    bool Encode(const QString& wavPath, const CProjectData& data, QWidget* parent) override;

private:
    explicit CEncoderBridge(std::unique_ptr<CEncode> encode);

    std::unique_ptr<CEncode> m_encode;
};
