#include "ui/RecoveryOffer.h"

#include "model/CProject.h"
#include "ui/CAutosave.h"
#include "ui/CDocument.h"
#include "ui/CRecoveryFile.h"
#include "ui/IUserPrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

namespace {

QString Text(const char* text) {
    return QCoreApplication::translate("RecoveryOffer", text);
}

constexpr const char* kTitle = QT_TRANSLATE_NOOP("RecoveryOffer", "復元");
constexpr const char* kQuestion =
    QT_TRANSLATE_NOOP("RecoveryOffer", "前回の編集内容を復元しますか？\n\n"
                                       "曲名: %1\n時刻: %2\nファイル: %3");
constexpr const char* kUntitled = QT_TRANSLATE_NOOP("RecoveryOffer", "無題");
constexpr const char* kDamaged =
    QT_TRANSLATE_NOOP("RecoveryOffer", "復元ファイル %1 は壊れているため、復元できません。\n\n%2");
constexpr const char* kDiscard =
    QT_TRANSLATE_NOOP("RecoveryOffer", "この復元ファイルを破棄しますか？\n\n[いいえ] を選択すると、"
                                       "次回の起動時にもう一度確認します。");

QString Question(const CProject& song, const RECOVERY_INFO& info) {
    const QString name = QString::fromStdString(song.data.name);
    const QString path =
        info.originalPath.isEmpty() ? Text(kUntitled) : QDir::toNativeSeparators(info.originalPath);
    const QString time = QLocale().toString(info.time.toLocalTime(), QLocale::ShortFormat);
    return Text(kQuestion).arg(name.isEmpty() ? Text(kUntitled) : name, time, path);
}

void AskToDiscard(IUserPrompts& prompts, const CRecoveryFile& file) {
    if (prompts.Message(Text(kDiscard), Text(kTitle), IUserPrompts::Icon::Question,
                        IUserPrompts::Buttons::YesNo) == IUserPrompts::Answer::Yes)
        file.RemoveAll();
}

} // namespace

bool OfferRecovery(IUserPrompts& prompts, CDocument& document, CAutosave& autosave) {
    for (const std::unique_ptr<CRecoveryFile>& file : CRecoveryFile::ClaimOrphans()) {
        CProject song;
        RECOVERY_INFO info;
        if (const Result r = file->Read(song, info); !r) {
            prompts.Error(Text(kDamaged).arg(QDir::toNativeSeparators(file->SongPath()),
                                             QString::fromStdString(r.message)),
                          Text(kTitle));
            AskToDiscard(prompts, *file);
            continue;
        }
        const IUserPrompts::Answer answer =
            prompts.Message(Question(song, info), Text(kTitle), IUserPrompts::Icon::Question,
                            IUserPrompts::Buttons::YesNo);
        if (answer != IUserPrompts::Answer::Yes) {
            AskToDiscard(prompts, *file);
            continue;
        }
        // Steps that cannot be read cost the undo history only, never the song.
        std::vector<CProject> history;
        file->ReadHistory(history);
        document.Restore(std::move(song), std::move(history));
        autosave.SaveNow();
        autosave.WaitForWriter();
        // The old file goes only once the song is safe in this session's own.
        if (autosave.Session() != nullptr && autosave.Session()->HasSong())
            file->RemoveAll();
        return true;
    }
    return false;
}
