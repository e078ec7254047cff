#pragma once
// The song-wide commands of the frame: project settings, the volume, tempo and beat lists,
// the endless loop, and the entries added at the caret. Each dialog edits a copy; only OK
// takes the edit path of CEditController.
//
// Thread: the user-interface thread only.

#include <QObject>

#include <cstdint>

class CEditController;
class CPlaybackController;
class QWidget;

class CProjectCommands : public QObject {
    Q_OBJECT
public:
    CProjectCommands(CEditController& edit, CPlaybackController& playback, QWidget* dialogParent,
                     QObject* parent = nullptr);

    bool EditProjectSettings();
    bool EditVolumeList();
    bool EditTempoList();
    bool EditBeatList();
    bool EditLoop();
    // The entries at the caret: the dialog starts with the value in force there.
    bool AddVolumeAt(int32_t caret);
    bool AddTempoAt(int32_t caret);
    bool AddBeatAt(int32_t caret);
    void SetLoopStart(int32_t caret);
    void SetLoopEnd(int32_t caret);

private:
    CEditController& m_edit;
    CPlaybackController& m_playback;
    QWidget* m_dialogParent;
};
