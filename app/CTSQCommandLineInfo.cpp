#include "app/CTSQCommandLineInfo.h"

void CTSQCommandLineInfo::Parse(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        const bool isSwitch =
            argument.size() > 1 && (argument.startsWith(u'-') || argument.startsWith(u'/')) &&
            argument.mid(1).compare(QStringLiteral("del"), Qt::CaseInsensitive) == 0;
        if (isSwitch)
            deleteSettings = true;
        else if (argument.startsWith(u'-'))
            continue; // another program's switch: nothing the editor knows
        else if (fileName.isEmpty())
            fileName = argument;
    }
}
