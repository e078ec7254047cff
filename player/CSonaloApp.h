#pragma once
// The player program: one optional file path on the command line, one window; the program
// ends when the window closes. It stores no settings; it reads the editor's choice of
// language, which "--lang ja|en" overrides for one run.

#include <QApplication>

class CSonaloApp : public QApplication {
    Q_OBJECT
public:
    CSonaloApp(int& argc, char** argv);

    // The file to load at start: the first argument that is not an option ("-…") nor the
    // value of "--lang", as the editor passes the built WAV file's path. Empty when there
    // is none.
    static QString PathToLoad(const QStringList& arguments);

    // Shows the window and runs until it closes; 2 after a bad "--lang".
    int Run();

private:
    QString m_refusal;
};
