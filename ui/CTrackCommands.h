#pragma once
// The track commands of the frame: add, duplicate, move up and down, mute, mute the
// others, unmute all and the sound dialog, with their enabling rules. Each change goes
// through CEditController's edit path, which also refuses a track beyond the song's limit.
//
// Thread: the user-interface thread only.

#include <QObject>

#include <functional>
#include <utility>

class CEditController;
class CTrackDialog;
class QWidget;

class CTrackCommands : public QObject {
    Q_OBJECT
public:
    CTrackCommands(CEditController& edit, QWidget* dialogParent, QObject* parent = nullptr);

    // Prepares the dialog of "追加" before it shows (the preset buttons).
    void SetDialogSetup(std::function<void(CTrackDialog&)> setup) {
        m_setupDialog = std::move(setup);
    }

    // False when the dialog is cancelled or the song holds as many tracks as it may.
    bool Add();
    void Duplicate();
    void MoveUp();
    void MoveDown();
    void ToggleMute();
    void MuteOthers();
    void UnmuteAll();
    // "音色の設定": the PCM, wave-memory or FM dialog of the current track.
    bool EditSound();

    bool HasCurrentTrack() const;
    bool CanMoveUp() const;
    bool CanMoveDown() const;
    bool CanMuteOthers() const;
    bool CanEditSound() const;
    bool IsCurrentMuted() const;

private:
    void Exchange(int offset);

    CEditController& m_edit;
    QWidget* m_dialogParent;
    std::function<void(CTrackDialog&)> m_setupDialog;
};
