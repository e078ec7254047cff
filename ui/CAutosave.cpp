#include "ui/CAutosave.h"

#include "model/CProject.h"
#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/CRecoveryFile.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>

namespace {

QString WriteFailedText(const QString& reason) {
    return QCoreApplication::translate("CAutosave", "自動保存に失敗しました。(%1)").arg(reason);
}

} // namespace

CAutosave::CAutosave(const CEditController& edit, const CDocument& document, QObject* parent)
    : QObject(parent), m_edit(edit), m_document(document) {
    m_writer.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CAutosave::SaveNow);
    connect(&m_edit, &CEditController::viewsChanged, this, &CAutosave::OnChanged);
}

CAutosave::~CAutosave() {
    m_writer.waitForDone();
    if (m_session != nullptr && !m_session->HasSong())
        m_session->RemoveAll();
}

void CAutosave::SetInterval(int seconds) {
    m_seconds = std::max(seconds, 0);
    if (m_seconds == 0)
        m_timer.stop();
    else if (m_timer.isActive())
        m_timer.start(m_seconds * 1000);
}

// The first change after a write starts the clock; later ones ride along, so a steady
// stream of edits is still written every interval.
void CAutosave::OnChanged() {
    if (m_seconds > 0 && !m_timer.isActive() && m_edit.Project().modified != 0)
        m_timer.start(m_seconds * 1000);
}

bool CAutosave::EnsureSession() {
    if (m_session != nullptr)
        return true;
    QString error;
    m_session = CRecoveryFile::CreateSession(error);
    if (m_session == nullptr)
        emit writeFailed(WriteFailedText(error));
    return m_session != nullptr;
}

void CAutosave::SaveNow() {
    m_timer.stop();
    if (m_edit.Project().modified == 0) {
        Discard();
        return;
    }
    if (!EnsureSession())
        return;
    auto song = std::make_shared<const CProject>(m_edit.Project());
    // The steps share their notes with the ring: copying them into songs is the writer's work.
    auto history = std::make_shared<const CUndoRing::HeldSteps>(m_edit.UndoRing().HoldUndoSteps());
    const RECOVERY_INFO info{m_document.Path(), QDateTime::currentDateTimeUtc(),
                             m_edit.UndoRing().UndoDepth(), QCoreApplication::applicationPid()};
    m_writer.start([this, session = m_session, song, history, info] {
        const Result r = session->Write(*song, info, history->Songs());
        if (!r)
            QMetaObject::invokeMethod(this, [this, message = QString::fromStdString(r.message)] {
                emit writeFailed(WriteFailedText(message));
            });
    });
}

void CAutosave::Discard() {
    m_timer.stop();
    if (m_session != nullptr)
        m_writer.start([session = m_session] { session->Remove(); });
}

void CAutosave::WaitForWriter() {
    m_writer.waitForDone();
}
