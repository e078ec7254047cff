#pragma once
// Every message box and file chooser of the editor's commands goes through this interface,
// so tests can answer them from a script. CMessagePrompts is the real one; what a box closed
// without a button answers is decided here, for both.
//
// Thread: the user-interface thread only.

#include <QString>
#include <QStringList>

#include <optional>

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

    // `title` empty means the application title. A box closed without a button (its
    // window's close button, Escape) answers as WayOut says.
    Answer Message(const QString& text, const QString& title, Icon icon, Buttons buttons) {
        return Ask(text, title, icon, buttons).value_or(WayOut(buttons));
    }
    // An existing file to read.
    virtual QString OpenFileName(const FileRequest& request) = 0;
    // A file to write; the chooser asks before an existing file is replaced.
    virtual QString SaveFileName(const FileRequest& request) = 0;

    void Error(const QString& text, const QString& title = {}) {
        Message(text, title, Icon::Error, Buttons::Ok);
    }

    // The answer of a question box that is closed rather than answered: its way out.
    static Answer WayOut(Buttons buttons) {
        switch (buttons) {
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        case Buttons::AbortRetryIgnore:
            return Answer::Abort;
        case Buttons::Ok:
            break;
        }
        return Answer::Ok;
    }

protected:
    // Shows the box; the button the user pressed, or nothing when the box was closed.
    virtual std::optional<Answer> Ask(const QString& text, const QString& title, Icon icon,
                                      Buttons buttons) = 0;
};
