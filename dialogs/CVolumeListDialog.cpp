#include "dialogs/CVolumeListDialog.h"

#include "dialogs/CVolumeDialog.h"
#include "dialogs/internal/DialogUtil.h"
#include <QCoreApplication>

CVolumeListDialog::CVolumeListDialog(QWidget* parent)
    : CListDialog(QCoreApplication::translate("CVolumeListDialog", "音量の設定"),
                  QCoreApplication::translate("CVolumeListDialog", "位置"),
                  QCoreApplication::translate("CVolumeListDialog", "音量"), parent) {
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
    const VOLUME& v = m_volumes[size_t(row)];
    return {dlg::PositionText(m_pBeats, v.position), QString::number(v.volume)};
}

std::optional<int> CVolumeListDialog::AddEntry() {
    CVolumeDialog dialog(this);
    dialog.setWindowTitle(tr("音量の追加"));
    dialog.SetBeats(m_pBeats);
    dialog.SetVolume(VOLUME{});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<int>(m_volumes.Set(dialog.GetVolume()));
}

std::optional<int> CVolumeListDialog::EditEntry(int row) {
    CVolumeDialog dialog(this);
    dialog.setWindowTitle(tr("音量の編集"));
    dialog.SetBeats(m_pBeats);
    dialog.SetFirst(row == 0);
    dialog.SetVolume(m_volumes[size_t(row)]);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg::PutBackEdited(m_volumes, row, dialog.GetVolume(), &VOLUME::position);
}

void CVolumeListDialog::DeleteEntry(int row) {
    dlg::RemoveEntry(m_volumes, row, &VOLUME::position);
}
