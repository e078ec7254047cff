#include "ui/CRecoveryFile.h"

#include "model/CProject.h"
#include "model/FileIO.h"
#include "model/UndoHistory.h"
#include "ui/PathUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QUrl>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char* kInfoMagic = "TSQ-RECOVERY 1";
constexpr size_t kMaxInfoFile = 64 * 1024;

// A lock this process holds, or -1 when another process holds it or it cannot be made.
int TakeLock(const QString& path, bool create) {
    const int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0);
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray InfoText(const RECOVERY_INFO& info) {
    QByteArray text = QByteArray(kInfoMagic) + '\n';
    text += "path=" + QUrl::toPercentEncoding(info.originalPath) + '\n';
    text += "time=" + info.time.toUTC().toString(Qt::ISODate).toLatin1() + '\n';
    text += "undo=" + QByteArray::number(info.undoDepth) + '\n';
    text += "pid=" + QByteArray::number(info.pid) + '\n';
    return text;
}

Result ParseInfo(const QByteArray& text, RECOVERY_INFO& info) {
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.front() != kInfoMagic)
        return Result::Fail("not a recovery side file");
    bool timeSeen = false;
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype equals = line.indexOf('=');
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        bool ok = true;
        if (line.isEmpty())
            continue;
        if (equals < 0)
            return Result::Fail("damaged side file");
        if (key == "path")
            info.originalPath = QUrl::fromPercentEncoding(value);
        else if (key == "time")
            info.time = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
        else if (key == "undo")
            info.undoDepth = value.toInt(&ok);
        else if (key == "pid")
            info.pid = value.toLongLong(&ok);
        timeSeen = timeSeen || key == "time";
        if (!ok)
            return Result::Fail("damaged side file");
    }
    if (!timeSeen || !info.time.isValid())
        return Result::Fail("damaged side file");
    return Result::Ok();
}

} // namespace

CRecoveryFile::CRecoveryFile(QString base, int lockFd) : m_base(std::move(base)), m_lockFd(lockFd) {
}

CRecoveryFile::~CRecoveryFile() {
    ::close(m_lockFd);
}

QString CRecoveryFile::Folder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Tesselaphon Editor/recovery");
}

std::unique_ptr<CRecoveryFile> CRecoveryFile::CreateSession(QString& error) {
    const QString folder = Folder();
    if (!QDir().mkpath(folder)) {
        error = QDir::toNativeSeparators(folder);
        return nullptr;
    }
    const qint64 pid = QCoreApplication::applicationPid();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString base =
            folder + QStringLiteral("/session-%1-%2")
                         .arg(pid)
                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const int fd = TakeLock(base + QStringLiteral(".lock"), true);
        if (fd < 0)
            continue;
        const QByteArray text = QByteArray::number(pid) + '\n';
        if (::write(fd, text.constData(), static_cast<size_t>(text.size())) != text.size()) {
            ::unlink(QFile::encodeName(base + QStringLiteral(".lock")).constData());
            ::close(fd);
            break;
        }
        return std::unique_ptr<CRecoveryFile>(new CRecoveryFile(base, fd));
    }
    error = QDir::toNativeSeparators(folder);
    return nullptr;
}

std::vector<std::unique_ptr<CRecoveryFile>> CRecoveryFile::ClaimOrphans() {
    std::vector<std::unique_ptr<CRecoveryFile>> orphans;
    const QDir folder(Folder());
    const QStringList locks =
        folder.entryList({QStringLiteral("*.lock")}, QDir::Files, QDir::Name | QDir::Time);
    for (const QString& name : locks) {
        const QString base = folder.filePath(name.chopped(5));
        const int fd = TakeLock(base + QStringLiteral(".lock"), false);
        if (fd < 0)
            continue;
        std::unique_ptr<CRecoveryFile> file(new CRecoveryFile(base, fd));
        if (file->HasSong())
            orphans.push_back(std::move(file));
        else
            file->RemoveAll();
    }
    return orphans;
}

Result CRecoveryFile::Write(const CProject& song, const RECOVERY_INFO& info,
                            std::span<const CProject> history) const {
    // The old steps go first, so that a crash part-way never pairs them with a newer song
    // (undo would jump to states that did not precede it); the side file goes before the
    // song, which would be refused as damaged without one.
    QFile::remove(HistoryPath());
    const QByteArray text = InfoText(info);
    if (Result r = WriteFileAtomically(
            ToFsPath(InfoPath()),
            {reinterpret_cast<const uint8_t*>(text.constData()), static_cast<size_t>(text.size())});
        !r)
        return r;
    if (Result r = song.Save(ToFsPath(SongPath())); !r)
        return r;
    return WriteFileAtomically(ToFsPath(HistoryPath()), EncodeUndoHistory(history));
}

Result CRecoveryFile::Read(CProject& song, RECOVERY_INFO& info) const {
    std::vector<uint8_t> bytes;
    if (Result r = ReadWholeFile(ToFsPath(InfoPath()), bytes, kMaxInfoFile); !r)
        return r;
    const QByteArray text(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    if (Result r = ParseInfo(text, info); !r)
        return r;
    return song.Load(ToFsPath(SongPath()));
}

Result CRecoveryFile::ReadHistory(std::vector<CProject>& steps) const {
    steps.clear();
    std::vector<uint8_t> bytes;
    if (Result r = ReadWholeFile(ToFsPath(HistoryPath()), bytes, kUndoHistoryBudget); !r)
        return r;
    return DecodeUndoHistory(bytes, steps);
}

bool CRecoveryFile::HasSong() const {
    return QFile::exists(SongPath());
}

void CRecoveryFile::Remove() const {
    QFile::remove(SongPath());
    QFile::remove(InfoPath());
    QFile::remove(HistoryPath());
}

void CRecoveryFile::RemoveAll() const {
    Remove();
    QFile::remove(LockPath());
}
