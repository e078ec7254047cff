#pragma once
// The player program: one optional file path on the command line, one window; the program
// ends when the window closes. It stores no settings.

#include <QApplication>

class CSonaloApp : public QApplication {
    Q_OBJECT
public:
    CSonaloApp(int& argc, char** argv);

    // The file to load at start: the first argument that is not an option ("-…"), as the
    // editor passes the built WAV file's path. Empty when there is none.
    static QString PathToLoad(const QStringList& arguments);

    // Shows the window and runs until it closes.
    int Run();
};
