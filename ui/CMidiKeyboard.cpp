#include "ui/CMidiKeyboard.h"

#include "common/CHeldKeys.h"
#include "ui/pianoroll/CStepInput.h"

namespace {

constexpr int kRows = 96;
constexpr int kNoteOfC1 = 24; // MIDI note of the lowest row's C, with 60 = C4

} // namespace

CMidiKeyboard::CMidiKeyboard(CStepInput& step, QObject* parent) : QObject(parent), m_step(step) {
    connect(&m_input, &CMidiInput::keyEvent, this, &CMidiKeyboard::Play);
    connect(&m_input, &CMidiInput::portLost, this, [this](const QString& name) {
        emit message(
            tr("MIDI 入力ポート「%1」が見つかりません。再び接続すると使えます。").arg(name));
    });
    connect(&m_input, &CMidiInput::portConnected, this, [this](const QString& name) {
        emit message(tr("MIDI 入力ポート「%1」に接続しました。").arg(name));
    });
}

void CMidiKeyboard::Listen(const std::string& port) {
    if (port.empty()) {
        m_input.Stop();
        return;
    }
    if (m_input.Start())
        m_input.Choose(port);
}

void CMidiKeyboard::Play(const MIDI_KEY_EVENT& event) {
    const int row = RowOfNote(event.note);
    if (row < 0)
        return;
    if (event.on)
        m_step.NoteOn(row, VolumeOfVelocity(event.velocity));
    else
        m_step.NoteOff(row);
    const int key = kRows - 1 - row;
    CHeldKeys::Instance().Set(key, event.on);
    emit keyChanged(key, event.on);
}

int CMidiKeyboard::RowOfNote(int note) {
    const int key = note - kNoteOfC1;
    return key >= 0 && key < kRows ? kRows - 1 - key : -1;
}

int CMidiKeyboard::VolumeOfVelocity(int velocity) {
    return velocity * 255 / 127;
}
