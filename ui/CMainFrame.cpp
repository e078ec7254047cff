#include "ui/CMainFrame.h"

#include "audio/Sonalo.h"
#include "common/AppTitle.h"
#include "ui/CBuildController.h"
#include "ui/CDesktopLauncher.h"
#include "ui/CEditController.h"
#include "ui/CFrameActions.h"
#include "ui/CFrameMenus.h"
#include "ui/CMessagePrompts.h"
#include "ui/CNoteDefaults.h"
#include "ui/CPlaybackController.h"
#include "ui/CProjectCommands.h"
#include "ui/CRecentFiles.h"
#include "ui/CTrackCommands.h"
#include "ui/CWindowState.h"
#include "ui/CommandIds.h"
#include "ui/IAppServices.h"
#include "ui/bars/CNoteBar.h"
#include "ui/bars/CPlayBar.h"
#include "ui/bars/CPlaySeekBar.h"
#include "ui/bars/CVolumeBar.h"
#include "ui/pianoroll/CNoteCommands.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr const char* kBarStateSection = "Bar State";
constexpr const char* kBarStateKey = "State";
constexpr const char* kHelpText =
    "Tesselaphon Editor の基本操作\n\n"
    "・左のトラック一覧で編集するトラックを選び、右のピアノロールで音符を編集します。\n"
    "・ビルド (F7) で Wave サウンドファイルを作成し、再生 (F5) で再生します。\n"
    "・既定の音符の音長、キーオフ、音量とフィット単位は音符バーで設定します。\n"
    "・Tab キーでトラック一覧とピアノロールを切り替えます。\n"
    "・F11 キーで全画面表示になります。";

// The note bar's boxes are reached by Alt+F, Alt+L, Alt+K and Alt+V, which outrank the
// menus' mnemonics the way accelerators do.
int FieldCommandOf(const QKeyEvent& key) {
    if (key.modifiers() != Qt::AltModifier)
        return 0;
    switch (key.key()) {
    case Qt::Key_F:
        return cmd::kFocusFit;
    case Qt::Key_L:
        return cmd::kFocusLength;
    case Qt::Key_K:
        return cmd::kFocusKeyoff;
    case Qt::Key_V:
        return cmd::kFocusVolume;
    default:
        return 0;
    }
}

} // namespace

CMainFrame::CMainFrame(IAppServices& app, IUserPrompts* prompts, IDesktopLauncher* launcher)
    : m_app(app) {
    if (prompts == nullptr) {
        m_ownPrompts = std::make_unique<CMessagePrompts>(this);
        prompts = m_ownPrompts.get();
    }
    if (launcher == nullptr) {
        m_ownLauncher = std::make_unique<CDesktopLauncher>();
        launcher = m_ownLauncher.get();
    }
    m_prompts = prompts;
    m_launcher = launcher;
    setObjectName("mainFrame");
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    m_actions = new CFrameActions(this);
    m_menus = new CFrameMenus(*m_actions, *menuBar(), this);
    CreateControllers();
    CreateBars();
    CreateStatusBar();
    CreatePanes();
    ConnectSignals();
    ConnectPanes();
    BindFileCommands();
    BindEditAndViewCommands();
    BindProjectAndTrackCommands();
    BindNoteCommands();
    BindPlayCommands();
    BindToolCommands();
    m_document->New();
    RestoreLayout();
    m_menus->SetRecentFiles(m_document->Recent().Entries());
    qApp->installEventFilter(this);
    UpdateCommandStates();
}

// The children outlive this part of the object: a signal they (or the application) send
// while the base class tears them down must not reach the frame's own slots any more. A
// build still running (the program ends without the window being closed) stops while the
// song and the document it reports to are still there.
CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    m_build->AbortAndWait();
}

void CMainFrame::CreateControllers() {
    m_edit = new CEditController(this);
    m_noteDefaults = new CNoteDefaults(this);
    m_playback = new CPlaybackController(m_app.Player(), *m_edit, m_app.Options(), this);
    m_document = new CDocument(*m_edit, *m_prompts, m_app, *this, this);
    m_build = new CBuildController(*m_edit, *m_document, *m_playback, *m_prompts, *m_launcher,
                                   m_app, this, this);
    m_playback->SetWavSource(m_build);
    m_trackCommands = new CTrackCommands(*m_edit, this, this);
    m_projectCommands = new CProjectCommands(*m_edit, *m_playback, this, this);
}

void CMainFrame::CreateBars() {
    auto action = [this](int id) { return m_actions->Action(id); };
    m_standardBar = new QToolBar(QStringLiteral("標準"), this);
    m_standardBar->setObjectName("standardBar");
    using namespace cmd;
    const int groups[][4] = {{kFileNew, kFileOpen, kFileSave, 0},
                             {kBuild, 0, 0, 0},
                             {kUndo, kRedo, 0, 0},
                             {kCut, kCopy, kPaste, kDelete},
                             {kProperties, 0, 0, 0},
                             {kProjectSettings, 0, 0, 0},
                             {kOptions, 0, 0, 0}};
    for (const auto& group : groups) {
        if (!m_standardBar->actions().isEmpty())
            m_standardBar->addSeparator();
        for (int id : group)
            if (id != 0)
                m_standardBar->addAction(action(id));
    }
    if (auto* open =
            qobject_cast<QToolButton*>(m_standardBar->widgetForAction(action(kFileOpen)))) {
        open->setMenu(m_menus->RecentPopup());
        open->setPopupMode(QToolButton::MenuButtonPopup);
    }
    m_playBar = new CPlayBar(action, this);
    m_noteBar = new CNoteBar(*m_noteDefaults, action, this);
    addToolBar(Qt::TopToolBarArea, m_standardBar);
    addToolBar(Qt::TopToolBarArea, m_playBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_noteBar);
    m_playBar->SeekBar()->SetBeats(&m_edit->Project().data.beats);
}

void CMainFrame::CreateStatusBar() {
    m_messagePane = new QLabel(this);
    m_keyPane = new QLabel(this);
    m_positionPane = new QLabel(this);
    const QFontMetrics metrics(statusBar()->font());
    m_keyPane->setMinimumWidth(metrics.horizontalAdvance("キー:Bd4") + 8);
    m_positionPane->setMinimumWidth(metrics.horizontalAdvance("位置:0000000000") + 8);
    m_keyPane->setAlignment(Qt::AlignCenter);
    m_positionPane->setAlignment(Qt::AlignCenter);
    m_keyPane->setToolTip(QStringLiteral("キャレットのキー"));
    m_positionPane->setToolTip(QStringLiteral("キャレットの位置 (小節:ティック)"));
    statusBar()->addWidget(m_messagePane, 1);
    statusBar()->addPermanentWidget(m_keyPane);
    statusBar()->addPermanentWidget(m_positionPane);
}

void CMainFrame::CreatePanes() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName("paneSplitter");
    m_splitter->setChildrenCollapsible(false);
    m_trackWnd = new CTrackWnd(*m_edit, m_splitter);
    m_pianoRoll = new CPianoRollWnd(*m_edit, *m_noteDefaults, m_app.Options(), m_splitter);
    m_pianoRoll->NoteCommands().SetFindStore(&m_app.Profile());
    m_trackWnd->setMinimumWidth(1);
    m_splitter->addWidget(m_trackWnd);
    m_splitter->addWidget(m_pianoRoll);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
    resize(1024, 720);
}

void CMainFrame::ConnectSignals() {
    connect(m_actions, &CFrameActions::triggered, this, [this](int id) { RunCommand(id); });
    connect(m_edit, &CEditController::viewsChanged, this, &CMainFrame::OnViewsChanged);
    connect(m_edit, &CEditController::changeRefused, this,
            [this](const QString& text) { m_prompts->Error(text); });
    connect(m_document, &CDocument::titleChanged, this, &CMainFrame::UpdateTitle);
    connect(m_document, &CDocument::documentReplaced, m_playback,
            &CPlaybackController::ResetPlayStart);
    connect(&m_document->Recent(), &CRecentFiles::changed, this,
            [this] { m_menus->SetRecentFiles(m_document->Recent().Entries()); });
    connect(m_menus, &CFrameMenus::recentFileChosen, this, [this](int index) {
        m_document->OpenRecent(index);
        ScheduleCommandUpdate();
    });
    connect(m_build, &CBuildController::buildingChanged, this, &CMainFrame::UpdateCommandStates);
    connect(m_noteDefaults, &CNoteDefaults::changed, this, &CMainFrame::ScheduleCommandUpdate);
    connect(m_playback, &CPlaybackController::playingChanged, this, [this](bool playing) {
        m_playBar->SeekBar()->SetPlaying(playing);
        UpdateCommandStates();
    });
    connect(m_playback, &CPlaybackController::seekPositionChanged, this, [this](int32_t tick) {
        if (!m_playBar->SeekBar()->isSliderDown())
            m_playBar->SeekBar()->setValue(tick);
    });
    connect(m_playback, &CPlaybackController::focusPianoRoll, m_pianoRoll,
            [this] { m_pianoRoll->setFocus(Qt::OtherFocusReason); });
    connect(m_playBar->SeekBar(), &CSeekBar::scrolled, this,
            [this](int value, CSeekBar::ScrollCode code) {
                if (code != CSeekBar::ScrollCode::EndTrack)
                    m_playback->SeekTo(value);
            });
    connect(m_playBar->VolumeBar(), &CSeekBar::scrolled, this,
            [this](int value, CSeekBar::ScrollCode) { m_app.Player().SetVolume(value / 100.0); });
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::ScheduleCommandUpdate);
}

void CMainFrame::ConnectPanes() {
    connect(m_playback, &CPlaybackController::playLineMoved, m_pianoRoll,
            &CPianoRollWnd::SetPlayLine);
    connect(m_noteBar, &CNoteBar::focusPianoRoll, m_pianoRoll,
            [this] { m_pianoRoll->setFocus(Qt::OtherFocusReason); });
    connect(m_trackWnd, &CTrackWnd::currentTrackChanged, this, [this] {
        m_pianoRoll->Refresh(false);
        ScheduleCommandUpdate();
    });
    connect(m_trackWnd, &CTrackWnd::commandRequested, this, [this](int id) { RunCommand(id); });
    connect(m_pianoRoll, &CPianoRollWnd::commandRequested, this,
            [this](int id) { RunCommand(id); });
    connect(m_trackWnd, &CTrackWnd::commandStateChanged, this, &CMainFrame::ScheduleCommandUpdate);
    connect(m_pianoRoll, &CPianoRollWnd::commandStateChanged, this,
            &CMainFrame::ScheduleCommandUpdate);
    connect(m_trackWnd, &CTrackWnd::contextMenuRequested, this,
            [this](const QPoint& pos) { m_menus->TrackPopup()->popup(pos); });
    connect(m_pianoRoll, &CPianoRollWnd::contextMenuRequested, this,
            [this](const QPoint& pos) { m_menus->PianoRollPopup()->popup(pos); });
    connect(m_pianoRoll, &CPianoRollWnd::playStartDragged, this,
            [this](int32_t tick) { m_playback->SetPlayStart(tick, false); });
    connect(m_pianoRoll, &CPianoRollWnd::statusChanged, this,
            [this](const QString& message, const QString& key, const QString& position) {
                m_messagePane->setText(message);
                m_keyPane->setText(key);
                m_positionPane->setText(position);
            });
}

void CMainFrame::Bind(int id, std::function<void()> run, std::function<bool()> enabled,
                      std::function<bool()> checked) {
    m_bindings.insert(id, Binding{std::move(run), std::move(enabled), std::move(checked)});
}

void CMainFrame::BindFileCommands() {
    using namespace cmd;
    Bind(kFileNew, [this] { m_document->New(); });
    Bind(kFileOpen, [this] { m_document->OpenWithDialog(); });
    Bind(kFileSave, [this] { m_document->Save(); });
    Bind(kFileSaveAs, [this] { m_document->SaveAs(); });
    Bind(kFileImport, [this] { m_document->Import(); });
    Bind(kFileExport, [this] { m_document->Export(); });
    Bind(kBuild, [this] { m_build->Build(false); });
    Bind(kRebuild, [this] { m_build->Build(true); });
    Bind(kEncode, [this] { m_build->Encode(); });
    Bind(
        kRecentFile, [] {}, [] { return false; });
    Bind(kAppExit, [this] { close(); });
}

void CMainFrame::BindEditAndViewCommands() {
    using namespace cmd;
    Bind(
        kUndo, [this] { m_edit->Undo(); }, [this] { return m_edit->CanUndo(); });
    Bind(
        kRedo, [this] { m_edit->Redo(); }, [this] { return m_edit->CanRedo(); });
    auto toggle = [this](int id, QWidget* bar) {
        Bind(
            id, [bar] { bar->setVisible(!bar->isVisible()); }, [] { return true; },
            [bar] { return bar->isVisible(); });
    };
    toggle(kViewStandardBar, m_standardBar);
    toggle(kViewPlayBar, m_playBar);
    toggle(kViewNoteBar, m_noteBar);
    toggle(kViewStatusBar, statusBar());
    Bind(kFullScreen, [this] { m_windowState->ToggleFullScreen(); });
    Bind(kMinimize, [this] { showMinimized(); });
    Bind(kNextPane, [this] { ActivateOtherPane(); });
    Bind(kPrevPane, [this] { ActivateOtherPane(); });
}

void CMainFrame::BindProjectAndTrackCommands() {
    using namespace cmd;
    CProjectCommands& project = *m_projectCommands;
    auto caret = [this] { return m_pianoRoll->CaretPosition(); };
    Bind(kProjectSettings, [&project] { project.EditProjectSettings(); });
    Bind(kVolumeList, [&project] { project.EditVolumeList(); });
    Bind(kTempoList, [&project] { project.EditTempoList(); });
    Bind(kBeatList, [&project] { project.EditBeatList(); });
    Bind(kLoopSettings, [&project] { project.EditLoop(); });
    Bind(kAddVolume, [&project, caret] { project.AddVolumeAt(caret()); });
    Bind(kAddTempo, [&project, caret] { project.AddTempoAt(caret()); });
    Bind(kAddBeat, [&project, caret] { project.AddBeatAt(caret()); });
    Bind(kLoopStartHere, [&project, caret] { project.SetLoopStart(caret()); });
    Bind(kLoopEndHere, [&project, caret] { project.SetLoopEnd(caret()); });

    CTrackCommands& tracks = *m_trackCommands;
    Bind(kTrackAdd, [&tracks] { tracks.Add(); });
    Bind(
        kTrackDuplicate, [&tracks] { tracks.Duplicate(); },
        [&tracks] { return tracks.HasCurrentTrack(); });
    Bind(
        kTrackUp, [&tracks] { tracks.MoveUp(); }, [&tracks] { return tracks.CanMoveUp(); });
    Bind(
        kTrackDown, [&tracks] { tracks.MoveDown(); }, [&tracks] { return tracks.CanMoveDown(); });
    Bind(
        kTrackMute, [&tracks] { tracks.ToggleMute(); },
        [&tracks] { return tracks.HasCurrentTrack(); },
        [&tracks] { return tracks.IsCurrentMuted(); });
    Bind(
        kTrackMuteOthers, [&tracks] { tracks.MuteOthers(); },
        [&tracks] { return tracks.CanMuteOthers(); });
    Bind(kTrackUnmuteAll, [&tracks] { tracks.UnmuteAll(); });
    Bind(
        kTrackSound, [&tracks] { tracks.EditSound(); },
        [&tracks] { return tracks.CanEditSound(); });
}

void CMainFrame::BindNoteCommands() {
    using namespace cmd;
    CNoteDefaults& notes = *m_noteDefaults;
    for (int i = 0; i < kFitCount; ++i) {
        const int32_t unit = CNoteDefaults::UnitOf(i);
        Bind(
            kFitWhole + i, [&notes, unit] { notes.SetFit(unit); }, [] { return true; },
            [&notes, unit] { return notes.Fit() == unit; });
        Bind(
            kLengthWhole + i, [&notes, unit] { notes.SetLength(unit); }, [] { return true; },
            [&notes, unit] { return notes.Length() == unit; });
    }
    Bind(kFitDotted, [&notes] { notes.SetFit(CNoteDefaults::Dotted(notes.Fit())); });
    Bind(kFitTriplet, [&notes] { notes.SetFit(CNoteDefaults::Triplet(notes.Fit())); });
    Bind(kLengthDotted, [&notes] { notes.SetLength(CNoteDefaults::Dotted(notes.Length())); });
    Bind(kLengthTriplet, [&notes] { notes.SetLength(CNoteDefaults::Triplet(notes.Length())); });
}

void CMainFrame::BindPlayCommands() {
    using namespace cmd;
    CPlaybackController& playback = *m_playback;
    auto stopped = [&playback] { return !playback.IsPlaying(); };
    auto playing = [&playback] { return playback.IsPlaying(); };
    Bind(
        kPlay, [&playback] { playback.Play(); }, stopped);
    Bind(
        kPlayFromCaret, [this] { m_playback->PlayFrom(m_pianoRoll->CaretPosition()); }, stopped);
    Bind(
        kStop, [&playback] { playback.Stop(); }, playing);
    Bind(
        kRewind, [&playback] { playback.Rewind(); }, playing);
    Bind(
        kFastForward, [&playback] { playback.FastForward(); }, playing);
    Bind(kSetPlayStart, [this] {
        m_playback->SetPlayStart(m_pianoRoll->CaretPosition(), m_app.Options().playScroll != 0);
    });
    Bind(kPlayDefaultPlayer, [this] { m_build->PlayWithDefaultPlayer(); });
    Bind(kPlaySonalo, [this] { m_build->PlayWithSonalo(); });
}

void CMainFrame::BindToolCommands() {
    using namespace cmd;
    Bind(kOptions, [this] {
        if (!m_app.EditOptions(this))
            return;
        m_trackWnd->Refresh();
        m_pianoRoll->Refresh(false);
    });
    Bind(kDefaultProject, [this] { m_app.EditDefaultProject(this); });
    Bind(
        kEncoderOptions, [this] { m_app.EditEncoderOptions(this); },
        [this] { return m_app.CanEditEncoderOptions(); });
    Bind(
        kAssociate, [this] { m_app.RegisterFileType(this); },
        [this] { return m_app.CanRegisterFileType(); });
    Bind(
        kOpenProjectFolder, [this] { m_build->OpenProjectFolder(); },
        [this] { return m_build->CanOpenProjectFolder(); });
    Bind(kHelp, [this] { ShowHelp(); });
    Bind(kAbout, [this] { m_app.ShowAbout(this); });
}

QList<ICommandTarget*> CMainFrame::Targets() const {
    QList<ICommandTarget*> targets;
    if (m_trackWnd->hasFocus())
        targets.append(m_trackWnd);
    targets.append(m_pianoRoll);
    targets.append(m_noteBar);
    return targets;
}

bool CMainFrame::IsCommandEnabled(int id) const {
    if (m_build->IsBuilding())
        return false;
    for (ICommandTarget* target : Targets())
        if (const std::optional<bool> enabled = target->CommandEnabled(id))
            return *enabled;
    const auto it = m_bindings.constFind(id);
    if (it == m_bindings.constEnd())
        return false;
    return !it->enabled || it->enabled();
}

bool CMainFrame::RunCommand(int id) {
    if (!IsCommandEnabled(id)) {
        UpdateCommandStates();
        return false;
    }
    bool handled = false;
    for (ICommandTarget* target : Targets()) {
        if (target->CommandEnabled(id).has_value()) {
            handled = target->RunCommand(id);
            break;
        }
    }
    if (!handled) {
        const auto it = m_bindings.constFind(id);
        if (it != m_bindings.constEnd())
            it->run();
    }
    UpdateCommandStates();
    return true;
}

void CMainFrame::UpdateCommandStates() {
    m_updateScheduled = false;
    for (int id : m_actions->Ids()) {
        QAction* action = m_actions->Action(id);
        action->setEnabled(IsCommandEnabled(id));
        const auto it = m_bindings.constFind(id);
        if (action->isCheckable() && it != m_bindings.constEnd() && it->checked)
            action->setChecked(it->checked());
    }
}

void CMainFrame::ScheduleCommandUpdate() {
    if (m_updateScheduled)
        return;
    m_updateScheduled = true;
    QTimer::singleShot(0, this, &CMainFrame::UpdateCommandStates);
}

QAction* CMainFrame::Action(int id) const {
    return m_actions->Action(id);
}

void CMainFrame::OnViewsChanged(int views) {
    if (views & CEditController::kViewTrackList)
        m_trackWnd->Refresh();
    if (views & (CEditController::kViewPianoRoll | CEditController::kViewResetRoll))
        m_pianoRoll->Refresh(views & CEditController::kViewResetRoll);
    if (views & CEditController::kViewPlayLine)
        m_pianoRoll->SetPlayLine(m_playback->PlayStart(), false);
    UpdateSeekRange();
    UpdateTitle();
    ScheduleCommandUpdate();
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(m_document->Title());
}

void CMainFrame::UpdateSeekRange() {
    m_playBar->SeekBar()->setRange(0, m_edit->Project().GetEndTick());
    m_playBar->SeekBar()->SetBeats(&m_edit->Project().data.beats);
}

void CMainFrame::ShowHelp() {
    m_prompts->Message(QString::fromUtf8(kHelpText), QStringLiteral("ヘルプ"),
                       IUserPrompts::Icon::Information, IUserPrompts::Buttons::Ok);
}

void CMainFrame::ActivateOtherPane() {
    if (m_trackWnd->hasFocus())
        m_pianoRoll->setFocus(Qt::TabFocusReason);
    else
        m_trackWnd->setFocus(Qt::TabFocusReason);
}

void CMainFrame::StopPlayback() {
    m_playback->Stop();
}

void CMainFrame::DeleteTemporaryBuildFiles() {
    m_build->DeleteTemporaryBuildFiles();
}

bool CMainFrame::OpenFile(const QString& path) {
    const bool opened = m_document->OpenFile(path);
    UpdateCommandStates();
    return opened;
}

void CMainFrame::ShowWindow(bool restore) {
    if (restore)
        m_windowState->Restore(m_app.Profile());
    else
        show();
    m_pianoRoll->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::RestoreLayout() {
    QSettings& settings = m_app.Profile();
    settings.beginGroup(kBarStateSection);
    const QByteArray state = settings.value(kBarStateKey).toByteArray();
    settings.endGroup();
    if (!state.isEmpty())
        restoreState(state);
    m_noteDefaults->Load(settings);
    Sonalo& player = m_app.Player();
    const double volume =
        player.IsOpen() ? (player.GetDeviceVolume() & 0xFFFF) / 65535.0 : player.GetVolume();
    m_playBar->VolumeBar()->setValue(static_cast<int>(volume * 100 + 0.5));
    m_windowState = new CWindowState(*this, *m_splitter,
                                     {[this] { return m_pianoRoll->VerticalScroll(); },
                                      [this](int row) { m_pianoRoll->SetVerticalScroll(row); }},
                                     kTrackPaneWidth);
    connect(m_windowState, &CWindowState::fullScreenChanged, m_menus,
            &CFrameMenus::ShowFullScreenItems);
}

void CMainFrame::SaveLayout() {
    QSettings& settings = m_app.Profile();
    settings.beginGroup(kBarStateSection);
    settings.setValue(kBarStateKey, saveState());
    settings.endGroup();
    m_windowState->Save(settings);
    m_noteDefaults->Save(settings);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_build->IsBuilding() || !m_document->Close()) {
        event->ignore();
        return;
    }
    m_playback->Stop();
    SaveLayout();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The save question must not run inside the drag-and-drop loop of the source.
    QTimer::singleShot(0, this, [this, paths] {
        m_document->OpenDropped(paths);
        UpdateCommandStates();
    });
}

QMenu* CMainFrame::createPopupMenu() {
    auto* menu = new QMenu(this);
    menu->addActions(m_menus->BarsPopup()->actions());
    return menu;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this)
        return HandleFieldAccelerator(event);
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::HandleFieldAccelerator(QEvent* event) {
    const int id = FieldCommandOf(*static_cast<QKeyEvent*>(event));
    if (id == 0)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    RunCommand(id);
    return true;
}
