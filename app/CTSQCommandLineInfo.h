#pragma once
// The editor's command line (after the toolkit has taken its own options): the switch
// "del" given as "/del" or "-del" in any case, and a project file to open.

#include <QString>
#include <QStringList>

class CTSQCommandLineInfo {
public:
    void Parse(const QStringList& arguments);

    bool deleteSettings = false;
    QString fileName; // the first argument that is not a switch
};
