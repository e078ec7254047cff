#include "dialogs/CKeyboardWnd.h"

#include "common/CHeldKeys.h"
#include "preview/CPreviewEngine.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace {

const QColor kLineColor(0x40, 0x40, 0x40);

// First pixel row of the lower part, where black columns belong to white keys: y ≥ 3/5 h.
int LowerTop(int height) {
    return (3 * height + 4) / 5;
}

} // namespace

CKeyboardWnd::CKeyboardWnd(QWidget* parent)
    : QWidget(parent), m_engine(std::make_unique<CPreviewEngine>()) {
    setObjectName(QStringLiteral("Keyboard_Class"));
    setAccessibleName(tr("鍵盤"));
    setAccessibleDescription(tr("クリックするか、キーボードのキーを押すと、その音を試聴します。"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&CHeldKeys::Instance(), &CHeldKeys::changed, this, &CKeyboardWnd::UpdateKey);
}

CKeyboardWnd::~CKeyboardWnd() {
    m_engine->Close();
}

void CKeyboardWnd::SetPreview(const CProject* project, const CTrack* track, int bufferMs) {
    Release();
    m_engine->Close();
    m_project = project;
    m_track = track;
    m_bufferMs = bufferMs;
    m_engineStale = true;
}

void CKeyboardWnd::SetFocusKey(int key) {
    key = std::clamp(key, kFirstKey, kLastKey);
    if (key == m_focusKey)
        return;
    UpdateKey(m_focusKey);
    m_focusKey = key;
    UpdateKey(m_focusKey);
}

bool CKeyboardWnd::IsBlack(int key) {
    const int semitone = ((key % 12) + 12) % 12;
    return semitone == 1 || semitone == 3 || semitone == 6 || semitone == 8 || semitone == 10;
}

int CKeyboardWnd::KeyAt(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0)
        return kFirstKey;
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    const int column = std::min(int(int64_t(x) * kKeyCount / width), kKeyCount - 1);
    const int key = kFirstKey + column;
    if (!IsBlack(key) || y < LowerTop(height))
        return key;
    // Left half of the column: x - column × width / 73 < width / 146, in whole numbers.
    const bool leftHalf = 2 * (int64_t(x) * kKeyCount - int64_t(column) * width) < width;
    return leftHalf ? key - 1 : key + 1;
}

QSize CKeyboardWnd::sizeHint() const {
    return QSize(kKeyCount * 7 + 1, 56);
}

QSize CKeyboardWnd::minimumSizeHint() const {
    return QSize(kKeyCount * 3 + 1, 32);
}

int CKeyboardWnd::ColumnLeft(int column) const {
    return static_cast<int>(int64_t(column) * width() / kKeyCount);
}

QRect CKeyboardWnd::ColumnRect(int key) const {
    const int column = key - kFirstKey;
    const int left = ColumnLeft(column);
    const int right = ColumnLeft(column + 1);
    if (IsBlack(key))
        return QRect(left, 0, right - left, LowerTop(height()));
    return QRect(left, 0, right - left, height());
}

// The first pixel of a column's right half: the smallest x with 2 × (73x − column × width)
// ≥ width, as in KeyAt.
int CKeyboardWnd::SplitX(int column) const {
    return static_cast<int>((int64_t(2 * column + 1) * width() + 2 * kKeyCount - 1) /
                            (2 * kKeyCount));
}

QRegion CKeyboardWnd::KeyRegion(int key) const {
    QRegion region(ColumnRect(key));
    if (IsBlack(key))
        return region;
    const int lower = LowerTop(height());
    const int lowerHeight = height() - lower;
    const int column = key - kFirstKey;
    if (key > kFirstKey && IsBlack(key - 1))
        region +=
            QRect(SplitX(column - 1), lower, ColumnLeft(column) - SplitX(column - 1), lowerHeight);
    if (key < kLastKey && IsBlack(key + 1))
        region += QRect(ColumnLeft(column + 1), lower, SplitX(column + 1) - ColumnLeft(column + 1),
                        lowerHeight);
    return region;
}

void CKeyboardWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int key = kFirstKey; key <= kLastKey; ++key)
        PaintKey(painter, key);
    painter.setPen(kLineColor);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = ColumnRect(m_focusKey).adjusted(1, 1, -1, -1);
        option.backgroundColor = IsBlack(m_focusKey) ? Qt::black : Qt::white;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

// White keys are separated where they meet directly (a line on the left of C and F) and in
// the middle of the lower part of each black column.
void CKeyboardWnd::PaintKey(QPainter& painter, int key) const {
    const bool black = IsBlack(key);
    QColor fill = black ? QColor(Qt::black) : QColor(Qt::white);
    if (key == m_soundingKey || CHeldKeys::Instance().IsHeld(key))
        fill = palette().color(QPalette::Highlight);
    const QRegion region = KeyRegion(key);
    for (const QRect& r : region)
        painter.fillRect(r, fill);
    painter.setPen(kLineColor);
    const QRect column = ColumnRect(key);
    const int semitone = key % 12;
    if (!black && (semitone == 0 || semitone == 5) && key > kFirstKey)
        painter.drawLine(column.left(), 0, column.left(), height() - 1);
    if (black) {
        painter.drawRect(column.adjusted(0, 0, -1, -1));
        const int split = SplitX(key - kFirstKey);
        painter.drawLine(split, LowerTop(height()), split, height() - 1);
    }
}

void CKeyboardWnd::UpdateKey(int key) {
    if (key >= kFirstKey && key <= kLastKey)
        update(KeyRegion(key).boundingRect().adjusted(-1, 0, 1, 0));
}

// The key still sounding is stopped before the owner hears of the new one, so the owner may
// change the preview track in its noteOn handler without touching a track that renders.
void CKeyboardWnd::Sound(int key) {
    if (key == m_soundingKey)
        return;
    m_engine->Stop();
    const int previous = m_soundingKey;
    m_soundingKey = key;
    UpdateKey(previous);
    UpdateKey(key);
    emit noteOn(key);
    if (m_engineStale && m_project != nullptr && m_track != nullptr) {
        m_engine->Open(m_project, m_track, m_bufferMs);
        m_engineStale = false;
    }
    m_engine->Play(key);
}

void CKeyboardWnd::Release() {
    if (m_soundingKey < 0)
        return;
    const int key = m_soundingKey;
    m_engine->Stop();
    m_soundingKey = -1;
    UpdateKey(key);
    emit noteOff(key);
}

void CKeyboardWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_mouseHeld)
        return;
    m_mouseHeld = true;
    const QPoint at = event->position().toPoint();
    Sound(KeyAt(at.x(), at.y(), width(), height()));
}

void CKeyboardWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!m_mouseHeld)
        return;
    const QPoint at = event->position().toPoint();
    Sound(KeyAt(at.x(), at.y(), width(), height()));
}

void CKeyboardWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_mouseHeld)
        return;
    m_mouseHeld = false;
    if (!m_spaceHeld)
        Release();
}

void CKeyboardWnd::keyPressEvent(QKeyEvent* event) {
    const int key = m_focusKey;
    switch (event->key()) {
    case Qt::Key_Left:
        SetFocusKey(key - 1);
        break;
    case Qt::Key_Right:
        SetFocusKey(key + 1);
        break;
    case Qt::Key_Up:
        if (!IsBlack(key) && key < kLastKey && IsBlack(key + 1))
            SetFocusKey(key + 1);
        break;
    case Qt::Key_Down:
        if (IsBlack(key))
            SetFocusKey(key - 1);
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat() && !m_spaceHeld && !m_mouseHeld) {
            m_spaceHeld = true;
            Sound(key);
        }
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CKeyboardWnd::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (m_spaceHeld) {
        m_spaceHeld = false;
        if (!m_mouseHeld)
            Release();
    }
    event->accept();
}

void CKeyboardWnd::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    UpdateKey(m_focusKey);
}

// The release of a Space held while the focus leaves goes to another window; the key must
// not sound on until the next press.
void CKeyboardWnd::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (m_spaceHeld) {
        m_spaceHeld = false;
        if (!m_mouseHeld)
            Release();
    }
    UpdateKey(m_focusKey);
}

void CKeyboardWnd::hideEvent(QHideEvent* event) {
    m_mouseHeld = false;
    m_spaceHeld = false;
    Release();
    QWidget::hideEvent(event);
}
