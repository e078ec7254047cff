#pragma once
// Command identifiers of the editor window. The numbers are those of the editor's command
// table; panes and the frame exchange commands by these numbers.

namespace cmd {

enum : int {
    // File
    kFileNew = 57600,
    kFileOpen = 57601,
    kFileSave = 57603,
    kFileSaveAs = 57604,
    kFileImport = 32825,
    kFileExport = 32834,
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
    kTrackSound = 32826,
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
    // Play
    kPlay = 32774,
    kPlayFromCaret = 32811,
    kStop = 32775,
    kRewind = 32806,
    kFastForward = 32807,
    kSetPlayStart = 32804,
    kPlayDefaultPlayer = 32833,
    kPlaySonalo = 32855,
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
