// What the piano roll paints, read back from a grabbed picture: note colours by volume and
// selection, outlines, the other tracks, the ruler's tempo and volume markers; and the
// texts, the tool tip, scrolling by measure and the strips a caret move repaints.

#include "PianoRollTestRig.h"

#include "ui/pianoroll/PianoRollText.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QToolTip>

namespace {

QColor PixelAt(const QImage& image, const QPoint& p) {
    return image.pixelColor(p);
}

// Pixels of a rectangle of the picture darker than every grid grey.
int DarkPixels(const QImage& image, const QRect& rect) {
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                ++dark;
        }
    return dark;
}

// The bounding box of those dark pixels; empty when there are none.
QRect DarkBounds(const QImage& image, const QRect& rect) {
    QRect bounds;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                bounds |= QRect(x, y, 1, 1);
        }
    return bounds;
}

// Collects the rectangles the viewport is asked to paint.
class PaintSpy : public QObject {
public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

} // namespace

class PianoRollDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void quietNotesFadeToWhiteWithADarkerOutline() {
        // [GIVEN] notes on a black-key row (grey background) with volumes 0, 128 and 255, and
        // a selected one; "crNote" red, "crSelectedNote" blue, no gradation; the play line
        // at 0 is kept clear of them
        PianoRollRig rig;
        rig.Add(480, 29, 480, 0);
        rig.Add(1440, 29, 480, 128);
        rig.Add(2400, 29, 480, 255);
        const CNote* selected = rig.Add(3360, 29, 480, 0);
        rig.Track().SelectNote(selected, true);
        rig.roll->Refresh(false);
        const QImage image = rig.Picture();
        const CPianoRollGeometry g = rig.Geometry();
        const int top = g.YOfRow(29);
        auto inside = [&](int32_t tick) { return QPoint(rig.At(tick + 240, 29).x(), top + 5); };
        auto outline = [&](int32_t tick) { return QPoint(rig.At(tick, 29).x(), top + 5); };
        // [THEN] volume 0 is white inside, its outline half of white
        QCOMPARE(PixelAt(image, inside(480)), QColor(255, 255, 255));
        QCOMPARE(PixelAt(image, outline(480)), QColor(127, 127, 127));
        QCOMPARE(PixelAt(image, QPoint(inside(480).x(), top)), QColor(127, 127, 127));
        // half volume halfway to white, full volume the full colour, outlines halved
        QCOMPARE(PixelAt(image, inside(1440)), QColor(255, 127, 127));
        QCOMPARE(PixelAt(image, outline(1440)), QColor(127, 63, 63));
        QCOMPARE(PixelAt(image, inside(2400)), QColor(255, 0, 0));
        QCOMPARE(PixelAt(image, outline(2400)), QColor(127, 0, 0));
        // a selected note is flat "crSelectedNote" whatever its volume
        QCOMPARE(PixelAt(image, inside(3360)), QColor(0, 0, 255));
        // the row around them keeps its black-key grey
        QCOMPARE(PixelAt(image, QPoint(rig.At(1200 + 120, 29).x(), top + 5)),
                 QColor(208, 208, 208));
    }

    void gradationRunsFromHalfToFullStrength() {
        PianoRollRig rig;
        rig.options.viewGradation = 1;
        rig.Add(0, 29, 480, 255);
        rig.roll->Refresh(false);
        const QImage image = rig.Picture();
        const int top = rig.Geometry().YOfRow(29);
        const int x = rig.At(240, 29).x();
        // 10 inner lines of a 12-pixel row: line 0 at (10 + 0) / 20, line 9 at 19 / 20
        QCOMPARE(PixelAt(image, QPoint(x, top + 1)), QColor(255, 128, 128));
        QCOMPARE(PixelAt(image, QPoint(x, top + 10)), QColor(255, 13, 13));
    }

    void aGlidingNoteIsPaintedAlongItsPitch() {
        // [GIVEN] a whole note on row 40 gliding ten rows up over its length
        PianoRollRig rig;
        CNote glide;
        glide.position = 480;
        glide.length = 1920;
        glide.key = 40;
        glide.portamentoLength = 1920;
        glide.portamentoLevel = 10 * 256;
        rig.Track().AddNote(glide);
        rig.roll->Refresh(false);
        QImage image = rig.Picture();
        const CPianoRollGeometry g = rig.Geometry();
        const int start = rig.At(540, 40).x();
        const int late = rig.At(2280, 40).x(); // 15/16 of the way: the band is 9.4 rows up
        QCOMPARE(PixelAt(image, QPoint(start, g.YOfRow(40) + 6)), QColor(255, 0, 0));
        QCOMPARE(PixelAt(image, QPoint(late, g.YOfRow(31) + 3)), QColor(255, 0, 0));
        QCOMPARE(PixelAt(image, QPoint(late, g.YOfRow(40) + 6)), QColor(255, 255, 255));
        // [WHEN] "ViewPortamento" is off the note is its rectangle again
        rig.options.viewPortamento = 0;
        rig.roll->Refresh(false);
        image = rig.Picture();
        QCOMPARE(PixelAt(image, QPoint(late, g.YOfRow(40) + 6)), QColor(255, 0, 0));
        QCOMPARE(PixelAt(image, QPoint(late, g.YOfRow(31) + 3)), QColor(255, 255, 255));
    }

    void loopMarksAndThePlayLineUseTheNoteColour() {
        PianoRollRig rig;
        CProjectData& data = SongOf(rig.edit).data;
        data.loopEnabled = 1;
        data.loopStart = 1920;
        data.loopEnd = 3840;
        rig.roll->Refresh(false);
        rig.roll->SetPlayLine(960, false);
        const QImage image = rig.Picture();
        const int mid = (rig.Geometry().RulerHeight() - 1) / 2;
        const int loopStart = rig.At(1920, 0).x();
        const int loopEnd = rig.At(3840, 0).x();
        QCOMPARE(PixelAt(image, QPoint(loopStart + 2, mid)), QColor(255, 0, 0));
        QCOMPARE(PixelAt(image, QPoint(loopEnd - 1, mid)), QColor(255, 0, 0));
        QCOMPARE(PixelAt(image, QPoint(loopStart - 4, mid)), QColor(232, 232, 232));
        // the play line: the inverse of "crNote" over the note area only
        const QPoint play = rig.At(960, 50);
        QCOMPARE(PixelAt(image, play), QColor(0, 255, 255));
        QVERIFY(PixelAt(image, QPoint(play.x(), 2)) != QColor(0, 255, 255));
    }

    void otherTracksShowMutedFirstAndHideWhenSwitchedOff() {
        PianoRollRig rig;
        CProject& project = SongOf(rig.edit);
        while (project.tracks.size() < 3)
            project.tracks.emplace_back();
        CNote note;
        note.position = 0;
        note.length = 480;
        note.key = 29;
        project.tracks[1].AddNote(note); // unmuted
        note.position = 960;
        project.tracks[2].AddNote(note); // muted
        project.tracks[2].settings.mute = 1;
        rig.options.crInactiveNote = 0x00FF00;     // green
        rig.options.crInactiveMuteNote = 0xFFFF00; // cyan
        rig.options.viewInactiveNoteColor = 1;
        const int y = rig.Geometry().YOfRow(29) + 5;
        const QPoint unmuted(rig.At(240, 29).x(), y);
        const QPoint muted(rig.At(1200, 29).x(), y);
        const QColor grey(208, 208, 208);

        rig.options.viewInactiveNote = 1;
        rig.options.viewInactiveMuteNoteColor = 1;
        rig.roll->Refresh(false);
        QImage image = rig.Picture();
        QCOMPARE(PixelAt(image, unmuted), QColor(0, 255, 0));
        QCOMPARE(PixelAt(image, muted), QColor(0, 255, 255));

        rig.options.viewInactiveMuteNoteColor = 0;
        rig.roll->Refresh(false);
        image = rig.Picture();
        QCOMPARE(PixelAt(image, unmuted), QColor(0, 255, 0));
        QCOMPARE(PixelAt(image, muted), grey);

        rig.options.viewInactiveNote = 0;
        rig.options.viewInactiveMuteNoteColor = 1;
        rig.roll->Refresh(false);
        image = rig.Picture();
        QCOMPARE(PixelAt(image, unmuted), grey);
        QCOMPARE(PixelAt(image, muted), grey);
    }

    void tempoAndVolumeLabelsArePainted() {
        PianoRollRig rig;
        const int h = rig.Geometry().RulerHeight();
        const int tempoX = rig.At(1920, 0).x();
        const int volumeX = rig.At(5760, 0).x();
        const QRect upper(tempoX + 2, 0, 40, h / 2);
        const QRect lower(volumeX + 2, h / 2, 40, h - 1 - h / 2);
        QImage image = rig.Picture();
        QCOMPARE(DarkPixels(image, upper), 0);
        QCOMPARE(DarkPixels(image, lower), 0);

        CProjectData& data = SongOf(rig.edit).data;
        data.tempos.Set(TEMPO{1920, 120.5});
        data.volumes.Set(VOLUME{5760, 200});
        rig.roll->Refresh(false);
        image = rig.Picture();
        QVERIFY(DarkPixels(image, upper) > 0);
        QVERIFY(DarkPixels(image, lower) > 0);
        // each label keeps to its half of the ruler
        QCOMPARE(DarkPixels(image, QRect(tempoX + 2, h / 2 + 2, 40, h - 3 - h / 2)), 0);
        QCOMPARE(DarkPixels(image, QRect(volumeX + 2, 0, 40, h / 2 - 2)), 0);

        QCOMPARE(piano_roll_text::TempoLabel(120.0), QStringLiteral("T120"));
        QCOMPARE(piano_roll_text::TempoLabel(120.5), QStringLiteral("T120.5"));
        QCOMPARE(piano_roll_text::TempoLabel(99.96), QStringLiteral("T100.0"));
        QCOMPARE(piano_roll_text::VolumeLabel(200), QStringLiteral("V200"));
    }

    // [GIVEN] the tempo and volume markers at 1:0, as every song has them [WHEN] the pane is
    // painted at several desktop font sizes and zooms [THEN] the tempo label's ink stays in
    // the upper half, the volume label's in the lower half, with a free line between them,
    // and neither reaches the note area
    void markerRowsNeverOverlap() {
        const QFont original = QApplication::font();
        for (int pixels : {9, 12, 16, 22, 30}) {
            QFont font = original;
            font.setPixelSize(pixels);
            QApplication::setFont(font);
            for (int zoomX : {16, 192, 2048}) {
                PianoRollRig rig;
                rig.options.pianoRollZoomX = zoomX;
                rig.roll->Refresh(false);
                const int h = rig.Geometry().RulerHeight();
                const int mid = (h - 1) / 2;
                // "T1" and "V1": no measure number comes this close to the labels.
                const int label = QFontMetrics(font).horizontalAdvance(QStringLiteral("T1")) / 2;
                const QImage image = rig.Picture();
                const QString where = QStringLiteral("font %1 px, zoom %2").arg(pixels).arg(zoomX);
                const QRect upper = DarkBounds(image, QRect(66, 0, label, mid));
                const QRect lower = DarkBounds(image, QRect(66, mid, label, h - 1 - mid));
                QVERIFY2(!upper.isEmpty() && !lower.isEmpty(), qPrintable(where));
                QVERIFY2(upper.bottom() < mid - 1 && lower.top() > mid, qPrintable(where));
                QVERIFY2(DarkPixels(image, QRect(66, h - 1, label, 4)) == 0, qPrintable(where));
            }
        }
        QApplication::setFont(original);
    }

    // [GIVEN] measure 61 scrolled out of view step by step [WHEN] the ruler is painted
    // [THEN] its number is whole (as wide as in full view) or not there at all; while the
    // visible part of the measure still has room, the number moves into it
    void measureNumbersAreWholeOrAbsent() {
        PianoRollRig rig;
        const int32_t start = 60 * 1920;
        QScrollBar* bar = rig.roll->horizontalScrollBar();
        bar->setMaximum(start + 1920);
        auto numberInk = [&](int32_t offset) {
            bar->setValue(start + offset);
            const CPianoRollGeometry g = rig.Geometry();
            const int end = static_cast<int>(g.XOfTick(start + 1920));
            return DarkBounds(rig.Picture(), QRect(64, 0, end - 64, g.RulerHeight() - 1));
        };
        const QRect whole = numberInk(0);
        QVERIFY(!whole.isEmpty());
        int drawn = 0;
        for (int32_t offset = 0; offset < 1920; offset += 40) {
            const QRect ink = numberInk(offset);
            if (ink.isEmpty())
                continue;
            ++drawn;
            QVERIFY2(ink.width() == whole.width() && ink.left() > 64,
                     qPrintable(QStringLiteral("offset %1: %2 px from %3")
                                    .arg(offset)
                                    .arg(ink.width())
                                    .arg(ink.left())));
        }
        QVERIFY(!numberInk(1500).isEmpty());
        QVERIFY(numberInk(1900).isEmpty());
        QVERIFY(drawn > 30);
    }

    // [GIVEN] two tempo changes 1/16 note apart [WHEN] painted [THEN] the first one's label
    // gives way to a tick instead of running into the second's; the second reads whole
    void crowdedMarkersLeaveATick() {
        PianoRollRig rig;
        rig.options.pianoRollZoomX = 192;
        CProjectData& data = SongOf(rig.edit).data;
        data.tempos.Set(TEMPO{1920, 150.0});
        data.tempos.Set(TEMPO{2040, 90.0});
        rig.roll->Refresh(false);
        const CPianoRollGeometry g = rig.Geometry();
        const int mid = (g.RulerHeight() - 1) / 2;
        const int first = static_cast<int>(g.XOfTick(1920));
        const int second = static_cast<int>(g.XOfTick(2040));
        const QImage image = rig.Picture();
        // Only the tick between the two markers, nothing of a "T150".
        QCOMPARE(DarkBounds(image, QRect(first + 1, 0, second - first - 1, mid)), QRect());
        QVERIFY(DarkPixels(image, QRect(first, 0, 1, mid)) > 0);
        QVERIFY(DarkPixels(image, QRect(second + 2, 0, 20, mid)) > 0);
    }

    void keyNamesRunFromB8DownToC1() {
        QCOMPARE(piano_roll_text::KeyName(0), QStringLiteral("B8"));
        QCOMPARE(piano_roll_text::KeyName(1), QStringLiteral("A+8"));
        QCOMPARE(piano_roll_text::KeyName(7), QStringLiteral("E8"));
        QCOMPARE(piano_roll_text::KeyName(95), QStringLiteral("C1"));
    }

    void hoveringANoteShowsItsLengthKeyOffAndVolume() {
        PianoRollRig rig;
        const CNote* note = rig.Add(480, 30, 720, 99);
        CNote values = *note;
        values.keyoff = 12;
        rig.Track().ReplaceNote(note, values);
        rig.roll->Refresh(false);
        const QPoint at = rig.At(600, 30);
        QHelpEvent help(QEvent::ToolTip, at, rig.View()->mapToGlobal(at));
        QCoreApplication::sendEvent(rig.View(), &help);
        QCOMPARE(QToolTip::text(), QStringLiteral("長さ:720\r\nキーオフ:12\r\n音量:99"));
    }

    void lineScrollingByMeasureStepsA34Measure() {
        PianoRollRig rig;
        rig.options.scrollMeasure = 1;
        SongOf(rig.edit).data.beats.Assign({BEAT{0, 3, 4}});
        rig.Add(40 * 1920, 10); // room to scroll
        QScrollBar* h = rig.roll->horizontalScrollBar();
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(h->value(), 1440);
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(h->value(), 2880);
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(h->value(), 1440);
        rig.options.scrollMeasure = 0;
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(h->value(), 1920);
    }

    void scrollingRowsRedrawsTheNotesAtTheirNewPlace() {
        PianoRollRig rig;
        rig.Add(480, 29, 480, 255);
        const QPoint before = rig.At(720, 29);
        QCOMPARE(PixelAt(rig.Picture(), before), QColor(255, 0, 0));
        rig.roll->verticalScrollBar()->setValue(5);
        const QPoint after = rig.At(720, 29);
        QCOMPARE(after.y(), before.y() - 5 * 12);
        const QImage image = rig.Picture();
        QCOMPARE(PixelAt(image, after), QColor(255, 0, 0));
        QVERIFY(PixelAt(image, before) != QColor(255, 0, 0));
        // the ruler stays: its background and the measure line at tick 1920
        const int line = rig.At(1920, 0).x();
        QCOMPARE(PixelAt(image, QPoint(line - 6, 1)), QColor(232, 232, 232));
        QCOMPARE(PixelAt(image, QPoint(line, 1)), QColor(128, 128, 128));
    }

    void movingTheCaretRepaintsOnlyItsStrips() {
        PianoRollRig rig;
        rig.options.viewPosCaret = 1;
        rig.options.viewNoteCaret = 1;
        rig.roll->Refresh(false);
        QTest::qWait(20);
        PaintSpy spy;
        rig.View()->installEventFilter(&spy);
        rig.roll->SetCaret(960, 30);
        QTRY_VERIFY(!spy.painted.isEmpty());
        QTest::qWait(20);
        // the old and new position caret lines and note caret cells, not the pane
        const QRect all = rig.View()->rect();
        int area = 0;
        for (const QRect& r : spy.painted)
            area += r.width() * r.height();
        QVERIFY2(area < all.width() * all.height() / 4,
                 qPrintable(QStringLiteral("painted %1 of %2 pixels")
                                .arg(area)
                                .arg(all.width() * all.height())));
        // and the picture shows the note caret at its new place
        const QImage image = rig.Picture();
        QCOMPARE(PixelAt(image, QPoint(rig.At(1080, 30).x(), rig.At(1080, 30).y())),
                 QColor(0, 0, 255));
        rig.View()->removeEventFilter(&spy);
    }

    void aDraggedNoteRepaintsOnlyWhereItWasAndIs() {
        PianoRollRig rig;
        rig.Add(960, 20, 480);
        QTest::qWait(20);
        const QPoint from = rig.At(960, 20, 10);
        rig.Press(from);
        rig.MoveTo(from + QPoint(0, 12));
        QTest::qWait(20);
        PaintSpy spy;
        rig.View()->installEventFilter(&spy);
        rig.MoveTo(from + QPoint(0, 24)); // one row further down
        QTRY_VERIFY(!spy.painted.isEmpty());
        rig.View()->removeEventFilter(&spy);
        rig.Release(from + QPoint(0, 24));
        QCOMPARE(rig.Notes(), (std::vector<PianoRollRig::SEEN>{{960, 22, true}}));
        // the note's cells in the two rows and the caret's one-pixel column, not the pane
        int area = 0;
        for (const QRect& r : spy.painted)
            area += r.width() * r.height();
        const int column = rig.View()->height();
        QVERIFY2(area <= 2 * (48 + 4) * (12 + 4) + column,
                 qPrintable(QStringLiteral("painted %1 pixels").arg(area)));
    }
};

QTEST_MAIN(PianoRollDisplayTest)
#include "PianoRollDisplayTest.moc"
