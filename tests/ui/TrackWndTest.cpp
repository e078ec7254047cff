// The track window driven by real mouse and key events: selecting rows, the mute toggle,
// moving and copying tracks by drag and drop, the "TSQ_TRACK" clipboard, delete, the
// properties dialog, a double click below the rows, what a row looks like, and the copies
// refused at the song's track limit.

#include "EditTestHooks.h"
#include "UiTestSupport.h"

#include "../dialogs/DialogTestUtil.h"
#include "common/ClipboardFormats.h"
#include "model/CArchiveWriter.h"
#include "model/SongLimits.h"
#include "ui/CEditController.h"
#include "ui/CommandIds.h"
#include "ui/trackwnd/CTrackRowPainter.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace dlgtest;

namespace {

constexpr int kRow = CTrackRowPainter::kRowHeight;

// A song of `count` tracks named "T0", "T1", …; track i holds one note in second 2 × i.
CProject MakeTracks(int count) {
    CProject song = MakeSong(0);
    song.tracks.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        CTrack& track = song.tracks[static_cast<size_t>(i)];
        track.settings.name = "T" + std::to_string(i);
        CNote note;
        note.position = 1920 * i;
        note.length = 480;
        track.AddNote(note);
    }
    return song;
}

std::vector<uint8_t> TrackBytes(const CTrack& track) {
    CArchiveWriter writer;
    track.Serialize(writer);
    return writer.Data();
}

struct TrackRig {
    CEditController edit;
    std::unique_ptr<CTrackWnd> wnd;

    explicit TrackRig(int tracks) {
        edit.ReplaceProject(MakeTracks(tracks));
        wnd = std::make_unique<CTrackWnd>(edit);
        QObject::connect(&edit, &CEditController::viewsChanged, wnd.get(), [this](int views) {
            if (views & CEditController::kViewTrackList)
                wnd->Refresh();
        });
        wnd->resize(240, 320);
        ShowActive(wnd.get());
        wnd->Refresh();
    }

    QWidget* Port() { return wnd->viewport(); }
    QString Names() const {
        QStringList names;
        for (const CTrack& track : edit.Project().tracks)
            names << QString::fromStdString(track.settings.name);
        return names.join(QLatin1Char(' '));
    }
    int Undos() const { return edit.UndoRing().UndoDepth(); }
    bool UnbuiltSecond(size_t second) const {
        return second < edit.Unbuilt().size() && edit.Unbuilt()[second] != 0;
    }

    // A move with the button held, as the window system sends it.
    void Move(const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(QEvent::MouseMove, at, Port()->mapToGlobal(at), Qt::NoButton,
                          Qt::LeftButton, modifiers);
        QApplication::sendEvent(Port(), &event);
    }
    // Press on `from`, move past the threshold and on to `to`, release there.
    void Drag(const QPoint& from, const QPoint& to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mousePress(Port(), Qt::LeftButton, modifiers, from);
        Move(from + QPoint(8, 0), modifiers);
        Move(to, modifiers);
        QTest::mouseRelease(Port(), Qt::LeftButton, modifiers, to);
    }
};

QPoint RowPoint(int row, int x = 120) {
    return {x, row * kRow + kRow / 2};
}

} // namespace

class TrackWndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // A press on a row makes its track current and says so; no undo step.
    void pressSelectsTheRow() {
        TrackRig rig(3);
        QSignalSpy changed(rig.wnd.get(), &CTrackWnd::currentTrackChanged);
        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(2));
        QCOMPARE(rig.edit.Project().currentTrack, 2);
        QCOMPARE(rig.wnd->currentRow(), 2);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toInt(), 2);
        QTest::mousePress(rig.Port(), Qt::RightButton, Qt::NoModifier, RowPoint(0));
        QCOMPARE(rig.edit.Project().currentTrack, 0);
        QTest::keyClick(rig.wnd.get(), Qt::Key_Down);
        QCOMPARE(rig.edit.Project().currentTrack, 1);
        QCOMPARE(rig.Undos(), 0);
    }

    // [WHEN] the mute picture is clicked  [THEN] the track mutes and its notes' seconds become
    // unbuilt; unmuting marks them again. A click further right only selects.
    void muteClickMarksTheUnbuiltSeconds() {
        TrackRig rig(3);
        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(1, 30));
        QCOMPARE(rig.edit.Project().tracks[1].settings.mute, 0);
        QCOMPARE(rig.Undos(), 0);
        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(1, 10));
        QCOMPARE(rig.edit.Project().tracks[1].settings.mute, 1);
        QVERIFY(rig.UnbuiltSecond(2));
        QVERIFY(!rig.UnbuiltSecond(0) && !rig.UnbuiltSecond(4));
        QCOMPARE(rig.Undos(), 1);
        QVERIFY(rig.edit.Project().modified != 0);

        rig.edit.Unbuilt().clear();
        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(1, 10));
        QCOMPARE(rig.edit.Project().tracks[1].settings.mute, 0);
        QVERIFY(rig.UnbuiltSecond(2));
        QCOMPARE(rig.Undos(), 2);
    }

    // [WHEN] a track is dropped onto its own row or the row just below  [THEN] nothing
    // changes and no undo step is taken; a real move reorders without marking any second
    void dropOntoItselfOrTheNextRowDoesNothing() {
        TrackRig rig(4);
        rig.Drag(RowPoint(1), RowPoint(1, 40));
        rig.Drag(RowPoint(1), RowPoint(2));
        QCOMPARE(rig.Names(), QStringLiteral("T0 T1 T2 T3"));
        QCOMPARE(rig.Undos(), 0);
        // The drag did not toggle the mute though it started in the mute column.
        rig.Drag(RowPoint(1, 10), RowPoint(1, 40));
        QCOMPARE(rig.edit.Project().tracks[1].settings.mute, 0);
        QCOMPARE(rig.Undos(), 0);

        rig.Drag(RowPoint(1), RowPoint(3));
        QCOMPARE(rig.Names(), QStringLiteral("T0 T2 T1 T3"));
        QCOMPARE(rig.edit.Project().currentTrack, 2);
        QCOMPARE(rig.Undos(), 1);
        QVERIFY(!rig.edit.Unbuilt().AnySet());
        rig.Drag(RowPoint(3), RowPoint(0));
        QCOMPARE(rig.Names(), QStringLiteral("T3 T0 T2 T1"));
        QCOMPARE(rig.edit.Project().currentTrack, 0);
        rig.edit.Undo();
        rig.edit.Undo();
        QCOMPARE(rig.Names(), QStringLiteral("T0 T1 T2 T3"));
    }

    // [WHEN] the first track is Ctrl-dragged below the last row  [THEN] the marker shows under
    // the last row, the cursor follows Ctrl, and the drop appends an active duplicate
    void ctrlDragToTheEndAppendsADuplicate() {
        TrackRig rig(3);
        const QPoint end(120, 3 * kRow + 20);
        QTest::mousePress(rig.Port(), Qt::LeftButton, Qt::ControlModifier, RowPoint(0));
        rig.Move(RowPoint(0, 130), Qt::ControlModifier);
        rig.Move(end, Qt::ControlModifier);
        QCOMPARE(rig.Port()->cursor().shape(), Qt::DragCopyCursor);
        QTest::keyRelease(rig.wnd.get(), Qt::Key_Control);
        QCOMPARE(rig.Port()->cursor().shape(), Qt::DragMoveCursor);
        QTest::keyPress(rig.wnd.get(), Qt::Key_Control);
        QCOMPARE(rig.Port()->cursor().shape(), Qt::DragCopyCursor);
        const QImage during = rig.Port()->grab().toImage();
        const QColor text = rig.wnd->palette().color(QPalette::Text);
        QVERIFY(during.pixelColor(200, 3 * kRow - 1) == text ||
                during.pixelColor(200, 3 * kRow) == text);
        QTest::mouseRelease(rig.Port(), Qt::LeftButton, Qt::ControlModifier, end);

        QCOMPARE(rig.Names(), QStringLiteral("T0 T1 T2 T0"));
        QCOMPARE(rig.edit.Project().currentTrack, 3);
        QCOMPARE(rig.wnd->count(), 4);
        QVERIFY(TrackBytes(rig.edit.Project().tracks[3]) ==
                TrackBytes(rig.edit.Project().tracks[0]));
        QVERIFY(rig.UnbuiltSecond(0));
        QCOMPARE(rig.Undos(), 1);
        QVERIFY(rig.Port()->cursor().shape() != Qt::DragCopyCursor);
    }

    // Leaving the window drops nothing.
    void releaseOutsideDropsNothing() {
        TrackRig rig(3);
        QTest::mousePress(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(0));
        rig.Move(RowPoint(1));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(rig.Port(), &leave);
        const QPoint outside(120, rig.Port()->height() + 40);
        rig.Move(outside);
        QTest::mouseRelease(rig.Port(), Qt::LeftButton, Qt::NoModifier, outside);
        QCOMPARE(rig.Names(), QStringLiteral("T0 T1 T2"));
        QCOMPARE(rig.Undos(), 0);
    }

    // [GIVEN] five tracks, the last active  [WHEN] deleted  [THEN] the fourth is active, its
    // seconds are marked; with one track left Cut and Delete are off and Copy stays on
    void deletingTheLastOfFiveLeavesTheFourthActive() {
        TrackRig rig(5);
        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(4));
        QVERIFY(rig.wnd->CommandSet().Run(cmd::kDelete));
        QCOMPARE(rig.Names(), QStringLiteral("T0 T1 T2 T3"));
        QCOMPARE(rig.edit.Project().currentTrack, 3);
        QCOMPARE(rig.wnd->currentRow(), 3);
        QVERIFY(rig.UnbuiltSecond(8));
        rig.edit.Undo();
        QCOMPARE(rig.wnd->count(), 5);

        TrackRig single(1);
        QCOMPARE(single.wnd->CommandSet().Enabled(cmd::kCut), std::optional<bool>(false));
        QCOMPARE(single.wnd->CommandSet().Enabled(cmd::kDelete), std::optional<bool>(false));
        QCOMPARE(single.wnd->CommandSet().Enabled(cmd::kCopy), std::optional<bool>(true));
        QCOMPARE(single.wnd->CommandSet().Enabled(cmd::kProperties), std::optional<bool>(true));
        QCOMPARE(single.wnd->CommandSet().Enabled(cmd::kSelectAll), std::nullopt);
    }

    // [WHEN] a track is copied and pasted at another row  [THEN] the same bytes come back as
    // a new active track, its notes marked; undo removes it. Cut moves it.
    void pasteInsertsTheCopiedTrackAndUndoRestores() {
        TrackRig rig(3);
        QApplication::clipboard()->setMimeData(new QMimeData);
        QCOMPARE(rig.wnd->CommandSet().Enabled(cmd::kPaste), std::optional<bool>(false));
        rig.wnd->CommandSet().Run(cmd::kCopy);
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(kClipTrack));
        QCOMPARE(rig.wnd->CommandSet().Enabled(cmd::kPaste), std::optional<bool>(true));
        QCOMPARE(rig.Undos(), 0);
        const std::vector<uint8_t> before = rig.edit.Project().SaveToBytes();

        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(2));
        rig.wnd->CommandSet().Run(cmd::kPaste);
        QCOMPARE(rig.Names(), QStringLiteral("T0 T1 T0 T2"));
        QCOMPARE(rig.edit.Project().currentTrack, 2);
        QVERIFY(TrackBytes(rig.edit.Project().tracks[2]) ==
                TrackBytes(rig.edit.Project().tracks[0]));
        QVERIFY(rig.UnbuiltSecond(0));
        rig.edit.Undo();
        QVERIFY(rig.edit.Project().SaveToBytes() == before);

        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(1));
        rig.wnd->CommandSet().Run(cmd::kCut);
        QCOMPARE(rig.Names(), QStringLiteral("T0 T2"));
        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(0));
        rig.wnd->CommandSet().Run(cmd::kPaste);
        QCOMPARE(rig.Names(), QStringLiteral("T1 T0 T2"));
    }

    // A block that is not one whole track adds nothing and takes no undo step.
    void damagedTrackBlockPastesNothing() {
        TrackRig rig(2);
        auto* data = new QMimeData;
        data->setData(kClipTrack, QByteArray(40, '\x7f'));
        QApplication::clipboard()->setMimeData(data);
        rig.wnd->CommandSet().Run(cmd::kPaste);
        QCOMPARE(rig.wnd->count(), 2);
        QCOMPARE(rig.Undos(), 0);
    }

    // A pasted track's sound values outside their ranges come in at the nearest bound, as a
    // project file's do.
    void pastedTrackSoundIsBroughtIntoRange() {
        TrackRig rig(1);
        CTrack track;
        track.settings.name = "wild";
        track.settings.envelope.decay = 1953459714;
        track.settings.envelope.release = -2044193280;
        track.settings.pitchLFO.waveform = 150;
        track.settings.pitchLFO.period = -1768515946;
        track.settings.ampLFO.depth = 1000;
        const std::vector<uint8_t> bytes = TrackBytes(track);
        auto* data = new QMimeData;
        data->setData(kClipTrack, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size())));
        QApplication::clipboard()->setMimeData(data);
        rig.wnd->CommandSet().Run(cmd::kPaste);
        QCOMPARE(rig.Names(), QStringLiteral("wild T0"));
        const CTrackData& pasted = rig.edit.Project().tracks[0].settings;
        QCOMPARE(pasted.envelope.decay, 10000);
        QCOMPARE(pasted.envelope.release, -1);
        QCOMPARE(pasted.pitchLFO.waveform, 3);
        QCOMPARE(pasted.pitchLFO.period, 0);
        QCOMPARE(pasted.ampLFO.depth, 255);
    }

    // At the song's track limit, copying a track by Ctrl-drag or pasting one is refused: no
    // track, no undo step, and the edit path says why.
    void copiesStopAtTheTrackLimit() {
        TrackRig rig(3);
        CProject full = MakeTracks(3);
        full.tracks.resize(songlimits::kMaxTracks);
        rig.edit.ReplaceProject(std::move(full));
        rig.wnd->Refresh();
        QSignalSpy refused(&rig.edit, &CEditController::changeRefused);
        rig.Drag(RowPoint(0), RowPoint(2), Qt::ControlModifier);
        rig.wnd->CommandSet().Run(cmd::kCopy);
        rig.wnd->CommandSet().Run(cmd::kPaste);
        QCOMPARE(refused.count(), 2);
        QCOMPARE(rig.edit.Project().tracks.size(), size_t{songlimits::kMaxTracks});
        QCOMPARE(rig.wnd->count(), int(songlimits::kMaxTracks));
        QCOMPARE(rig.Undos(), 0);
        QVERIFY(rig.Names().startsWith(QStringLiteral("T0 T1 T2  ")));
    }

    // OK marks the whole track even when nothing differs; Cancel changes nothing.
    void propertiesMarkTheTrackOnOk() {
        TrackRig rig(2);
        QStringList titles;
        int answer = QDialog::Rejected;
        rig.wnd->SetDialogRunner([&](QDialog& dialog) {
            titles << dialog.windowTitle();
            return answer;
        });
        QTest::mouseClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(1));
        rig.wnd->CommandSet().Run(cmd::kProperties);
        QCOMPARE(rig.Undos(), 0);
        answer = QDialog::Accepted;
        rig.wnd->CommandSet().Run(cmd::kProperties);
        QCOMPARE(titles, (QStringList{QStringLiteral("トラックのプロパティ"),
                                      QStringLiteral("トラックのプロパティ")}));
        QCOMPARE(rig.Undos(), 1);
        QVERIFY(rig.UnbuiltSecond(2));
        QVERIFY(!rig.UnbuiltSecond(0));
    }

    // A double click below the last row asks for a new track; on a row, for properties.
    void doubleClicksAskTheFrame() {
        TrackRig rig(2);
        QSignalSpy requests(rig.wnd.get(), &CTrackWnd::commandRequested);
        QTest::mouseDClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 5 * kRow));
        QTest::mouseDClick(rig.Port(), Qt::LeftButton, Qt::NoModifier, RowPoint(1));
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0][0].toInt(), int(cmd::kTrackAdd));
        QCOMPARE(requests[1][0].toInt(), int(cmd::kProperties));
        QCOMPARE(rig.edit.Project().tracks[1].settings.mute, 0);
    }

    // [GIVEN] an unselected row with volume 200 and its own red note colour  [THEN] the
    // text "音量 200" is drawn in the lower half, the framed red swatch 8 pixels after it,
    // and the source picture follows the track's own wave memory
    void rowShowsVolumeSwatchAndSourcePicture() {
        TrackRig rig(2);
        CTrackData& settings = SongOf(rig.edit).tracks[1].settings;
        settings.volume = 200;
        settings.useNoteColor = 1;
        settings.noteColor = 0x0000FF;
        settings.waveform = kWaveMemory;
        settings.waveMemory.samples.assign(32, 4);
        rig.wnd->Refresh();
        const QImage image = rig.Port()->grab().toImage();
        const QColor base = rig.wnd->palette().color(QPalette::Base);
        const int top = kRow;

        const QFontMetrics metrics(rig.wnd->font());
        const int textEnd =
            CTrackRowPainter::kTextLeft + metrics.horizontalAdvance(QStringLiteral("音量 200"));
        int inked = 0;
        for (int y = top + kRow / 2; y < top + kRow; ++y)
            for (int x = CTrackRowPainter::kTextLeft; x < textEnd; ++x)
                inked += image.pixelColor(x, y) != base ? 1 : 0;
        QVERIFY2(inked > 20, "no volume text in the lower half");
        for (int y = top; y < top + kRow / 2; ++y)
            for (int x = textEnd + 2; x < textEnd + 20; ++x)
                QCOMPARE(image.pixelColor(x, y), base);

        const QPoint swatch(textEnd + 8 + 3, top + kRow * 3 / 4);
        QCOMPARE(image.pixelColor(swatch), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(textEnd + 4, swatch.y()), base);

        // Samples of 4 at height 16 draw a line 7 pixels above the centre (y 9 of 32).
        const int pictureX = CTrackRowPainter::kSourceX;
        const int pictureY = top + CTrackRowPainter::kSourceY;
        QCOMPARE(image.pixelColor(pictureX + 12, pictureY + 9), QColor(Qt::black));
        QCOMPARE(image.pixelColor(pictureX + 12, pictureY + 1), base);
        QCOMPARE(image.pixelColor(pictureX + 12, pictureY + 16), QColor(0xC0, 0xC0, 0xC0));
    }

    // The square follows the duty and the inversion; the selected row uses the highlight.
    void squarePictureFollowsDutyAndInversion() {
        CTrackData square;
        square.waveform = kSquare;
        square.duty = 256; // edge at x 30
        const QImage wide = CTrackRowPainter::SourcePicture(square, Qt::white);
        QCOMPARE(wide.pixelColor(25, 1), QColor(Qt::black));
        square.duty = -256; // edge at x 0
        const QImage narrow = CTrackRowPainter::SourcePicture(square, Qt::white);
        QCOMPARE(narrow.pixelColor(25, 31), QColor(Qt::black));
        QCOMPARE(narrow.pixelColor(25, 1), QColor(Qt::white));
        square.invert = 1;
        const QImage inverted = CTrackRowPainter::SourcePicture(square, Qt::white);
        QCOMPARE(inverted.pixelColor(25, 1), QColor(Qt::black));

        TrackRig rig(2);
        const QImage image = rig.Port()->grab().toImage();
        const int right = rig.Port()->width() - 6;
        QCOMPARE(image.pixelColor(right, 4), rig.wnd->palette().color(QPalette::Highlight));
        QCOMPARE(image.pixelColor(right, kRow + 4), rig.wnd->palette().color(QPalette::Base));
    }
};

std::unique_ptr<QObject> MakeTrackWndTest() {
    return std::make_unique<TrackWndTest>();
}

#include "TrackWndTest.moc"
