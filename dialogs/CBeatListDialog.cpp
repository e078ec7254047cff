#include "dialogs/CBeatListDialog.h"

#include "dialogs/CBeatDialog.h"

CBeatListDialog::CBeatListDialog(QWidget* parent)
    : CListDialog(QStringLiteral("拍子の設定"), QStringLiteral("小節"), QStringLiteral("拍子"),
                  parent) {
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
    dialog.setWindowTitle(QStringLiteral("拍子の追加"));
    dialog.SetBeat(BEAT{});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<int>(m_beats.Set(dialog.GetBeat()));
}

std::optional<int> CBeatListDialog::EditEntry(int row) {
    const BEAT old = m_beats[size_t(row)];
    CBeatDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("拍子の編集"));
    dialog.SetFirst(row == 0);
    dialog.SetBeat(old);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const BEAT edited = dialog.GetBeat();
    if (edited.measure == old.measure) {
        m_beats.SetAt(size_t(row), edited);
        return row;
    }
    m_beats.RemoveAt(size_t(row));
    return static_cast<int>(m_beats.Set(edited));
}

void CBeatListDialog::DeleteEntry(int row) {
    m_beats.RemoveAt(size_t(row));
    if (row == 0) {
        BEAT first = m_beats[0];
        first.measure = 0;
        m_beats.SetAt(0, first);
    }
}
