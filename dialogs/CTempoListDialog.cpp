#include "dialogs/CTempoListDialog.h"

#include "dialogs/CTempoDialog.h"
#include "dialogs/internal/DialogUtil.h"
#include <QCoreApplication>

CTempoListDialog::CTempoListDialog(QWidget* parent)
    : CListDialog(QCoreApplication::translate("CTempoListDialog", "テンポの設定"),
                  QCoreApplication::translate("CTempoListDialog", "位置"),
                  QCoreApplication::translate("CTempoListDialog", "テンポ"), parent) {
    Refill();
}

void CTempoListDialog::SetBeats(const CBeats* beats) {
    m_pBeats = beats;
    Refill();
}

void CTempoListDialog::SetList(const CTempoList& tempos) {
    m_tempos = tempos;
    Refill();
}

int CTempoListDialog::Count() const {
    return static_cast<int>(m_tempos.size());
}

QStringList CTempoListDialog::RowTexts(int row) const {
    const TEMPO& t = m_tempos[size_t(row)];
    return {dlg::PositionText(m_pBeats, t.position), dlg::FormatTempo(t.tempo)};
}

std::optional<int> CTempoListDialog::AddEntry() {
    CTempoDialog dialog(this);
    dialog.setWindowTitle(tr("テンポの追加"));
    dialog.SetBeats(m_pBeats);
    dialog.SetTempo(TEMPO{});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<int>(m_tempos.Set(dialog.GetTempo()));
}

std::optional<int> CTempoListDialog::EditEntry(int row) {
    CTempoDialog dialog(this);
    dialog.setWindowTitle(tr("テンポの編集"));
    dialog.SetBeats(m_pBeats);
    dialog.SetFirst(row == 0);
    dialog.SetTempo(m_tempos[size_t(row)]);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg::PutBackEdited(m_tempos, row, dialog.GetTempo(), &TEMPO::position);
}

void CTempoListDialog::DeleteEntry(int row) {
    dlg::RemoveEntry(m_tempos, row, &TEMPO::position);
}
