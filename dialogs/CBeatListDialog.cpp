#include "dialogs/CBeatListDialog.h"

#include "dialogs/CBeatDialog.h"
#include "dialogs/internal/DialogUtil.h"
#include <QCoreApplication>

CBeatListDialog::CBeatListDialog(QWidget* parent)
    : CListDialog(QCoreApplication::translate("CBeatListDialog", "拍子の設定"),
                  QCoreApplication::translate("CBeatListDialog", "小節"),
                  QCoreApplication::translate("CBeatListDialog", "拍子"), parent) {
    Refill();
}

void CBeatListDialog::SetList(const CBeats& beats) {
    m_beats = beats;
    Refill();
}

int CBeatListDialog::Count() const {
    return static_cast<int>(m_beats.size());
}

QStringList CBeatListDialog::RowTexts(int row) const {
    const BEAT& b = m_beats[size_t(row)];
    return {QString::number(int64_t{b.measure} + 1),
            QString::asprintf("%d / %d", b.beat, b.baseBeat)};
}

std::optional<int> CBeatListDialog::AddEntry() {
    CBeatDialog dialog(this);
    dialog.setWindowTitle(tr("拍子の追加"));
    dialog.SetBeat(BEAT{});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<int>(m_beats.Set(dialog.GetBeat()));
}

std::optional<int> CBeatListDialog::EditEntry(int row) {
    CBeatDialog dialog(this);
    dialog.setWindowTitle(tr("拍子の編集"));
    dialog.SetFirst(row == 0);
    dialog.SetBeat(m_beats[size_t(row)]);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg::PutBackEdited(m_beats, row, dialog.GetBeat(), &BEAT::measure);
}

void CBeatListDialog::DeleteEntry(int row) {
    dlg::RemoveEntry(m_beats, row, &BEAT::measure);
}
