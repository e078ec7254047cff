#include "ui/pianoroll/CPianoRollWnd.h"

#include "common/Options.h"
#include "model/CProject.h"
#include "model/PositionText.h"
#include "ui/CEditController.h"
#include "ui/CMessagePrompts.h"
#include "ui/CNoteDefaults.h"
#include "ui/pianoroll/CNoteCommands.h"
#include "ui/pianoroll/CPianoRollAccessible.h"
#include "ui/pianoroll/CPianoRollController.h"
#include "ui/pianoroll/CPianoRollHitTest.h"
#include "ui/pianoroll/CPianoRollPainter.h"
#include "ui/pianoroll/CPianoRollPreview.h"
#include "ui/pianoroll/CPianoRollRuler.h"
#include "ui/pianoroll/CStepInput.h"
#include "ui/pianoroll/PianoRollColors.h"
#include "ui/pianoroll/PianoRollText.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace colors = piano_roll_colors;

namespace {

constexpr int kWheelNotch = 120;
constexpr int kOctaveRows = 12;
// Dirty parts beyond this many rectangles are painted as their bounding rectangle.
constexpr int kMaxDirtyRects = 8;
constexpr int kMaxTick = std::numeric_limits<int32_t>::max();
// Smallest ruler text, in pixels, that still reads.
constexpr int kMinFontPixels = 8;

} // namespace

CPianoRollWnd::CPianoRollWnd(CEditController& edit, CNoteDefaults& defaults, OPTIONS& options,
                             QWidget* parent, IUserPrompts* prompts)
    : QAbstractScrollArea(parent), m_edit(edit), m_defaults(defaults), m_options(options) {
    setObjectName("pianoRollWnd");
    CPianoRollAccessible::Install();
    setAccessibleName(tr("ピアノロール"));
    setAccessibleDescription(tr("現在のトラックの音符を、横に時間、縦に音の高さで並べます。"
                                "矢印キーでキャレットを動かし、Ins で音符を入力します。"));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    // Scroll bars that come and go would resize the view while its ranges are set.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    CreateRulerFonts();
    if (prompts == nullptr) {
        m_ownPrompts = std::make_unique<CMessagePrompts>(this);
        prompts = m_ownPrompts.get();
    }
    m_preview = std::make_unique<CPianoRollPreview>();
    m_controller = std::make_unique<CPianoRollController>(
        edit, defaults, options, static_cast<IPianoRollCanvas&>(*this), *m_preview);
    m_commands = std::make_unique<CNoteCommands>(edit, defaults, *prompts, options, *this, this);
    m_stepInput = std::make_unique<CStepInput>(edit, defaults, *m_controller,
                                               static_cast<IPianoRollView&>(*this), *m_preview);
    m_stepInput->RegisterCommands(m_commands->CommandSet());
    connect(m_stepInput.get(), &CStepInput::toggled, this, &CPianoRollWnd::commandStateChanged);
    connect(&m_defaults, &CNoteDefaults::changed, this, [this] {
        InvalidateNotes(m_caretRect);
        m_caretRect = CaretNoteRect();
        InvalidateNotes(m_caretRect);
    });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            &CPianoRollWnd::OnHorizontalAction);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &CPianoRollWnd::OnVerticalAction);
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
        SetFirstTick(
            Geometry().ScrollStart(horizontalScrollBar()->value(), m_options.scrollMeasure != 0));
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CPianoRollWnd::commandStateChanged);
    UpdateScrollRanges();
}

CPianoRollWnd::~CPianoRollWnd() {
    // The controller's drags and timers refer to this canvas; they go first, after the step
    // input that moves its caret.
    m_stepInput.reset();
    m_controller.reset();
}

// The ruler's fonts follow the desktop's font, in the 5 : 4 proportion of the bold measure
// numbers to the medium markers, and the ruler grows until both rows of markers fit: a
// larger font or a higher screen scale must never make the rows overprint each other.
void CPianoRollWnd::CreateRulerFonts() {
    const int base = std::max(QFontInfo(font()).pixelSize(), kMinFontPixels);
    m_boldFont = font();
    m_boldFont.setPixelSize(base);
    m_boldFont.setWeight(QFont::Bold);
    m_mediumFont = font();
    m_mediumFont.setPixelSize(std::max(base * 4 / 5, kMinFontPixels));
    m_mediumFont.setWeight(QFont::Medium);
    const int scrollBar = std::max(horizontalScrollBar()->sizeHint().height(), 12);
    m_rulerHeight = CPianoRollRuler::HeightFor(m_boldFont, m_mediumFont, scrollBar);
}

CPianoRollGeometry CPianoRollWnd::Geometry() const {
    CPianoRollGeometry::VIEW view;
    view.zoomX =
        std::clamp(m_options.pianoRollZoomX, options_range::kZoomXMin, options_range::kZoomXMax);
    view.zoomY =
        std::clamp(m_options.pianoRollZoomY, options_range::kZoomYMin, options_range::kZoomYMax);
    view.firstTick = horizontalScrollBar()->value();
    view.firstRow = verticalScrollBar()->value();
    view.rulerHeight = m_rulerHeight;
    view.width = viewport()->width();
    view.height = viewport()->height();
    view.fit = m_defaults.Fit();
    return CPianoRollGeometry(m_edit.Project().data.beats, view);
}

// ---- the frame's interface --------------------------------------------------------------

void CPianoRollWnd::Refresh(bool reset) {
    m_controller->Refresh(reset);
    UpdateScrollRanges();
    if (reset) {
        SetPlayLine(0, false);
        horizontalScrollBar()->setValue(0);
    }
    InvalidateAll();
    EmitStatus();
    emit commandStateChanged();
}

int32_t CPianoRollWnd::CaretPosition() const {
    return m_controller->CaretPosition();
}

int CPianoRollWnd::CaretRow() const {
    return m_controller->CaretRow();
}

void CPianoRollWnd::SetCaret(int32_t position, int row) {
    m_controller->SetCaret(position, row, true);
}

void CPianoRollWnd::SetPlayLine(int32_t tick, bool scroll) {
    tick = std::max(tick, 0);
    if (tick != m_playLine) {
        const CPianoRollGeometry g = Geometry();
        InvalidateOverlay(LineRect(g.XOfTick(m_playLine)));
        m_playLine = tick;
        InvalidateOverlay(LineRect(g.XOfTick(m_playLine)));
    }
    if (scroll)
        EnsureTickVisible(tick);
}

int CPianoRollWnd::VerticalScroll() const {
    return verticalScrollBar()->value();
}

void CPianoRollWnd::SetVerticalScroll(int row) {
    verticalScrollBar()->setValue(row);
}

void CPianoRollWnd::SetOutputVolumeSource(std::function<double()> volume) {
    m_preview->SetOutputVolume(std::move(volume));
}

void CPianoRollWnd::NotesChanged() {
    InvalidateAll();
    EmitStatus();
    emit commandStateChanged();
}

void CPianoRollWnd::EmitStatus() {
    const CProject& project = m_edit.Project();
    size_t selected = 0;
    if (project.currentTrack >= 0 && project.currentTrack < static_cast<int>(project.tracks.size()))
        selected = project.tracks[static_cast<size_t>(project.currentTrack)].Selection().size();
    emit statusChanged(piano_roll_text::SelectionMessage(selected),
                       piano_roll_text::KeyName(CaretRow()),
                       QString::fromStdString(FormatPosition(project.data.beats, CaretPosition())));
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, CaretReading());
        QAccessible::updateAccessibility(&event);
    }
}

QString CPianoRollWnd::CaretReading() const {
    const CBeats& beats = m_edit.Project().data.beats;
    const CNote* note = NoteAtCaret();
    return piano_roll_text::CaretReading(
        QString::fromStdString(FormatPosition(beats, CaretPosition())), CaretRow(), note,
        note != nullptr ? QString::fromStdString(FormatPosition(beats, note->position))
                        : QString());
}

const CNote* CPianoRollWnd::NoteAtCaret() const {
    const CProject& project = m_edit.Project();
    if (project.currentTrack < 0 || project.currentTrack >= static_cast<int>(project.tracks.size()))
        return nullptr;
    const CTrack& track = project.tracks[static_cast<size_t>(project.currentTrack)];
    const size_t bucket = static_cast<size_t>(CTrack::BucketOf(CaretPosition()));
    if (bucket >= track.BucketCount())
        return nullptr;
    for (const CNote* segment : track.Bucket(bucket))
        if (segment->key == CaretRow() && segment->Covers(CaretPosition()))
            return segment;
    return nullptr;
}

// ---- painting ---------------------------------------------------------------------------

QRect CPianoRollWnd::LineRect(int64_t x) const {
    const CPianoRollGeometry g = Geometry();
    if (x < kKeyColumn || x >= g.Width())
        return {};
    return QRect(static_cast<int>(x), m_rulerHeight, 1, g.NotesBottom() - m_rulerHeight);
}

QRect CPianoRollWnd::CaretNoteRect() const {
    return m_controller->NoteRect(m_controller->Caret());
}

void CPianoRollWnd::InvalidateNotes(const QRect& rect) {
    const QRect r = rect & viewport()->rect();
    if (r.isEmpty())
        return;
    m_dirty += r;
    viewport()->update(r);
}

void CPianoRollWnd::InvalidateAll() {
    m_dirty = viewport()->rect();
    viewport()->update();
}

void CPianoRollWnd::InvalidateOverlay(const QRect& rect) {
    if (!rect.isEmpty())
        viewport()->update(rect);
}

void CPianoRollWnd::paintEvent(QPaintEvent*) {
    RenderCache();
    QPainter painter(viewport());
    painter.drawPixmap(0, 0, m_cache);
    PaintOverlay(painter);
}

void CPianoRollWnd::RenderCache() {
    const QSize size = viewport()->size();
    const qreal ratio = viewport()->devicePixelRatioF();
    if (m_cache.size() != size * ratio || m_cache.devicePixelRatio() != ratio) {
        m_cache = QPixmap(size * ratio);
        m_cache.setDevicePixelRatio(ratio);
        m_dirty = QRect(QPoint(0, 0), size);
    }
    if (m_dirty.isEmpty() || size.isEmpty())
        return;
    const CPianoRollGeometry g = Geometry();
    const CNote caret = m_controller->Caret();
    const PIANO_ROLL_SCENE scene{g,
                                 m_edit.Project(),
                                 m_options,
                                 caret,
                                 m_boldFont,
                                 m_mediumFont,
                                 palette().color(QPalette::Dark)};
    const CPianoRollPainter painter(scene);
    QPainter cachePainter(&m_cache);
    if (m_dirty.rectCount() > kMaxDirtyRects)
        painter.Paint(cachePainter, m_dirty.boundingRect());
    else
        for (const QRect& rect : m_dirty)
            painter.Paint(cachePainter, rect);
    m_dirty = QRegion();
    m_caretRect = CaretNoteRect();
}

void CPianoRollWnd::PaintOverlay(QPainter& painter) const {
    const CPianoRollGeometry g = Geometry();
    if (m_options.viewPosCaret != 0) {
        const QRect caret = LineRect(g.XOfTick(CaretPosition()));
        if (!caret.isEmpty())
            painter.fillRect(caret, colors::Inverse(colors::FromBgr(m_options.crSelectedNote)));
    }
    const QRect play = LineRect(g.XOfTick(m_playLine));
    if (!play.isEmpty())
        painter.fillRect(play, colors::Inverse(colors::FromBgr(m_options.crNote)));
    m_controller->PaintOverlay(painter, g);
}

// ---- scrolling and zoom -----------------------------------------------------------------

void CPianoRollWnd::UpdateScrollRanges() {
    const CPianoRollGeometry g = Geometry();
    QScrollBar* h = horizontalScrollBar();
    const int64_t page = g.PageTicks();
    const int64_t end = g.RangeEnd(m_edit.Project().GetEndTick()) - page;
    h->setRange(
        0, static_cast<int>(std::clamp<int64_t>(std::max<int64_t>(end, h->value()), 0, kMaxTick)));
    h->setPageStep(static_cast<int>(std::max<int64_t>(page, 1)));
    const int32_t value = h->value();
    h->setSingleStep(std::max(g.LineRight(value, m_options.scrollMeasure != 0) - value, 1));
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, g.MaxFirstRow());
    v->setPageStep(std::max(g.PageRows(), 1));
    v->setSingleStep(1);
}

// Line steps go from beat to beat or measure to measure ("ScrollMeasure"), pages by a
// measure, and the thumb settles on a beat or measure start.
void CPianoRollWnd::OnHorizontalAction(int action) {
    QScrollBar* bar = horizontalScrollBar();
    const CPianoRollGeometry g = Geometry();
    const bool byMeasure = m_options.scrollMeasure != 0;
    const int32_t value = bar->value();
    int64_t target = value;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        target = g.LineRight(value, byMeasure);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        target = g.LineLeft(value, byMeasure);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        target = g.PageRight(value);
        break;
    case QAbstractSlider::SliderPageStepSub:
        target = g.PageLeft(value);
        break;
    case QAbstractSlider::SliderMove:
        target = g.ScrollStart(bar->sliderPosition(), byMeasure);
        break;
    default:
        return;
    }
    target = std::clamp<int64_t>(target, 0, kMaxTick);
    if (target > bar->maximum())
        bar->setMaximum(static_cast<int>(target));
    bar->setSliderPosition(static_cast<int>(target));
}

void CPianoRollWnd::OnVerticalAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    if (action == QAbstractSlider::SliderPageStepAdd)
        bar->setSliderPosition(bar->value() + kOctaveRows);
    else if (action == QAbstractSlider::SliderPageStepSub)
        bar->setSliderPosition(bar->value() - kOctaveRows);
}

void CPianoRollWnd::SetFirstTick(int64_t tick) {
    QScrollBar* bar = horizontalScrollBar();
    tick = std::clamp<int64_t>(tick, 0, kMaxTick);
    if (tick > bar->maximum())
        bar->setMaximum(static_cast<int>(tick));
    bar->setValue(static_cast<int>(tick));
}

void CPianoRollWnd::scrollContentsBy(int dx, int) {
    const CPianoRollGeometry g = Geometry();
    const int32_t value = horizontalScrollBar()->value();
    horizontalScrollBar()->setSingleStep(
        std::max(g.LineRight(value, m_options.scrollMeasure != 0) - value, 1));
    // Rows scrolling leave the ruler as it is.
    if (dx == 0)
        InvalidateNotes(QRect(0, m_rulerHeight, g.Width(), g.Height() - m_rulerHeight));
    else
        InvalidateAll();
}

bool CPianoRollWnd::ScrollLines(int dx, int dy) {
    const CPianoRollGeometry g = Geometry();
    const int32_t firstTick = g.FirstTick();
    const int firstRow = g.FirstRow();
    const bool byMeasure = m_options.scrollMeasure != 0;
    if (dx > 0)
        SetFirstTick(g.LineRight(firstTick, byMeasure));
    else if (dx < 0)
        SetFirstTick(g.LineLeft(firstTick, byMeasure));
    if (dy != 0)
        verticalScrollBar()->setValue(firstRow + (dy > 0 ? 1 : -1));
    return horizontalScrollBar()->value() != firstTick || verticalScrollBar()->value() != firstRow;
}

void CPianoRollWnd::ScrollToShow(int32_t tick, int row) {
    EnsureTickVisible(tick);
    EnsureRowVisible(row);
}

// A tick out of sight brings the view to the measure or beat start that holds it.
void CPianoRollWnd::EnsureTickVisible(int32_t tick) {
    const CPianoRollGeometry g = Geometry();
    if (!g.IsTickVisible(tick))
        SetFirstTick(g.ScrollStart(tick, m_options.scrollMeasure != 0));
}

void CPianoRollWnd::EnsureRowVisible(int row) {
    const CPianoRollGeometry g = Geometry();
    const int page = std::max(g.PageRows(), 1);
    if (row < g.FirstRow())
        verticalScrollBar()->setValue(row);
    else if (row >= g.FirstRow() + page)
        verticalScrollBar()->setValue(row - page + 1);
}

void CPianoRollWnd::SetZoom(int zoomX, int zoomY) {
    m_options.pianoRollZoomX = zoomX;
    m_options.pianoRollZoomY = zoomY;
    UpdateScrollRanges();
    InvalidateAll();
}

void CPianoRollWnd::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    CreateRulerFonts();
    UpdateScrollRanges();
    InvalidateAll();
}

void CPianoRollWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
    InvalidateAll();
}

// ---- events -----------------------------------------------------------------------------

void CPianoRollWnd::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    m_controller->Press(event->position().toPoint(), event->button(), event->modifiers());
}

void CPianoRollWnd::mouseMoveEvent(QMouseEvent* event) {
    m_controller->Move(event->position().toPoint(), event->buttons());
}

void CPianoRollWnd::mouseReleaseEvent(QMouseEvent* event) {
    m_controller->Release(event->position().toPoint(), event->button());
}

void CPianoRollWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    m_controller->DoubleClick(event->position().toPoint(), event->button(), event->modifiers());
}

void CPianoRollWnd::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QPoint delta = event->angleDelta();
    const bool horizontal =
        (event->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    m_wheelRemainder += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches == 0)
        return;
    // A wheel turned away from the user scrolls up, or with Shift to the left.
    if (horizontal) {
        for (int i = 0; i < std::abs(notches); ++i)
            ScrollLines(notches > 0 ? -1 : 1, 0);
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - notches * QApplication::wheelScrollLines());
}

namespace {

// Keys without Ctrl, Alt or Meta: the caret keys, and the musical keys of step input.
bool IsPlain(const QKeyEvent* event) {
    return !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

STEP_KEY StepKeyOfEvent(const QKeyEvent* event) {
    return StepKeyOf(event->nativeScanCode(), event->key());
}

} // namespace

void CPianoRollWnd::keyPressEvent(QKeyEvent* event) {
    const bool plain = IsPlain(event);
    if (plain && m_stepInput->KeyPress(StepKeyOfEvent(event), event->isAutoRepeat())) {
        event->accept();
        return;
    }
    if (plain && m_controller->Key(event->key())) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// A release counts whatever modifiers are held by then, so a chord still ends.
void CPianoRollWnd::keyReleaseEvent(QKeyEvent* event) {
    if (m_stepInput->KeyRelease(StepKeyOfEvent(event), event->isAutoRepeat())) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CPianoRollWnd::contextMenuEvent(QContextMenuEvent* event) {
    m_controller->ContextMenu(event->pos(), event->reason() == QContextMenuEvent::Keyboard,
                              event->modifiers());
    event->accept();
}

void CPianoRollWnd::focusOutEvent(QFocusEvent* event) {
    // Another window or a pop-up took the mouse: the drag ends as on release.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        m_controller->CaptureLost();
    // The releases of held keys go to whoever has the focus now.
    m_stepInput->ReleaseAll();
    QAbstractScrollArea::focusOutEvent(event);
}

bool CPianoRollWnd::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        ShowToolTip(help->pos(), help->globalPos());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CPianoRollWnd::ShowToolTip(const QPoint& pos, const QPoint& globalPos) {
    const CPianoRollGeometry g = Geometry();
    const CProject& project = m_edit.Project();
    const bool inNotes = g.AreaOf(pos.x(), pos.y()) == CPianoRollGeometry::Area::kNotes;
    if (inNotes && project.currentTrack >= 0 &&
        project.currentTrack < static_cast<int>(project.tracks.size())) {
        const CPianoRollHitTest hits(project.tracks[static_cast<size_t>(project.currentTrack)], g,
                                     project.data.tempos, m_options.viewPortamento != 0);
        if (const CNote* note = hits.NoteAt(pos.x(), pos.y()).note) {
            QToolTip::showText(globalPos, piano_roll_text::NoteToolTip(*note), viewport(),
                               m_controller->NoteRect(*note));
            return;
        }
    }
    QToolTip::hideText();
}

// ---- IPianoRollCanvas -------------------------------------------------------------------

void CPianoRollWnd::ShowCursor(const QCursor& cursor) {
    viewport()->setCursor(cursor);
}

void CPianoRollWnd::GrabPointer(bool grab) {
    if (grab)
        viewport()->grabMouse();
    else
        viewport()->releaseMouse();
}

void CPianoRollWnd::DragPlayLine(int32_t tick) {
    SetPlayLine(tick, false);
    emit playStartDragged(tick);
}

void CPianoRollWnd::CaretMoved(const CNote& old) {
    const CPianoRollGeometry g = Geometry();
    InvalidateNotes(m_caretRect);
    m_caretRect = CaretNoteRect();
    InvalidateNotes(m_caretRect);
    InvalidateOverlay(LineRect(g.XOfTick(old.position)));
    InvalidateOverlay(LineRect(g.XOfTick(CaretPosition())));
    EmitStatus();
}

void CPianoRollWnd::SelectionChanged() {
    EmitStatus();
    emit commandStateChanged();
}

void CPianoRollWnd::RequestCommand(int id) {
    emit commandRequested(id);
}

void CPianoRollWnd::RequestContextMenu(const QPoint& pos) {
    emit contextMenuRequested(viewport()->mapToGlobal(pos));
}
