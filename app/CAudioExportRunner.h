#pragma once
// The editor's "書き出し": asks for the settings, then runs CExporter on a thread of its own
// over a copy of the song while a progress window ("中止(&A)" stops it) keeps the event
// loop turning, and reports the files written or why none were.
//
// Thread: the user-interface thread; the export's own thread only runs CExporter.

#include "ui/IAudioExport.h"

#include <functional>

class CAudioExportDialog;
struct EXPORT_OUTCOME;
struct EXPORT_REQUEST;

class CAudioExportRunner : public IAudioExport {
public:
    // Shows the dialog and returns whether to go on; tests answer it here.
    using DialogRunner = std::function<bool(CAudioExportDialog& dialog)>;

    explicit CAudioExportRunner(DialogRunner runDialog = {});

    void Export(const CProject& song, const QString& projectPath, IUserPrompts& prompts,
                QWidget* parent) override;

    // Runs an export with its progress window; returns when the files are written, failed
    // or the user stopped it.
    static EXPORT_OUTCOME Run(const CProject& song, const QString& projectPath,
                              const EXPORT_REQUEST& request, QWidget* parent);

private:
    DialogRunner m_runDialog;
};
