#pragma once
// Every message box and file chooser of the editor's commands goes through this interface,
// so tests can answer them from a script. CMessagePrompts is the real one.
//
// Thread: the user-interface thread only.

#include <QString>
#include <QStringList>

class IUserPrompts {
public:
    enum class Icon { Information, Question, Warning, Error };
    enum class Buttons { Ok, YesNo, YesNoCancel, AbortRetryIgnore };
    enum class Answer { Ok, Yes, No, Cancel, Abort, Retry, Ignore };

    // A file chooser. `filters` are Qt filter strings ("text (*.a *.b)"), the first one is
    // preselected. An empty result means the user cancelled.
    struct FileRequest {
        QString title;
        QStringList filters;
        QString defaultSuffix; // without the dot; appended when the name has none
        QString directory;     // the folder to start in
        QString fileName;      // the initial name (save choosers)
    };

    virtual ~IUserPrompts() = default;

    // `title` empty means the application title.
    virtual Answer Message(const QString& text, const QString& title, Icon icon,
                           Buttons buttons) = 0;
    // An existing file to read.
    virtual QString OpenFileName(const FileRequest& request) = 0;
    // A file to write; the chooser asks before an existing file is replaced.
    virtual QString SaveFileName(const FileRequest& request) = 0;

    void Error(const QString& text, const QString& title = {}) {
        Message(text, title, Icon::Error, Buttons::Ok);
    }
};
