#pragma once
// The commands of the editor window: their identifiers, and where each stands in the menu
// bar, the pop-up menus and the tool bars. The numbers are those of the editor's command
// table; panes and the frame exchange commands by them. What a command is called and does
// is registered with its handler (see CCommandSet); the menus and bars are built from the
// lists below by CFrameMenus, so a new command is one registration and one line here.

#include "ui/commands/MenuItem.h"

#include <QtGlobal>

namespace cmd {

enum : int {
    // File
    kFileNew = 57600,
    kFileOpen = 57601,
    kFileSave = 57603,
    kFileSaveAs = 57604,
    kFileImport = 32825,
    kFileExport = 32834,
    kAudioExport = 32900,
    kBuild = 32773,
    kRebuild = 32810,
    kEncode = 32827,
    kRecentFile = 57616,
    kAppExit = 57665,
    // Edit
    kUndo = 57643,
    kRedo = 57644,
    kCut = 57635,
    kCopy = 57634,
    kPaste = 57637,
    kDelete = 32776,
    kFind = 57636,
    kJump = 32839,
    kSelectAll = 57642,
    kSelectAfter = 32840,
    kSelectInvert = 32858,
    kSelectClear = 32785,
    kInsertMeasures = 32814,
    kDeleteMeasures = 32815,
    kProperties = 32778,
    // View
    kViewStandardBar = 59392,
    kViewPlayBar = 142,
    kViewNoteBar = 140,
    kViewStatusBar = 59393,
    kFullScreen = 32836,
    kViewPresetBrowser = 32872,
    kMinimize = 61472,
    // Project
    kProjectSettings = 32782,
    kVolumeList = 32856,
    kTempoList = 32842,
    kBeatList = 32841,
    kLoopSettings = 32850,
    kAddVolume = 32857,
    kAddTempo = 32851,
    kAddBeat = 32852,
    kLoopStartHere = 32853,
    kLoopEndHere = 32854,
    // Track
    kTrackAdd = 32771,
    kTrackDuplicate = 32813,
    kTrackUp = 32808,
    kTrackDown = 32809,
    kTrackMute = 32829,
    kTrackMuteOthers = 32830,
    kTrackUnmuteAll = 32831,
    kTrackSolo = 32912,
    kTrackSound = 32826,
    kTrackPresetLoad = 32870,
    kTrackPresetSave = 32871,
    // Note
    kNoteInsert = 32781,
    kAdjustPosition = 32821,
    kAdjustLength = 32822,
    kAdjustVolume = 32823,
    kSplit3 = 32844,
    kSplit5 = 32845,
    kSplit6 = 32846,
    kSplit7 = 32847,
    kSplit9 = 32848,
    kSplit12 = 32849,
    kSplitFree = 32843,
    kFitWhole = 32787, // ... kFitWhole + 6 = 64th note
    kFitDotted = 32816,
    kFitTriplet = 32817,
    kLengthWhole = 32795, // ... kLengthWhole + 6 = 64th note
    kLengthDotted = 32818,
    kLengthTriplet = 32819,
    kSetDefaultNote = 32820,
    kStepInput = 32880,
    // Play
    kPlay = 32774,
    kPlayFromCaret = 32811,
    kStop = 32775,
    kRewind = 32806,
    kFastForward = 32807,
    kSetPlayStart = 32804,
    kPlayDefaultPlayer = 32833,
    kPlaySonalo = 32855,
    kPlayLoopSelection = 32910,
    kMetronome = 32911,
    kRecord = 32920,
    // Tools
    kOptions = 32779,
    kDefaultProject = 32838,
    kEncoderOptions = 32828,
    kAssociate = 32824,
    kOpenProjectFolder = 32832,
    // Help
    kHelp = 57666,
    kAbout = 57664,
    // Keys without a menu item
    kNextPane = 57680,
    kPrevPane = 57681,
    kFocusFit = 1064,
    kFocusLength = 1062,
    kFocusKeyoff = 1066,
    kFocusVolume = 1004,
};

constexpr int kFitCount = 7;
constexpr int kSplitCommands[] = {kSplit3, kSplit5, kSplit6, kSplit7, kSplit9, kSplit12};
constexpr int kSplitParts[] = {3, 5, 6, 7, 9, 12};

} // namespace cmd

namespace menu {

using namespace cmd;

// clang-format off

// The menu bar.

inline constexpr MENU_ITEM kFileMenu[] = {
    Item(kFileNew), Item(kFileOpen), Item(kFileSave), Item(kFileSaveAs), kSeparator,
    Item(kFileImport), Item(kFileExport), Item(kAudioExport), kSeparator,
    Item(kBuild), Item(kRebuild), Item(kEncode), kSeparator,
    Item(kRecentFile), kRecentFiles,
    Item(kAppExit),
};
inline constexpr MENU_ITEM kEditMenu[] = {
    Item(kUndo), Item(kRedo), kSeparator,
    Item(kCut), Item(kCopy), Item(kPaste), Item(kDelete), kSeparator,
    Item(kFind), Item(kJump), kSeparator,
    Item(kSelectAll), Item(kSelectAfter), Item(kSelectInvert), Item(kSelectClear), kSeparator,
    Item(kInsertMeasures), Item(kDeleteMeasures), kSeparator,
    Item(kProperties),
};
inline constexpr MENU_ITEM kViewMenu[] = {
    Item(kViewStandardBar), Item(kViewPlayBar), Item(kViewNoteBar), Item(kViewStatusBar),
    kSeparator,
    Item(kViewPresetBrowser), kSeparator,
    Item(kFullScreen),
};
inline constexpr MENU_ITEM kProjectMenu[] = {
    Item(kProjectSettings), kSeparator,
    Item(kVolumeList), Item(kTempoList), Item(kBeatList), Item(kLoopSettings), kSeparator,
    Item(kAddVolume), Item(kAddTempo), Item(kAddBeat), kSeparator,
    Item(kLoopStartHere), Item(kLoopEndHere),
};
inline constexpr MENU_ITEM kTrackMenu[] = {
    Item(kTrackAdd), Item(kTrackDuplicate), kSeparator,
    Item(kTrackUp), Item(kTrackDown), kSeparator,
    Item(kTrackMute), Item(kTrackMuteOthers), Item(kTrackUnmuteAll), Item(kTrackSolo), kSeparator,
    Item(kTrackSound), Item(kTrackPresetLoad), Item(kTrackPresetSave),
};
inline constexpr MENU_ITEM kSplitMenu[] = {
    Item(kSplit3), Item(kSplit5), Item(kSplit6), Item(kSplit7), Item(kSplit9), Item(kSplit12),
    kSeparator,
    Item(kSplitFree),
};
inline constexpr MENU_ITEM kFitMenu[] = {
    Item(kFitWhole), Item(kFitWhole + 1), Item(kFitWhole + 2), Item(kFitWhole + 3),
    Item(kFitWhole + 4), Item(kFitWhole + 5), Item(kFitWhole + 6),
};
inline constexpr MENU_ITEM kLengthMenu[] = {
    Item(kLengthWhole), Item(kLengthWhole + 1), Item(kLengthWhole + 2), Item(kLengthWhole + 3),
    Item(kLengthWhole + 4), Item(kLengthWhole + 5), Item(kLengthWhole + 6),
};
inline constexpr MENU_ITEM kNoteMenu[] = {
    Item(kNoteInsert), kSeparator,
    Item(kAdjustPosition), Item(kAdjustLength), Item(kAdjustVolume), kSeparator,
    SubMenu(QT_TRANSLATE_NOOP("Menus", "連符に分割(&U)"), "split", kSplitMenu),
    SubMenu(QT_TRANSLATE_NOOP("Menus", "フィット単位(&F)"), "fit", kFitMenu),
    SubMenu(QT_TRANSLATE_NOOP("Menus", "既定の音長(&E)"), "note-4", kLengthMenu), kSeparator,
    Item(kSetDefaultNote), kSeparator,
    Item(kStepInput),
};
inline constexpr MENU_ITEM kPlayMenu[] = {
    Item(kPlay), Item(kPlayFromCaret), Item(kStop), kSeparator,
    Item(kRewind), Item(kFastForward), kSeparator,
    Item(kPlayLoopSelection), Item(kMetronome), Item(kRecord), kSeparator,
    Item(kSetPlayStart), kSeparator,
    Item(kPlayDefaultPlayer), Item(kPlaySonalo),
};
inline constexpr MENU_ITEM kToolMenu[] = {
    Item(kOptions), Item(kDefaultProject), Item(kEncoderOptions), Item(kAssociate), kSeparator,
    Item(kOpenProjectFolder),
};
inline constexpr MENU_ITEM kHelpMenu[] = {
    Item(kHelp), kSeparator,
    Item(kAbout),
};
inline constexpr MENU kMenuBar[] = {
    {QT_TRANSLATE_NOOP("Menus", "ファイル(&F)"), kFileMenu},
    {QT_TRANSLATE_NOOP("Menus", "編集(&E)"), kEditMenu},
    {QT_TRANSLATE_NOOP("Menus", "表示(&V)"), kViewMenu},
    {QT_TRANSLATE_NOOP("Menus", "プロジェクト(&J)"), kProjectMenu},
    {QT_TRANSLATE_NOOP("Menus", "トラック(&T)"), kTrackMenu},
    {QT_TRANSLATE_NOOP("Menus", "音符(&N)"), kNoteMenu},
    {QT_TRANSLATE_NOOP("Menus", "再生(&P)"), kPlayMenu},
    {QT_TRANSLATE_NOOP("Menus", "ツール(&O)"), kToolMenu},
    {QT_TRANSLATE_NOOP("Menus", "ヘルプ(&H)"), kHelpMenu},
};

// In full-screen mode, at the right end of the menu bar.
inline constexpr MENU_ITEM kFullScreenItems[] = {
    Labelled(kMinimize, "_"), Labelled(kFullScreen, "□"), Labelled(kAppExit, "x"),
};

// The pop-up menus: the track list's, the piano roll's and the bars' (a right click on any
// bar).

inline constexpr MENU_ITEM kTrackPopup[] = {
    Item(kCut), Item(kCopy), Item(kPaste), Item(kDelete), kSeparator,
    Item(kTrackAdd), Item(kTrackDuplicate), kSeparator,
    Item(kTrackUp), Item(kTrackDown), kSeparator,
    Item(kTrackMute), Item(kTrackMuteOthers), Item(kTrackUnmuteAll), kSeparator,
    Item(kTrackSound), Item(kProperties),
};
inline constexpr MENU_ITEM kPianoRollPopup[] = {
    Item(kCut), Item(kCopy), Item(kPaste), Item(kDelete), kSeparator,
    Item(kSelectAll), Item(kSelectAfter), Item(kSelectInvert), Item(kSelectClear), kSeparator,
    Item(kNoteInsert), Item(kAdjustPosition), Item(kAdjustLength), Item(kAdjustVolume),
    Item(kSetDefaultNote), kSeparator,
    Item(kSetPlayStart), Item(kAddVolume), Item(kAddTempo), Item(kAddBeat),
    Item(kLoopStartHere), Item(kLoopEndHere), kSeparator,
    Item(kProperties),
};
inline constexpr MENU_ITEM kBarsPopup[] = {
    Item(kViewStandardBar), Item(kViewPlayBar), Item(kViewNoteBar), Item(kViewStatusBar),
};

// The tool bars' buttons; the play bar and the note bar put their own controls after them.

inline constexpr MENU_ITEM kStandardBar[] = {
    Item(kFileNew), WithRecentMenu(kFileOpen), Item(kFileSave), kSeparator,
    Item(kBuild), kSeparator,
    Item(kUndo), Item(kRedo), kSeparator,
    Item(kCut), Item(kCopy), Item(kPaste), Item(kDelete), kSeparator,
    Item(kProperties), kSeparator,
    Item(kProjectSettings), kSeparator,
    Item(kOptions),
};
inline constexpr MENU_ITEM kPlayBar[] = {
    Item(kPlay), Item(kPlayFromCaret), Item(kStop), Held(kRewind), Held(kFastForward),
    Item(kPlayLoopSelection), Item(kMetronome), Item(kRecord),
};
inline constexpr MENU_ITEM kNoteBar[] = {
    Item(kFitWhole), Item(kFitWhole + 1), Item(kFitWhole + 2), Item(kFitWhole + 3),
    Item(kFitWhole + 4), Item(kFitWhole + 5), Item(kFitWhole + 6),
    Item(kFitDotted), Item(kFitTriplet), kSeparator,
    Item(kLengthWhole), Item(kLengthWhole + 1), Item(kLengthWhole + 2), Item(kLengthWhole + 3),
    Item(kLengthWhole + 4), Item(kLengthWhole + 5), Item(kLengthWhole + 6),
    Item(kLengthDotted), Item(kLengthTriplet), kSeparator,
    Item(kStepInput),
};

// clang-format on

} // namespace menu
