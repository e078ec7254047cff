#pragma once
// The editor's "書き出し": asks for the settings, then runs CExporter on a thread of its own
// over a copy of the song while a progress window ("中止(&A)" stops it) keeps the event
// loop turning, and reports the files written or why none were. The build runs on the
// threads of the "BuildThreads" setting; MP3 goes through the encoder the user configured.
//
// Thread: the user-interface thread; the export's own thread only runs CExporter.

#include "ui/IAudioExport.h"

#include <functional>

class CAudioExportDialog;
class CEncode;
struct EXPORT_OUTCOME;
struct EXPORT_REQUEST;

class CAudioExportRunner : public IAudioExport {
public:
    // Shows the dialog and returns whether to go on; tests answer it here.
    using DialogRunner = std::function<bool(CAudioExportDialog& dialog)>;
    // The encoder modules with the stored choice; asked once per export.
    using Mp3EncoderFactory = std::function<std::unique_ptr<CEncode>()>;

    CAudioExportRunner(int threads, Mp3EncoderFactory makeEncoder, DialogRunner runDialog = {});

    void Export(const CProject& song, const QString& projectPath, IUserPrompts& prompts,
                QWidget* parent) override;

    // Runs an export with its progress window; returns when the files are written, failed
    // or the user stopped it. `encoder` is needed for MP3 only.
    static EXPORT_OUTCOME Run(const CProject& song, const QString& projectPath,
                              const EXPORT_REQUEST& request, QWidget* parent,
                              CEncode* encoder = nullptr);

private:
    int m_threads;
    Mp3EncoderFactory m_makeEncoder;
    DialogRunner m_runDialog;
};
