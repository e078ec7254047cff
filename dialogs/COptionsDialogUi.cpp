// The pages of the options dialog.
#include "dialogs/CNumberEdit.h"
#include "dialogs/COptionsDialog.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include <limits>

namespace {

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text) {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QLatin1String(name));
    return check;
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    return list;
}

// A list of numbers into which any whole number may also be typed.
QComboBox* MakeNumberList(QWidget* parent, const char* name, std::initializer_list<int> values) {
    QStringList items;
    for (int v : values)
        items << QString::number(v);
    QComboBox* list = MakeList(parent, name, items);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    // Completing "5" to "512" would turn a typed number into another one.
    list->setCompleter(nullptr);
    list->setMaxVisibleItems(int(values.size()));
    list->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,6}")), list->lineEdit()));
    return list;
}

CColorButton* MakeColor(QWidget* parent, const char* name) {
    auto* button = new CColorButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

// Check boxes stacked under a form, then a stretch so the page keeps its rows at the top.
QVBoxLayout* PageLayout(QWidget* page, QLayout* top, std::initializer_list<QWidget*> checks) {
    auto* layout = new QVBoxLayout(page);
    if (top != nullptr)
        layout->addLayout(top);
    for (QWidget* w : checks)
        layout->addWidget(w);
    layout->addStretch(1);
    return layout;
}

} // namespace

QWidget* COptionsDialog::Ui::ViewPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    pianoRollZoomX =
        MakeNumberList(page, "pianoRollZoomX", {64, 128, 192, 256, 384, 512, 768, 1024});
    pianoRollZoomY =
        MakeNumberList(page, "pianoRollZoomY",
                       {4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32});
    scrollMeasure = MakeList(page, "scrollMeasure",
                             {QCoreApplication::translate("COptionsDialog", "拍子単位"),
                              QCoreApplication::translate("COptionsDialog", "小節単位")});
    viewGradation = MakeCheck(
        page, "viewGradation",
        QCoreApplication::translate("COptionsDialogUi", "音符をグラデーションで表示する(&G)"));
    viewPortamento =
        MakeCheck(page, "viewPortamento",
                  QCoreApplication::translate("COptionsDialogUi", "ポルタメントを表現する(&O)"));
    viewPosCaret =
        MakeCheck(page, "viewPosCaret",
                  QCoreApplication::translate("COptionsDialogUi", "位置キャレットを表示する(&P)"));
    viewNoteCaret =
        MakeCheck(page, "viewNoteCaret",
                  QCoreApplication::translate("COptionsDialogUi", "音符キャレットを表示する(&T)"));
    auto* form = new QFormLayout;
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate(
                           "COptionsDialogUi", "横方向のサイズ（全音符当たりのピクセル数）(&H):"),
                       pianoRollZoomX, page),
        pianoRollZoomX);
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("COptionsDialogUi",
                                                   "縦方向のサイズ（キー当たりのピクセル数）(&V):"),
                       pianoRollZoomY, page),
        pianoRollZoomY);
    form->addRow(dlg::MakeLabel(QCoreApplication::translate("COptionsDialogUi", "スクロール(&R):"),
                                scrollMeasure, page),
                 scrollMeasure);
    PageLayout(page, form, {viewGradation, viewPortamento, viewPosCaret, viewNoteCaret});
    return page;
}

QWidget* COptionsDialog::Ui::ColorPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    crNote = MakeColor(page, "crNote");
    crSelectedNote = MakeColor(page, "crSelectedNote");
    viewInactiveNote =
        MakeCheck(page, "viewInactiveNote",
                  QCoreApplication::translate("COptionsDialogUi",
                                              "非アクティブトラックの音符を表示する(&I)"));
    viewInactiveNoteColor = MakeCheck(
        page, "viewInactiveNoteColor",
        QCoreApplication::translate("COptionsDialogUi", "非アクティブトラックの音符の色(&N):"));
    crInactiveNote = MakeColor(page, "crInactiveNote");
    viewInactiveMuteNoteColor = MakeCheck(
        page, "viewInactiveMuteNoteColor",
        QCoreApplication::translate("COptionsDialogUi", "ミュートトラックの音符の色(&M):"));
    crInactiveMuteNote = MakeColor(page, "crInactiveMuteNote");

    auto* grid = new QGridLayout;
    grid->addWidget(dlg::MakeLabel(QCoreApplication::translate("COptionsDialogUi", "音符の色(&C):"),
                                   crNote, page),
                    0, 0, 1, 2);
    grid->addWidget(crNote, 0, 2);
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("COptionsDialogUi", "選択された音符の色(&S):"),
                       crSelectedNote, page),
        1, 0, 1, 2);
    grid->addWidget(crSelectedNote, 1, 2);
    grid->addWidget(viewInactiveNote, 2, 0, 1, 3);
    grid->addItem(new QSpacerItem(20, 0, QSizePolicy::Fixed), 3, 0);
    grid->addWidget(viewInactiveNoteColor, 3, 1);
    grid->addWidget(crInactiveNote, 3, 2);
    grid->addWidget(viewInactiveMuteNoteColor, 4, 1);
    grid->addWidget(crInactiveMuteNote, 4, 2);
    // These two colours are captioned by the check boxes beside them.
    crInactiveNote->setAccessibleName(dlg::PlainCaption(viewInactiveNoteColor->text()));
    crInactiveMuteNote->setAccessibleName(dlg::PlainCaption(viewInactiveMuteNoteColor->text()));
    grid->setColumnStretch(3, 1);
    PageLayout(page, grid, {});
    return page;
}

QWidget* COptionsDialog::Ui::EditPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    noteSingleClickAdd = MakeCheck(
        page, "noteSingleClickAdd",
        QCoreApplication::translate("COptionsDialogUi", "シングルクリックで入力する(&S)"));
    noteAdd = MakeList(page, "noteAdd",
                       {QCoreApplication::translate("COptionsDialog", "何もしない"),
                        QCoreApplication::translate("COptionsDialog", "位置を変更"),
                        QCoreApplication::translate("COptionsDialog", "音長を変更")});
    noteRightDragLength =
        MakeCheck(page, "noteRightDragLength",
                  QCoreApplication::translate("COptionsDialogUi",
                                              "音符の右端をドラッグして音長を変更する(&L)"));
    noteSelectDefault =
        MakeCheck(page, "noteSelectDefault",
                  QCoreApplication::translate("COptionsDialogUi",
                                              "左クリックで選択した音符を既定にする(&F)"));
    auto* form = new QFormLayout;
    form->addRow(noteSingleClickAdd);
    form->addRow(dlg::MakeLabel(QCoreApplication::translate("COptionsDialogUi",
                                                            "入力直後のマウスドラッグ(&D):"),
                                noteAdd, page),
                 noteAdd);
    PageLayout(page, form, {noteRightDragLength, noteSelectDefault});
    return page;
}

QWidget* COptionsDialog::Ui::PlayPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    notePlay = MakeCheck(
        page, "notePlay",
        QCoreApplication::translate("COptionsDialogUi", "音符入力、選択時に音を再生する(&P)"));
    keyboardPlay = MakeCheck(
        page, "keyboardPlay",
        QCoreApplication::translate("COptionsDialogUi", "鍵盤クリック時に音を再生する(&K)"));
    playBufferSize =
        MakeNumberList(page, "playBufferSize", {10, 20, 30, 40, 50, 100, 200, 300, 400, 500});
    midiInputPort = new QComboBox(page);
    midiInputPort->setObjectName(QStringLiteral("midiInputPort"));
    metronomeVolume = new CNumberEdit(page);
    metronomeVolume->setObjectName(QStringLiteral("metronomeVolume"));
    metronomeVolume->SetRange(options_range::kMetronomeVolumeMin,
                              options_range::kMetronomeVolumeMax);
    playMove = MakeCheck(page, "playMove",
                         QCoreApplication::translate("COptionsDialogUi",
                                                     "再生位置に追従してキャレットを移動する(&M)"));
    playScroll = MakeCheck(
        page, "playScroll",
        QCoreApplication::translate("COptionsDialogUi", "キャレットに追従してスクロールする(&S)"));
    auto* form = new QFormLayout;
    form->addRow(notePlay);
    form->addRow(keyboardPlay);
    auto* buffer = new QHBoxLayout;
    buffer->addWidget(playBufferSize);
    buffer->addWidget(new QLabel(QStringLiteral("ms"), page));
    buffer->addStretch(1);
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("COptionsDialogUi", "再生バッファサイズ(&B):"),
                       playBufferSize, page),
        buffer);
    form->addRow(dlg::MakeLabel(QCoreApplication::translate("COptionsDialog", "MIDI 入力(&I):"),
                                midiInputPort, page),
                 midiInputPort);
    auto* volume = new QHBoxLayout;
    volume->addWidget(metronomeVolume);
    volume->addWidget(new QLabel(QStringLiteral("%"), page));
    volume->addStretch(1);
    form->addRow(
        dlg::MakeLabel(COptionsDialog::tr("メトロノームの音量(&V):"), metronomeVolume, page),
        volume);
    livePlayback = MakeCheck(page, "livePlayback",
                             COptionsDialog::tr("再生中の編集をすぐに再生に反映する(&L)"));
    PageLayout(page, form, {playMove, playScroll, livePlayback});
    return page;
}

QWidget* COptionsDialog::Ui::BuildPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    buildThreads = new CNumberEdit(page);
    buildThreads->setObjectName(QStringLiteral("buildThreads"));
    buildThreads->SetRange(options_range::kBuildThreadsMin, options_range::kBuildThreadsMax);
    buildSaveIncremental =
        MakeCheck(page, "buildSaveIncremental",
                  QCoreApplication::translate("COptionsDialogUi",
                                              "インクリメンタルビルドの情報を保存する(*.tqb)(&I)"));
    buildSaveProject = MakeCheck(
        page, "buildSaveProject",
        QCoreApplication::translate("COptionsDialogUi", "ビルド時にプロジェクトを保存する(&S)"));
    buildEncode =
        MakeCheck(page, "buildEncode",
                  QCoreApplication::translate("COptionsDialogUi", "ビルド後にエンコードする(&E)"));
    auto* form = new QFormLayout;
    form->addRow(dlg::MakeLabel(QCoreApplication::translate("COptionsDialogUi",
                                                            "ビルドに使用するスレッドの数(&T):"),
                                buildThreads, page),
                 buildThreads);
    PageLayout(page, form, {buildSaveIncremental, buildSaveProject, buildEncode});
    return page;
}

// In the order of the stored choice; the translations are loaded only at start.
void COptionsDialog::Ui::LanguageRows(QGridLayout* grid, int row, QWidget* page) {
    interfaceLanguage = MakeList(page, "interfaceLanguage",
                                 {QCoreApplication::translate("COptionsDialog", "自動"),
                                  QCoreApplication::translate("COptionsDialog", "日本語"),
                                  QCoreApplication::translate("COptionsDialog", "English")});
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("COptionsDialog", "言語 / Language(&L):"),
                       interfaceLanguage, page),
        row, 0);
    grid->addWidget(interfaceLanguage, row, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QCoreApplication::translate(
                                   "COptionsDialog", "言語の変更は次回の起動時から反映されます。"),
                               page),
                    row + 1, 0, 1, 3);
}

QWidget* COptionsDialog::Ui::FilePage(QWidget* parent) {
    auto* page = new QWidget(parent);
    pcmDefaultPath = new QLineEdit(page);
    pcmDefaultPath->setObjectName(QStringLiteral("pcmDefaultPath"));
    pcmDefaultPath->setMinimumWidth(pcmDefaultPath->fontMetrics().averageCharWidth() * 40);
    pcmDefaultPathBrowse = new QPushButton(QStringLiteral("..."), page);
    pcmDefaultPathBrowse->setObjectName(QStringLiteral("pcmDefaultPathBrowse"));
    pcmDefaultPathBrowse->setAutoDefault(false);
    importRhythmAutoLength =
        MakeCheck(page, "importRhythmAutoLength",
                  QCoreApplication::translate("COptionsDialogUi",
                                              "リズムチャンネルの音長を自動調整する(&Y):"));
    importRhythmAutoLengthLength = new CNumberEdit(page);
    importRhythmAutoLengthLength->setObjectName(QStringLiteral("importRhythmAutoLengthLength"));
    importRhythmAutoLengthLength->SetRange(1, std::numeric_limits<int32_t>::max());
    restoreWindow =
        MakeCheck(page, "restoreWindow",
                  QCoreApplication::translate("COptionsDialogUi",
                                              "起動時に前回終了時のウィンドウ位置を復元する(&W)"));
    autosaveSeconds = new CNumberEdit(page);
    autosaveSeconds->setObjectName(QStringLiteral("autosaveSeconds"));
    autosaveSeconds->SetRange(options_range::kAutosaveMin, options_range::kAutosaveMax);

    auto* grid = new QGridLayout;
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate(
                           "COptionsDialogUi", "Wave サウンドファイルのデフォルトフォルダ(&F):"),
                       pcmDefaultPath, page),
        0, 0, 1, 3);
    grid->addWidget(pcmDefaultPath, 1, 0, 1, 2);
    grid->addWidget(pcmDefaultPathBrowse, 1, 2);
    grid->addWidget(importRhythmAutoLength, 2, 0);
    grid->addWidget(importRhythmAutoLengthLength, 2, 1, Qt::AlignLeft);
    importRhythmAutoLengthLength->setAccessibleName(
        dlg::PlainCaption(importRhythmAutoLength->text()));
    grid->addWidget(restoreWindow, 3, 0, 1, 3);
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("COptionsDialog",
                                                   "自動保存の間隔 (秒、0 で自動保存しない)(&A):"),
                       autosaveSeconds, page),
        4, 0);
    grid->addWidget(autosaveSeconds, 4, 1, Qt::AlignLeft);
    LanguageRows(grid, 5, page);
    grid->setColumnStretch(1, 1);
    PageLayout(page, grid, {});
    return page;
}

void COptionsDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("COptionsDialogUi", "オプション"));
    tabs = new QTabWidget(dialog);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->addTab(ViewPage(tabs), QCoreApplication::translate("COptionsDialogUi", "表示"));
    tabs->addTab(ColorPage(tabs), QCoreApplication::translate("COptionsDialogUi", "色"));
    tabs->addTab(EditPage(tabs), QCoreApplication::translate("COptionsDialogUi", "編集"));
    tabs->addTab(PlayPage(tabs), QCoreApplication::translate("COptionsDialogUi", "再生"));
    tabs->addTab(BuildPage(tabs), QCoreApplication::translate("COptionsDialogUi", "ビルド"));
    tabs->addTab(FilePage(tabs), QCoreApplication::translate("COptionsDialogUi", "ファイル"));
    buttonBox = dlg::MakeButtonBox(dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(tabs);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
