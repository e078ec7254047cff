#include "ui/commands/FrameCommands.h"

#include "ui/CNoteDefaults.h"
#include "ui/CommandIds.h"
#include "ui/commands/CCommandSet.h"

#include <QCoreApplication>

namespace {

using namespace cmd;

// Whole note … 64th note, as the radio items and the note bar's buttons name them.
constexpr const char* kFitCaptions[] = {QT_TRANSLATE_NOOP("Commands", "全音符単位(&W)"),
                                        QT_TRANSLATE_NOOP("Commands", "2分音符単位(&2)"),
                                        QT_TRANSLATE_NOOP("Commands", "4分音符単位(&4)"),
                                        QT_TRANSLATE_NOOP("Commands", "8分音符単位(&8)"),
                                        QT_TRANSLATE_NOOP("Commands", "16分音符単位(&1)"),
                                        QT_TRANSLATE_NOOP("Commands", "32分音符単位(&3)"),
                                        QT_TRANSLATE_NOOP("Commands", "64分音符単位(&6)")};
constexpr const char* kLengthCaptions[] = {
    QT_TRANSLATE_NOOP("Commands", "全音符(&W)"),   QT_TRANSLATE_NOOP("Commands", "2分音符(&2)"),
    QT_TRANSLATE_NOOP("Commands", "4分音符(&4)"),  QT_TRANSLATE_NOOP("Commands", "8分音符(&8)"),
    QT_TRANSLATE_NOOP("Commands", "16分音符(&1)"), QT_TRANSLATE_NOOP("Commands", "32分音符(&3)"),
    QT_TRANSLATE_NOOP("Commands", "64分音符(&6)")};
constexpr const char* kNames[] = {
    QT_TRANSLATE_NOOP("Commands", "全音符"),   QT_TRANSLATE_NOOP("Commands", "2分音符"),
    QT_TRANSLATE_NOOP("Commands", "4分音符"),  QT_TRANSLATE_NOOP("Commands", "8分音符"),
    QT_TRANSLATE_NOOP("Commands", "16分音符"), QT_TRANSLATE_NOOP("Commands", "32分音符"),
    QT_TRANSLATE_NOOP("Commands", "64分音符")};

// A radio item shows its mark only while the value is exactly its own, so after "付点" or
// "3連符" none does.
void AddRadios(CCommandSet& set, CNoteDefaults& notes) {
    for (int i = 0; i < kFitCount; ++i) {
        const int32_t unit = CNoteDefaults::UnitOf(i);
        const QString icon = QStringLiteral("note-%1").arg(1 << i);
        const QString name = QCoreApplication::translate("Commands", kNames[i]);
        set.Add({.id = kFitWhole + i,
                 .caption = kFitCaptions[i],
                 .icon = icon,
                 .prompt = QCoreApplication::translate("Commands",
                                                       "フィット単位を%1にします。\nフィット: %1")
                               .arg(name),
                 .kind = COMMAND::Kind::Radio,
                 .run = [&notes, unit] { notes.SetFit(unit); },
                 .checked = [&notes, unit] { return notes.Fit() == unit; }});
        set.Add(
            {.id = kLengthWhole + i,
             .caption = kLengthCaptions[i],
             .icon = icon,
             .prompt = QCoreApplication::translate("Commands", "既定の音長を%1にします。\n音長: %1")
                           .arg(name),
             .kind = COMMAND::Kind::Radio,
             .run = [&notes, unit] { notes.SetLength(unit); },
             .checked = [&notes, unit] { return notes.Length() == unit; }});
    }
}

} // namespace

void RegisterNoteValueCommands(CCommandSet& set, CNoteDefaults& notes) {
    AddRadios(set, notes);
    set.Add({.id = kFitDotted,
             .caption = QT_TRANSLATE_NOOP("Commands", "付点"),
             .icon = "dotted",
             .prompt = QT_TRANSLATE_NOOP("Commands", "フィット単位を1.5倍にします。\n付点"),
             .run = [&notes] { notes.SetFit(CNoteDefaults::Dotted(notes.Fit())); }});
    set.Add({.id = kFitTriplet,
             .caption = QT_TRANSLATE_NOOP("Commands", "3連符"),
             .icon = "triplet",
             .prompt = QT_TRANSLATE_NOOP("Commands", "フィット単位を1/3にします。\n3連符"),
             .run = [&notes] { notes.SetFit(CNoteDefaults::Triplet(notes.Fit())); }});
    set.Add({.id = kLengthDotted,
             .caption = QT_TRANSLATE_NOOP("Commands", "付点"),
             .icon = "dotted",
             .prompt = QT_TRANSLATE_NOOP("Commands", "既定の音長を1.5倍にします。\n付点"),
             .run = [&notes] { notes.SetLength(CNoteDefaults::Dotted(notes.Length())); }});
    set.Add({.id = kLengthTriplet,
             .caption = QT_TRANSLATE_NOOP("Commands", "3連符"),
             .icon = "triplet",
             .prompt = QT_TRANSLATE_NOOP("Commands", "既定の音長を1/3にします。\n3連符"),
             .run = [&notes] { notes.SetLength(CNoteDefaults::Triplet(notes.Length())); }});
}
