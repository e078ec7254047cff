#pragma once
// "テンポの設定": the song's tempo changes. Edits a copy of the list.

#include "dialogs/CListDialog.h"
#include "model/CTempoList.h"

class CBeats;

class CTempoListDialog : public CListDialog {
    Q_OBJECT
public:
    explicit CTempoListDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    void SetList(const CTempoList& tempos);
    const CTempoList& GetList() const { return m_tempos; }

private:
    int Count() const override;
    QStringList RowTexts(int row) const override;
    std::optional<int> AddEntry() override;
    std::optional<int> EditEntry(int row) override;
    void DeleteEntry(int row) override;

    CTempoList m_tempos;
    const CBeats* m_pBeats = nullptr;
};
