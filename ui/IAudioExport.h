#pragma once
// The audio export ("書き出し") as the file menu sees it: the application supplies it,
// because the exporter lives with the command-line modes the editor does not link. It asks
// for its settings, writes the files with its own progress window and tells the user how
// it went through `prompts`.

#include <QString>

#include <functional>
#include <memory>

class CProject;
class IUserPrompts;
class QWidget;

class IAudioExport {
public:
    virtual ~IAudioExport() = default;
    // `song` is a copy the export may keep for as long as it runs; `projectPath` names the
    // song's files (the untitled song's temporary project).
    virtual void Export(const CProject& song, const QString& projectPath, IUserPrompts& prompts,
                        QWidget* parent) = 0;
};

using AudioExportFactory = std::function<std::unique_ptr<IAudioExport>()>;
