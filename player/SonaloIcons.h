#pragma once
// The player's pictures, drawn from the SVG files compiled into the program. Rendered here
// rather than through an icon-engine plugin, so that they show wherever Qt Svg runs.

#include <QIcon>
#include <QString>

// name: "sonalo" (the program), "open", "play", "pause", "stop" or "loop".
QIcon SonaloIcon(const QString& name);
