#pragma once
// Every dialog of the editor, each made afresh on demand with its starting values, for the
// checks that must hold in all of them (names, Tab order, texts not cut off).

#include "audio/CEncode.h"
#include "common/Options.h"

#include <QDialog>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

class CFileTypeRegistry;
class ScriptedPrompts;

class DialogCatalogue {
public:
    struct ENTRY {
        QString name;
        std::function<std::unique_ptr<QDialog>()> make;
    };

    DialogCatalogue();
    ~DialogCatalogue();

    const std::vector<ENTRY>& Entries() const { return m_entries; }

private:
    void AddSongDialogs();
    void AddSoundDialogs();
    void AddShellDialogs();

    QTemporaryDir m_dir;
    QSettings m_settings;
    OPTIONS m_options;
    CEncode m_encode;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<CFileTypeRegistry> m_registry;
    std::vector<ENTRY> m_entries;
};

// Runs `check` on `window` as shown, then once more for every other page of each of its tab
// widgets, so that no page escapes the checks.
void OnEveryPage(QWidget* window, const std::function<void()>& check);
