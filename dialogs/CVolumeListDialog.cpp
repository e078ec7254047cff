#include "dialogs/CVolumeListDialog.h"

#include "dialogs/CVolumeDialog.h"
#include "model/PositionText.h"

CVolumeListDialog::CVolumeListDialog(QWidget* parent)
    : CListDialog(QStringLiteral("音量の設定"), QStringLiteral("位置"), QStringLiteral("音量"),
                  parent) {
    Refill();
}

void CVolumeListDialog::SetBeats(const CBeats* beats) {
    m_pBeats = beats;
    Refill();
}

void CVolumeListDialog::SetList(const CVolumeList& volumes) {
    m_volumes = volumes;
    Refill();
}

int CVolumeListDialog::Count() const {
    return static_cast<int>(m_volumes.size());
}

QStringList CVolumeListDialog::RowTexts(int row) const {
    static const CBeats plainFourFour;
    const VOLUME& v = m_volumes[size_t(row)];
    const CBeats& beats = m_pBeats != nullptr ? *m_pBeats : plainFourFour;
    return {QString::fromStdString(FormatPosition(beats, v.position)), QString::number(v.volume)};
}

std::optional<int> CVolumeListDialog::AddEntry() {
    CVolumeDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("音量の追加"));
    dialog.SetBeats(m_pBeats);
    dialog.SetVolume(VOLUME{});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<int>(m_volumes.Set(dialog.GetVolume()));
}

std::optional<int> CVolumeListDialog::EditEntry(int row) {
    const VOLUME old = m_volumes[size_t(row)];
    CVolumeDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("音量の編集"));
    dialog.SetBeats(m_pBeats);
    dialog.SetFirst(row == 0);
    dialog.SetVolume(old);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const VOLUME edited = dialog.GetVolume();
    if (edited.position == old.position) {
        m_volumes.SetAt(size_t(row), edited);
        return row;
    }
    m_volumes.RemoveAt(size_t(row));
    return static_cast<int>(m_volumes.Set(edited));
}

void CVolumeListDialog::DeleteEntry(int row) {
    m_volumes.RemoveAt(size_t(row));
    if (row == 0) {
        VOLUME first = m_volumes[0];
        first.position = 0;
        m_volumes.SetAt(0, first);
    }
}
