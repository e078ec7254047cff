// A real editor for the recovery tests, run as a child process over the settings and
// state folders its parent chose.
//   edit              adds a track, waits for the autosave, prints "autosaved" and runs on
//                     until it is killed
//   restore yes|no    starts, answers the recovery question, prints what it was offered
//                     and what the window then holds, and ends

#include "UiTestSupport.h"

#include "app/CTSQApp.h"
#include "ui/CAutosave.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CRecoveryFile.h"

#include <QApplication>

#include <cstdio>

namespace {

int Edit(CTSQApp& app) {
    CEditController& edit = app.Frame()->Edit();
    edit.Edit(CEditController::kViewAll, [&](CProject& project) {
        project.tracks.emplace_back();
        project.tracks.back().settings.name = "edited by the killed editor";
        edit.MarkTrack(project.tracks.back());
    });
    const CAutosave& autosave = app.Frame()->Autosave();
    if (!RunUntil([&] { return autosave.Session() && autosave.Session()->HasSong(); }, 20000))
        return 1;
    app.Frame()->Autosave().WaitForWriter();
    std::printf("autosaved\n");
    std::fflush(stdout);
    return QApplication::exec();
}

void Report(CTSQApp& app, const ScriptedPrompts& prompts) {
    int offers = 0;
    for (const ScriptedPrompts::SHOWN& shown : prompts.shown)
        offers += shown.icon == IUserPrompts::Icon::Question &&
                  shown.text.startsWith(QStringLiteral("前回の編集内容を復元しますか？"));
    QStringList tracks;
    for (const CTrack& track : app.Frame()->Edit().Project().tracks)
        tracks.append(QString::fromStdString(track.settings.name));
    std::printf("offers=%d\ntracks=%s\ntitle=%s\n", offers, tracks.join(',').toUtf8().constData(),
                app.Frame()->windowTitle().toUtf8().constData());
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    ScriptedPrompts prompts;
    const bool yes = args.value(1) == QStringLiteral("yes");
    prompts.answers = {yes ? IUserPrompts::Answer::Yes : IUserPrompts::Answer::No,
                       IUserPrompts::Answer::No};
    CTSQApp app(&prompts);
    if (app.Start({}).has_value())
        return 1;
    if (args.value(0) == QStringLiteral("edit"))
        return Edit(app);
    Report(app, prompts);
    // The restored song stays unsaved: its recovery file must outlive this run.
    app.Frame()->Autosave().WaitForWriter();
    std::fflush(stdout);
    std::_Exit(0);
}
