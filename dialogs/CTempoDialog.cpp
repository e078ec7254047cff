#include "dialogs/CTempoDialog.h"

#include "dialogs/CDecimalEdit.h"
#include <QCoreApplication>

CTempoDialog::CTempoDialog(QWidget* parent)
    : CTimelineItemDialog(QCoreApplication::translate("CTempoDialog", "テンポ"), parent),
      m_tempo(new CDecimalEdit(this)) {
    m_tempo->setObjectName(QStringLiteral("tempo"));
    m_tempo->SetRange(10.0, 1000.0);
    AddValueRow(QCoreApplication::translate("CTempoDialog", "テンポ(&T):"), m_tempo);
    SetTempo(TEMPO{});
}

void CTempoDialog::SetTempo(const TEMPO& tempo) {
    SetPosition(tempo.position);
    m_tempo->SetValue(tempo.tempo);
}

TEMPO CTempoDialog::GetTempo() const {
    TEMPO tempo;
    tempo.position = Position();
    tempo.tempo = m_tempo->Value();
    return tempo;
}
