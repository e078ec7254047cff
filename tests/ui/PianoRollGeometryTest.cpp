// The piano roll's one coordinate mapper, table by table: pixels and ticks both ways left of
// and inside the view, rows, snapping relative to the measure start under changing time
// signatures, the scroll steps, the zoom drags and the hot zones.

#include "model/CBeats.h"
#include "ui/pianoroll/CPianoRollGeometry.h"

#include <QTest>

namespace {

// 3/4 for measures 0 and 1, then 5/8: measures start at 0, 1440, 2880, 4080, 5280 ...
CBeats OddBeats() {
    CBeats beats;
    beats.Assign({BEAT{0, 3, 4}, BEAT{2, 5, 8}});
    return beats;
}

CPianoRollGeometry::VIEW View(int32_t firstTick = 0, int firstRow = 0, int32_t fit = 240) {
    CPianoRollGeometry::VIEW view;
    view.zoomX = 192;
    view.zoomY = 12;
    view.firstTick = firstTick;
    view.firstRow = firstRow;
    view.rulerHeight = 17;
    view.width = 800;
    view.height = 500;
    view.fit = fit;
    return view;
}

} // namespace

class PianoRollGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void pixelsAndTicksFloorOnBothSidesOfTheViewStart() {
        const CBeats beats;
        const CPianoRollGeometry g(beats, View(1920));
        QCOMPARE(g.XOfTick(1920), int64_t{64});
        QCOMPARE(g.XOfTick(1930), int64_t{65});
        QCOMPARE(g.XOfTick(1910), int64_t{63}); // left of the view: floored, not towards 0
        QCOMPARE(g.TickOfX(63), 1910);
        QCOMPARE(g.TickOfX(64 + 192), 3840);
        QCOMPARE(g.TickOfX(0), 1280);
        const CPianoRollGeometry start(beats, View(0));
        QCOMPARE(start.TickOfX(0), 0); // never below 0
    }

    void rowsClampToTheKeyboard() {
        const CBeats beats;
        const CPianoRollGeometry g(beats, View(0, 10));
        QCOMPARE(g.YOfRow(10), 17);
        QCOMPARE(g.RowOfY(17), 10);
        QCOMPARE(g.RowOfY(16), 9);
        QCOMPARE(g.RowOfY(17 + 12 * 5 + 11), 15);
        QCOMPARE(g.RowOfY(-1000), 0);
        QCOMPARE(g.RowOfY(100000), 95);
        QCOMPARE(g.PageRows(), (500 - 17) / 12);
        QCOMPARE(g.MaxFirstRow(), 96 - (500 - 17) / 12);
        QCOMPARE(g.PageTicks(), (800 - 64) / 192 * 1920);
    }

    void snappingCountsFromTheStartOfEachMeasure() {
        const CBeats beats = OddBeats();
        const CPianoRollGeometry g(beats, View(0, 0, 480));
        const struct {
            int32_t tick;
            int32_t snapped;
        } cases[] = {
            {1000, 960},  {1439, 960},  {1440, 1440}, // 3/4
            {3000, 2880}, {3400, 3360}, {4000, 3840}, // 5/8 from 2880: its grid is 2880 + 480k
            {4100, 4080},                             // the next 5/8 measure restarts the grid
        };
        for (const auto& c : cases)
            QCOMPARE(g.Snap(c.tick), c.snapped);
        const CPianoRollGeometry zeroFit(beats, View(0, 0, 0));
        QCOMPARE(zeroFit.Snap(3001), 3001); // a fit below 1 counts as 1
    }

    void scrollStepsFollowBeatsAndMeasures() {
        const CBeats beats = OddBeats();
        const CPianoRollGeometry g(beats, View());
        QCOMPARE(g.LineRight(0, true), 1440);
        QCOMPARE(g.LineRight(0, false), 480);
        QCOMPARE(g.LineRight(3840, false), 4080); // the last eighth of a 5/8 measure
        QCOMPARE(g.LineLeft(2880, true), 1440);
        QCOMPARE(g.LineLeft(3120, false), 2880);
        QCOMPARE(g.LineLeft(0, false), 0);
        QCOMPARE(g.ScrollStart(3000, true), 2880);
        QCOMPARE(g.ScrollStart(3200, false), 3120);
        QCOMPARE(g.PageRight(2880), 4080);
        QCOMPARE(g.PageLeft(2880), 1440);
        // the range reaches one measure and one beat past the song's end
        QCOMPARE(g.RangeEnd(3000), int64_t{3000 + 1200 + 240});
    }

    void zoomDragsKeepTheGrabbedLineUnderThePointer() {
        const CBeats beats;
        const CPianoRollGeometry g(beats, View(1920, 10));
        // four quarters between the view start and the boundary at 3840
        QCOMPARE(g.ZoomXForMeasureDrag(3840, 64 + 300), std::optional<int>(300));
        QCOMPARE(g.ZoomXForMeasureDrag(3840, 64 + 5), std::optional<int>(16));
        QCOMPARE(g.ZoomXForMeasureDrag(3840, 64 + 5000), std::optional<int>(2048));
        QCOMPARE(g.ZoomXForMeasureDrag(1920, 400), std::optional<int>());
        // 14 rows from the first visible row 10 down to the line under row 23
        QCOMPARE(g.ZoomYForOctaveDrag(23, 17 + 14 * 20), 20);
        QCOMPARE(g.ZoomYForOctaveDrag(23, 17 + 14), 4);
        QCOMPARE(g.ZoomYForOctaveDrag(23, 17 + 14 * 40), 32);
    }

    void boundariesAreGrabbedWithinThreePixels() {
        const CBeats beats;
        const CPianoRollGeometry g(beats, View());
        QCOMPARE(g.MeasureBoundaryNear(256), std::optional<int32_t>(1920));
        QCOMPARE(g.MeasureBoundaryNear(253), std::optional<int32_t>(1920));
        QCOMPARE(g.MeasureBoundaryNear(259), std::optional<int32_t>(1920));
        QCOMPARE(g.MeasureBoundaryNear(260), std::optional<int32_t>());
        // the line under row 11 (the first C) lies at 17 + 12 × 12 - 1
        QCOMPARE(g.OctaveBoundaryNear(160), std::optional<int>(11));
        QCOMPARE(g.OctaveBoundaryNear(163), std::optional<int>(11));
        QCOMPARE(g.OctaveBoundaryNear(156), std::optional<int>());
        QCOMPARE(g.OctaveBoundaryNear(17 + 24 * 12 - 1), std::optional<int>(23));
    }

    void selectionSpansCoverBothCells() {
        const CBeats beats;
        const CPianoRollGeometry g(beats, View());
        const auto back = g.SelectionSpan(1680, 960); // dragged left of the press
        QCOMPARE(back.from, 960);
        QCOMPARE(back.to, 1680);
        const auto forth = g.SelectionSpan(1680, 2400);
        QCOMPARE(forth.from, 1440);
        QCOMPARE(forth.to, 2640);
    }
};

QTEST_APPLESS_MAIN(PianoRollGeometryTest)
#include "PianoRollGeometryTest.moc"
