#include "dialogs/CTempoListDialog.h"

#include "dialogs/CTempoDialog.h"
#include "dialogs/internal/DialogUtil.h"
#include "model/PositionText.h"

CTempoListDialog::CTempoListDialog(QWidget* parent)
    : CListDialog(QStringLiteral("テンポの設定"), QStringLiteral("位置"), QStringLiteral("テンポ"),
                  parent) {
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
    static const CBeats plainFourFour;
    const TEMPO& t = m_tempos[size_t(row)];
    const CBeats& beats = m_pBeats != nullptr ? *m_pBeats : plainFourFour;
    return {QString::fromStdString(FormatPosition(beats, t.position)), dlg::FormatTempo(t.tempo)};
}

std::optional<int> CTempoListDialog::AddEntry() {
    CTempoDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("テンポの追加"));
    dialog.SetBeats(m_pBeats);
    dialog.SetTempo(TEMPO{});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<int>(m_tempos.Set(dialog.GetTempo()));
}

std::optional<int> CTempoListDialog::EditEntry(int row) {
    const TEMPO old = m_tempos[size_t(row)];
    CTempoDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("テンポの編集"));
    dialog.SetBeats(m_pBeats);
    dialog.SetFirst(row == 0);
    dialog.SetTempo(old);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const TEMPO edited = dialog.GetTempo();
    if (edited.position == old.position) {
        m_tempos.SetAt(size_t(row), edited);
        return row;
    }
    m_tempos.RemoveAt(size_t(row));
    return static_cast<int>(m_tempos.Set(edited));
}

void CTempoListDialog::DeleteEntry(int row) {
    m_tempos.RemoveAt(size_t(row));
    if (row == 0) {
        TEMPO first = m_tempos[0];
        first.position = 0;
        m_tempos.SetAt(0, first);
    }
}
