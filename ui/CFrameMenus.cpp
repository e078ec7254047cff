#include "ui/CFrameMenus.h"

#include "ui/CFrameActions.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QDir>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace {

// 0 in an id list stands for a separator.
constexpr int kSep = 0;

QString RecentText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > 60)
        shown = QStringLiteral("…") + shown.right(59);
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown.replace(u'&', QStringLiteral("&&")));
}

} // namespace

CFrameMenus::CFrameMenus(CFrameActions& actions, QMenuBar& menuBar, QWidget* window)
    : QObject(window), m_actions(actions), m_menuBar(menuBar), m_window(window) {
    using namespace cmd;
    m_fileMenu =
        AddMenu("ファイル(&F)", {kFileNew, kFileOpen, kFileSave, kFileSaveAs, kSep, kFileImport,
                                 kFileExport, kSep, kBuild, kRebuild, kEncode, kSep, kRecentFile});
    m_recentAnchor = m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_actions.Action(kAppExit));
    AddMenu("編集(&E)", {kUndo,           kRedo,           kSep,         kCut,
                         kCopy,           kPaste,          kDelete,      kSep,
                         kFind,           kJump,           kSep,         kSelectAll,
                         kSelectAfter,    kSelectInvert,   kSelectClear, kSep,
                         kInsertMeasures, kDeleteMeasures, kSep,         kProperties});
    AddMenu("表示(&V)",
            {kViewStandardBar, kViewPlayBar, kViewNoteBar, kViewStatusBar, kSep, kFullScreen});
    AddMenu("プロジェクト(&J)",
            {kProjectSettings, kSep, kVolumeList, kTempoList, kBeatList, kLoopSettings, kSep,
             kAddVolume, kAddTempo, kAddBeat, kSep, kLoopStartHere, kLoopEndHere});
    AddMenu("トラック(&T)", {kTrackAdd, kTrackDuplicate, kSep, kTrackUp, kTrackDown, kSep,
                             kTrackMute, kTrackMuteOthers, kTrackUnmuteAll, kSep, kTrackSound});
    QMenu* note = AddMenu("音符(&N)",
                          {kNoteInsert, kSep, kAdjustPosition, kAdjustLength, kAdjustVolume, kSep});
    QMenu* split = note->addMenu(CFrameActions::CommandIcon("split"), "連符に分割(&U)");
    Fill(split, {kSplit3, kSplit5, kSplit6, kSplit7, kSplit9, kSplit12, kSep, kSplitFree});
    QMenu* fit = note->addMenu(CFrameActions::CommandIcon("fit"), "フィット単位(&F)");
    QMenu* length = note->addMenu(CFrameActions::CommandIcon("note-4"), "既定の音長(&E)");
    for (int i = 0; i < kFitCount; ++i) {
        fit->addAction(m_actions.Action(kFitWhole + i));
        length->addAction(m_actions.Action(kLengthWhole + i));
    }
    note->addSeparator();
    note->addAction(m_actions.Action(kSetDefaultNote));
    AddMenu("再生(&P)", {kPlay, kPlayFromCaret, kStop, kSep, kRewind, kFastForward, kSep,
                         kSetPlayStart, kSep, kPlayDefaultPlayer, kPlaySonalo});
    AddMenu("ツール(&O)",
            {kOptions, kDefaultProject, kEncoderOptions, kAssociate, kSep, kOpenProjectFolder});
    AddMenu("ヘルプ(&H)", {kHelp, kSep, kAbout});

    m_trackPopup = MakePopup({kCut, kCopy, kPaste, kDelete, kSep, kTrackAdd, kTrackDuplicate, kSep,
                              kTrackUp, kTrackDown, kSep, kTrackMute, kTrackMuteOthers,
                              kTrackUnmuteAll, kSep, kTrackSound, kProperties});
    m_pianoRollPopup =
        MakePopup({kCut,           kCopy,           kPaste,        kDelete,       kSep,
                   kSelectAll,     kSelectAfter,    kSelectInvert, kSelectClear,  kSep,
                   kNoteInsert,    kAdjustPosition, kAdjustLength, kAdjustVolume, kSetDefaultNote,
                   kSep,           kSetPlayStart,   kAddVolume,    kAddTempo,     kAddBeat,
                   kLoopStartHere, kLoopEndHere,    kSep,          kProperties});
    m_barsPopup = MakePopup({kViewStandardBar, kViewPlayBar, kViewNoteBar, kViewStatusBar});
    m_recentPopup = new QMenu(m_window);
    m_fullScreenItems = MakeFullScreenItems();
    m_menuBar.setCornerWidget(m_fullScreenItems, Qt::TopRightCorner);
    m_fullScreenItems->hide();
}

QMenu* CFrameMenus::AddMenu(const QString& title, std::initializer_list<int> ids) {
    QMenu* menu = m_menuBar.addMenu(title);
    Fill(menu, ids);
    return menu;
}

QMenu* CFrameMenus::MakePopup(std::initializer_list<int> ids) {
    auto* menu = new QMenu(m_window);
    Fill(menu, ids);
    return menu;
}

void CFrameMenus::Fill(QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == kSep)
            menu->addSeparator();
        else
            menu->addAction(m_actions.Action(id));
    }
}

// The recent files stand in the file menu in place of the "最近使ったファイル" item, which
// shows (disabled) only while the list is empty.
void CFrameMenus::SetRecentFiles(const QStringList& paths) {
    for (QAction* entry : m_recentEntries)
        entry->deleteLater();
    m_recentEntries.clear();
    m_recentPopup->clear();
    QAction* placeholder = m_actions.Action(cmd::kRecentFile);
    placeholder->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        auto* entry = new QAction(RecentText(i, paths[i]), m_fileMenu);
        entry->setStatusTip(
            QStringLiteral("%1 を開きます。").arg(QDir::toNativeSeparators(paths[i])));
        connect(entry, &QAction::triggered, this, [this, i] { emit recentFileChosen(i); });
        m_fileMenu->insertAction(m_recentAnchor, entry);
        m_recentPopup->addAction(entry);
        m_recentEntries.append(entry);
    }
    if (paths.isEmpty())
        m_recentPopup->addAction(placeholder);
}

QWidget* CFrameMenus::MakeFullScreenItems() {
    auto* holder = new QWidget(&m_menuBar);
    holder->setObjectName("fullScreenItems");
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const std::pair<const char*, int> items[] = {
        {"_", cmd::kMinimize}, {"□", cmd::kFullScreen}, {"x", cmd::kAppExit}};
    for (const auto& [text, id] : items) {
        auto* button = new QToolButton(holder);
        button->setText(QString::fromUtf8(text));
        button->setAutoRaise(true);
        button->setToolTip(m_actions.Action(id)->toolTip());
        button->setObjectName(QStringLiteral("fullScreenItem%1").arg(id));
        QAction* action = m_actions.Action(id);
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        layout->addWidget(button);
    }
    return holder;
}

void CFrameMenus::ShowFullScreenItems(bool show) {
    m_fullScreenItems->setVisible(show);
    m_menuBar.adjustSize();
    m_menuBar.update();
}
