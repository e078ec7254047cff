#include "ui/CMainFrame.h"

#include "audio/Sonalo.h"
#include "common/AppTitle.h"
#include "dialogs/CTrackDialog.h"
#include "ui/CAutosave.h"
#include "ui/CBuildController.h"
#include "ui/CDesktopLauncher.h"
#include "ui/CEditController.h"
#include "ui/CFrameActions.h"
#include "ui/CFrameMenus.h"
#include "ui/CManualOpener.h"
#include "ui/CMessagePrompts.h"
#include "ui/CMidiKeyboard.h"
#include "ui/CNoteDefaults.h"
#include "ui/CPlaybackController.h"
#include "ui/CProjectCommands.h"
#include "ui/CRecentFiles.h"
#include "ui/CRecorder.h"
#include "ui/CSoloBuild.h"
#include "ui/CSoloTracks.h"
#include "ui/CTrackCommands.h"
#include "ui/CWindowState.h"
#include "ui/CommandIds.h"
#include "ui/IAppServices.h"
#include "ui/RecoveryOffer.h"
#include "ui/bars/CNoteBar.h"
#include "ui/bars/CPlayBar.h"
#include "ui/bars/CPlaySeekBar.h"
#include "ui/bars/CVolumeBar.h"
#include "ui/commands/FrameCommands.h"
#include "ui/pianoroll/CNoteCommands.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/pianoroll/CStepInput.h"
#include "ui/presets/CPresetBrowser.h"
#include "ui/presets/CPresetCommands.h"
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

namespace {

constexpr const char* kBarStateSection = "Bar State";
constexpr const char* kBarStateKey = "State";
// How long a MIDI port's coming or going stays in the status bar.
constexpr int kMidiMessageMs = 5000;

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
    setAccessibleDescription(
        tr("曲を編集するウィンドウです。左にトラック一覧、右にピアノロールがあります。"));
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    CreateControllers();
    CreateBars();
    CreateStatusBar();
    CreatePanes();
    CreatePresets();
    RegisterCommands();
    CreateMenus();
    ConnectSignals();
    ConnectPanes();
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
    m_solo = new CSoloTracks(m_edit->Project(), this);
    m_build->SetSoloBuild(new CSoloBuild(*m_edit, *m_solo, this));
    m_playback->SetSolo(m_solo);
    m_trackCommands = new CTrackCommands(*m_edit, this, this);
    m_projectCommands = new CProjectCommands(*m_edit, *m_playback, this, this);
    m_autosave = new CAutosave(*m_edit, *m_document, this);
    m_manual = std::make_unique<CManualOpener>(*m_launcher, *m_prompts, *this,
                                               m_app.ApplicationDirectory());
    m_autosave->SetInterval(m_app.Options().autosaveSeconds);
}

// The bars' buttons come with the menus, once every command is registered.
void CMainFrame::CreateBars() {
    m_standardBar = new QToolBar(tr("標準"), this);
    m_standardBar->setObjectName("standardBar");
    m_playBar = new CPlayBar(this);
    m_noteBar = new CNoteBar(*m_noteDefaults, this);
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
    m_keyPane->setMinimumWidth(metrics.horizontalAdvance(tr("キー:Bd4")) + 8);
    m_positionPane->setMinimumWidth(metrics.horizontalAdvance(tr("位置:0000000000")) + 8);
    m_keyPane->setAlignment(Qt::AlignCenter);
    m_positionPane->setAlignment(Qt::AlignCenter);
    m_keyPane->setToolTip(tr("キャレットのキー"));
    m_positionPane->setToolTip(tr("キャレットの位置 (小節:ティック)"));
    statusBar()->addWidget(m_messagePane, 1);
    statusBar()->addPermanentWidget(m_keyPane);
    statusBar()->addPermanentWidget(m_positionPane);
}

void CMainFrame::CreatePanes() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName("paneSplitter");
    m_splitter->setChildrenCollapsible(false);
    m_trackWnd = new CTrackWnd(*m_edit, m_splitter);
    m_trackWnd->SetSoloTracks(m_solo);
    m_pianoRoll = new CPianoRollWnd(*m_edit, *m_noteDefaults, m_app.Options(), m_splitter);
    m_pianoRoll->NoteCommands().SetFindStore(&m_app.Profile());
    m_trackWnd->setMinimumWidth(1);
    m_splitter->addWidget(m_trackWnd);
    m_splitter->addWidget(m_pianoRoll);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
    resize(1024, 720);
    m_midiKeyboard = new CMidiKeyboard(m_pianoRoll->StepInput(), this);
    connect(m_midiKeyboard, &CMidiKeyboard::message, this,
            [this](const QString& text) { statusBar()->showMessage(text, kMidiMessageMs); });
    m_midiKeyboard->Listen(m_app.Options().midiInputPort);
    m_recorder = new CRecorder(*m_edit, *m_noteDefaults,
                               {[this] { return m_playback->IsPlaying(); },
                                [this] { return m_playback->PlayTick(); },
                                [this] { return m_playback->LoopRegion(); }},
                               this);
    m_pianoRoll->StepInput().SetRecorder(m_recorder);
}

// The browser starts hidden; once shown, the window state keeps it with the bars.
void CMainFrame::CreatePresets() {
    m_presetCommands = new CPresetCommands(*m_edit, *m_prompts, this, this);
    m_presetBrowser = new CPresetBrowser(
        *m_presetCommands, *m_edit, [this] { return m_app.Options().playBufferSize; }, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_presetBrowser);
    m_presetBrowser->hide();
    const auto equip = [this](CTrackDialog& dialog) { m_presetCommands->Equip(dialog); };
    m_trackWnd->SetDialogSetup(equip);
    m_trackCommands->SetDialogSetup(equip);
    connect(m_presetBrowser, &QDockWidget::visibilityChanged, this,
            &CMainFrame::ScheduleCommandUpdate);
    // Message boxes and the save dialog must not run inside the gesture that asked for them.
    connect(m_trackWnd, &CTrackWnd::presetDropped, this, [this](const QString& path, int row) {
        QTimer::singleShot(0, this, [this, path, row] { m_presetCommands->ApplyFile(path, row); });
    });
    connect(m_trackWnd, &CTrackWnd::rowDraggedOut, this, [this](int row, const QPoint& at) {
        const QRect browser(m_presetBrowser->mapToGlobal(QPoint(0, 0)), m_presetBrowser->size());
        if (!m_presetBrowser->isVisible() || !browser.contains(at))
            return;
        const QString category = m_presetBrowser->CategoryAt(at);
        QTimer::singleShot(0, this,
                           [this, row, category] { m_presetCommands->SaveTrack(row, category); });
    });
}

void CMainFrame::RegisterCommands() {
    auto caret = [this] { return m_pianoRoll->CaretPosition(); };
    RegisterFileCommands(m_commands, *m_document, *m_build, *this);
    RegisterEditAndViewCommands(m_commands, *m_edit,
                                {*this, *m_standardBar, *m_playBar, *m_noteBar, *statusBar(),
                                 *m_trackWnd, *m_pianoRoll,
                                 [this] { m_windowState->ToggleFullScreen(); }});
    RegisterProjectCommands(m_commands, *m_projectCommands, caret);
    RegisterTrackCommands(m_commands, *m_trackCommands);
    RegisterPresetCommands(m_commands, *m_presetCommands, *m_presetBrowser);
    RegisterNoteValueCommands(m_commands, *m_noteDefaults);
    RegisterPlayCommands(m_commands, *m_playback, *m_build, m_app, caret);
    m_recorder->RegisterCommands(m_commands);
    RegisterToolAndHelpCommands(m_commands, m_app, *m_build, *m_manual, *this, [this] {
        m_trackWnd->Refresh();
        m_pianoRoll->Refresh(false);
        m_autosave->SetInterval(m_app.Options().autosaveSeconds);
        m_midiKeyboard->Listen(m_app.Options().midiInputPort);
    });
    m_registry.AddTarget(m_trackWnd->CommandSet(), [this] { return m_trackWnd->hasFocus(); });
    m_registry.AddTarget(m_pianoRoll->NoteCommands().CommandSet());
    m_registry.AddTarget(m_noteBar->CommandSet());
    m_registry.AddTarget(m_commands);
    m_registry.SetSuspended([this] { return m_build->IsBuilding(); });
}

void CMainFrame::CreateMenus() {
    m_actions = new CFrameActions(this, m_registry.Described());
    m_menus = new CFrameMenus(*m_actions, *menuBar(), this);
    m_menus->FillBar(*m_standardBar, menu::kStandardBar);
    m_menus->FillBar(*m_playBar, menu::kPlayBar);
    m_menus->FillBar(*m_noteBar, menu::kNoteBar);
}

void CMainFrame::ConnectSignals() {
    connect(m_actions, &CFrameActions::triggered, this, [this](int id) { RunCommand(id); });
    connect(m_edit, &CEditController::viewsChanged, this, &CMainFrame::OnViewsChanged);
    connect(m_edit, &CEditController::changeRefused, this,
            [this](const QString& text) { m_prompts->Error(text); });
    connect(m_document, &CDocument::titleChanged, this, &CMainFrame::UpdateTitle);
    connect(m_document, &CDocument::documentReplaced, m_playback,
            &CPlaybackController::ResetPlayStart);
    connect(m_document, &CDocument::saved, m_playback, &CPlaybackController::FollowSongFile);
    connect(&m_document->Recent(), &CRecentFiles::changed, this,
            [this] { m_menus->SetRecentFiles(m_document->Recent().Entries()); });
    connect(m_menus, &CFrameMenus::recentFileChosen, this, [this](int index) {
        m_document->OpenRecent(index);
        ScheduleCommandUpdate();
    });
    connect(m_build, &CBuildController::buildingChanged, this, &CMainFrame::UpdateCommandStates);
    ConnectAutosave();
    ConnectRecorder();
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

// A build or an import may take the program down with it, so the song is written first;
// once it is saved or given up the recovery file has nothing left to keep.
void CMainFrame::ConnectAutosave() {
    connect(m_build, &CBuildController::buildingChanged, m_autosave, [this](bool building) {
        if (building)
            m_autosave->SaveNow();
    });
    connect(m_document, &CDocument::riskyStepStarting, m_autosave, &CAutosave::SaveNow);
    connect(m_document, &CDocument::saved, m_autosave, &CAutosave::Discard);
    connect(m_document, &CDocument::documentReplaced, m_autosave, &CAutosave::Discard);
    connect(m_autosave, &CAutosave::writeFailed, m_messagePane, &QLabel::setText);
}

// The position timer's reading while playing; a stopped player reports the play start.
void CMainFrame::ConnectRecorder() {
    connect(m_playback, &CPlaybackController::playingChanged, m_recorder, [this](bool playing) {
        if (playing)
            m_recorder->Started(m_playback->PlayTick());
    });
    connect(m_playback, &CPlaybackController::seekPositionChanged, m_recorder,
            [this](int32_t tick) {
                if (m_playback->IsPlaying())
                    m_recorder->Follow(tick);
            });
    connect(m_playback, &CPlaybackController::seeking, m_recorder, &CRecorder::Seeking);
    connect(m_playback, &CPlaybackController::stopping, m_recorder, &CRecorder::Stopping);
    connect(m_recorder, &CRecorder::toggled, this, &CMainFrame::ScheduleCommandUpdate);
}

bool CMainFrame::OfferRecovery() {
    return ::OfferRecovery(*m_prompts, *m_document, *m_autosave);
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

bool CMainFrame::IsCommandEnabled(int id) const {
    return m_registry.IsEnabled(id);
}

bool CMainFrame::RunCommand(int id) {
    const bool ran = m_registry.Run(id);
    UpdateCommandStates();
    return ran;
}

void CMainFrame::UpdateCommandStates() {
    m_updateScheduled = false;
    for (int id : m_actions->Ids()) {
        QAction* action = m_actions->Action(id);
        action->setEnabled(m_registry.IsEnabled(id));
        if (!action->isCheckable())
            continue;
        if (const std::optional<bool> checked = m_registry.Checked(id))
            action->setChecked(*checked);
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
    m_autosave->Discard();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (m_trackWnd->TakePresetDrop(event->mimeData(), mapToGlobal(event->position().toPoint()))) {
        event->acceptProposedAction();
        return;
    }
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
        return HandleKeyCommand(*static_cast<QKeyEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::HandleKeyCommand(QKeyEvent& event) {
    const int id = m_registry.KeyCommand(event.keyCombination());
    if (id == 0)
        return false;
    if (event.type() == QEvent::ShortcutOverride) {
        event.accept();
        return true;
    }
    RunCommand(id);
    return true;
}
