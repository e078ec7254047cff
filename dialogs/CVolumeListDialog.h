#pragma once
// "音量の設定": the song's master-volume changes. Edits a copy of the list.

#include "dialogs/CListDialog.h"
#include "model/CVolumeList.h"

class CBeats;

class CVolumeListDialog : public CListDialog {
    Q_OBJECT
public:
    explicit CVolumeListDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    void SetList(const CVolumeList& volumes);
    const CVolumeList& GetList() const { return m_volumes; }

private:
    int Count() const override;
    QStringList RowTexts(int row) const override;
    std::optional<int> AddEntry() override;
    std::optional<int> EditEntry(int row) override;
    void DeleteEntry(int row) override;

    CVolumeList m_volumes;
    const CBeats* m_pBeats = nullptr;
};
