#pragma once
// The on-screen keyboard ("Keyboard_Class") on which the sound dialogs audition the sound
// being edited: 73 keys from key 12 (C2) to key 84 (C8), counted upward like the preview
// engine (0 = C1, 45 = A4). The width is split into 73 equal columns, one per semitone; black
// keys fill the upper 3/5 of their column, and the lower part of a black column belongs to
// the white key on that side.
//
// Pressing a key (left button, or Space for the focus key) stops the key still sounding,
// tells the owner (noteOn) and sounds the owner's preview track through the control's own
// preview engine; sliding with the button held sounds each key reached; letting go stops the
// sound and tells the owner (noteOff). The owner refreshes the preview track in its noteOn
// handler, before the key starts: the track and the project must then stay unchanged while
// the key sounds. Keys held on the MIDI keyboard (CHeldKeys) show as pressed.
//
// Thread: the user-interface thread only.

#include <QWidget>

#include <memory>

class CPreviewEngine;
class CProject;
class CTrack;

class CKeyboardWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstKey = 12;
    static constexpr int kKeyCount = 73;
    static constexpr int kLastKey = kFirstKey + kKeyCount - 1;
    static constexpr int kInitialFocusKey = 36;

    explicit CKeyboardWnd(QWidget* parent = nullptr);
    ~CKeyboardWnd() override;

    // The project and track whose sound the keys play, and the "PlayBufferSize" setting in
    // ms. The engine opens its device when the first key is pressed after this call. Both
    // must outlive the control or be replaced first.
    void SetPreview(const CProject* project, const CTrack* track, int bufferMs);

    int FocusKey() const { return m_focusKey; }
    void SetFocusKey(int key);
    // The key sounding, -1 when none.
    int SoundingKey() const { return m_soundingKey; }
    const CPreviewEngine& Engine() const { return *m_engine; }

    static bool IsBlack(int key);
    // The key under a point of a width × height keyboard; the point is clamped into it.
    static int KeyAt(int x, int y, int width, int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void noteOn(int key);
    void noteOff(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int ColumnLeft(int column) const;
    QRect ColumnRect(int key) const;
    int SplitX(int column) const;
    // Upper part of a black key; for a white key its column plus the lower halves of the
    // black columns beside it.
    QRegion KeyRegion(int key) const;
    void PaintKey(QPainter& painter, int key) const;

    void Sound(int key);
    void Release();
    void UpdateKey(int key);

    std::unique_ptr<CPreviewEngine> m_engine;
    const CProject* m_project = nullptr;
    const CTrack* m_track = nullptr;
    int m_bufferMs = 100;
    bool m_engineStale = true; // SetPreview was called since the engine was last opened
    int m_focusKey = kInitialFocusKey;
    int m_soundingKey = -1;
    bool m_mouseHeld = false;
    bool m_spaceHeld = false;
};
