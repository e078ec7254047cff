#include "ui/pianoroll/CPianoRollAccessible.h"

#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/widgets/AccessibleFactory.h"

CPianoRollAccessible::CPianoRollAccessible(CPianoRollWnd* pane)
    : QAccessibleWidget(pane, QAccessible::Canvas) {
}

void CPianoRollAccessible::Install() {
    InstallAccessible<CPianoRollWnd, CPianoRollAccessible>();
}

QString CPianoRollAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return static_cast<const CPianoRollWnd*>(widget())->CaretReading();
    return QAccessibleWidget::text(t);
}
