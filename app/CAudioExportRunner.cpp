#include "app/CAudioExportRunner.h"

#include "app/CAudioExportDialog.h"
#include "app/CExporter.h"
#include "audio/CAudioFile.h"
#include "audio/CEncode.h"
#include "ui/IUserPrompts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <mutex>
#include <thread>

namespace {

// Carries the build's events from the export's thread to the progress window. A sample
// that will not load ends the export: a file without the track's notes would pass for a
// good one.
class CExportEvents : public IBuildEvents {
public:
    void Progress(const BuildProgress& progress) override {
        const std::lock_guard hold(lock);
        latest = progress;
    }
    SampleAnswer SampleFailed(const std::string& samplePath) override {
        const std::lock_guard hold(lock);
        failedSample = samplePath;
        return SampleAnswer::Abort;
    }
    void OutputFailed(const std::string&) override {}
    void Done(const BuildOutcome&) override {}

    BuildProgress Latest() {
        const std::lock_guard hold(lock);
        return latest;
    }
    std::string FailedSample() {
        const std::lock_guard hold(lock);
        return failedSample;
    }

private:
    std::mutex lock;
    BuildProgress latest;
    std::string failedSample;
};

void ShowProgress(QProgressDialog& window, const BuildProgress& progress) {
    window.setMaximum(std::max(progress.secondsTotal, 1));
    window.setValue(std::min(progress.secondsDone, window.maximum()));
    window.setLabelText(
        progress.secondsLeft < 0
            ? QCoreApplication::translate("CAudioExportRunner", "書き出しています。")
            : QCoreApplication::translate("CAudioExportRunner",
                                          "書き出しています。あと、約 %1 秒 お待ちください。")
                  .arg(progress.secondsLeft));
}

} // namespace

CAudioExportRunner::CAudioExportRunner(int threads, Mp3EncoderFactory makeEncoder,
                                       DialogRunner runDialog)
    : m_threads(threads), m_makeEncoder(std::move(makeEncoder)), m_runDialog(std::move(runDialog)) {
    if (!m_runDialog)
        m_runDialog = [](CAudioExportDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
}

EXPORT_OUTCOME CAudioExportRunner::Run(const CProject& song, const QString& projectPath,
                                       const EXPORT_REQUEST& request, QWidget* parent,
                                       CEncode* encoder) {
    CExportEvents events;
    CAudioFile loader;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    EXPORT_OUTCOME outcome;
    const CProject copy = song;
    std::thread worker([&] {
        CExporter exporter(events, loader, stop);
        exporter.UseEncoder(encoder);
        outcome = exporter.Export(copy, projectPath.toStdString(), request);
        finished = true;
    });
    QProgressDialog window(QCoreApplication::translate("CAudioExportRunner", "書き出しています。"),
                           QCoreApplication::translate("CAudioExportRunner", "中止(&A)"), 0, 1,
                           parent);
    window.setWindowTitle(QCoreApplication::translate("CAudioExportRunner", "書き出し"));
    window.setWindowModality(Qt::WindowModal);
    window.setAutoClose(false);
    window.setAutoReset(false);
    window.setMinimumDuration(0);
    QObject::connect(&window, &QProgressDialog::canceled, [&stop] { stop = true; });
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (finished)
            loop.quit();
        else if (!stop)
            ShowProgress(window, events.Latest());
    });
    timer.start(50);
    window.show();
    loop.exec();
    worker.join();
    if (const std::string sample = events.FailedSample(); !sample.empty() && !outcome)
        outcome.message = sample + ": " + outcome.message;
    return outcome;
}

void CAudioExportRunner::Export(const CProject& song, const QString& projectPath,
                                IUserPrompts& prompts, QWidget* parent) {
    EXPORT_REQUEST selection;
    SelectRange(song, selection);
    CAudioExportDialog dialog(song.data.loopEnabled != 0 && song.data.loopEnd > song.data.loopStart,
                              parent);
    dialog.SetFolder(QFileInfo(projectPath).absolutePath());
    dialog.SetRange(selection.rangeStart, selection.rangeEnd);
    std::unique_ptr<CEncode> encoder = m_makeEncoder ? m_makeEncoder() : nullptr;
    if (encoder != nullptr && !encoder->IsAvailable())
        encoder.reset();
    if (encoder != nullptr)
        dialog.SetBitRate(encoder->BitRate());
    if (!m_runDialog(dialog))
        return;
    EXPORT_REQUEST request = dialog.Request();
    request.threads = m_threads;
    if (request.kind == SoundFileKind::Mp3 && encoder == nullptr) {
        prompts.Message(
            QCoreApplication::translate("CAudioExportRunner", "エンコーダが見つかりません。"),
            QCoreApplication::translate("CAudioExportRunner", "書き出し"),
            IUserPrompts::Icon::Error, IUserPrompts::Buttons::Ok);
        return;
    }
    const EXPORT_OUTCOME outcome = Run(song, projectPath, request, parent, encoder.get());
    if (outcome.status == BuildStatus::Cancelled)
        return;
    if (!outcome) {
        prompts.Message(
            QCoreApplication::translate("CAudioExportRunner", "書き出せませんでした。\n\n%1")
                .arg(QString::fromStdString(outcome.message)),
            QCoreApplication::translate("CAudioExportRunner", "書き出し"),
            IUserPrompts::Icon::Error, IUserPrompts::Buttons::Ok);
        return;
    }
    QString files;
    for (const std::string& file : outcome.files)
        files += QString::fromStdString(file) + u'\n';
    prompts.Message(
        QCoreApplication::translate("CAudioExportRunner", "書き出しが完了しました。\n\n%1")
            .arg(files.trimmed()),
        QCoreApplication::translate("CAudioExportRunner", "書き出し"),
        IUserPrompts::Icon::Information, IUserPrompts::Buttons::Ok);
}
