#pragma once
// "テンポ": one tempo change and its position.

#include "dialogs/CTimelineItemDialog.h"
#include "model/CTempoList.h"

class CDecimalEdit;

class CTempoDialog : public CTimelineItemDialog {
    Q_OBJECT
public:
    explicit CTempoDialog(QWidget* parent = nullptr);

    void SetTempo(const TEMPO& tempo);
    TEMPO GetTempo() const;

private:
    CDecimalEdit* m_tempo;
};
