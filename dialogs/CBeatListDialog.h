#pragma once
// "拍子の設定": the song's time signatures. Edits a copy of the list.

#include "dialogs/CListDialog.h"
#include "model/CBeats.h"

class CBeatListDialog : public CListDialog {
    Q_OBJECT
public:
    explicit CBeatListDialog(QWidget* parent = nullptr);

    void SetList(const CBeats& beats);
    const CBeats& GetList() const { return m_beats; }

private:
    int Count() const override;
    QStringList RowTexts(int row) const override;
    std::optional<int> AddEntry() override;
    std::optional<int> EditEntry(int row) override;
    void DeleteEntry(int row) override;

    CBeats m_beats;
};
