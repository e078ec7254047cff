#include "ui/presets/CPresetBrowser.h"

#include "audio/CAudioFile.h"
#include "dialogs/CKeyboardWnd.h"
#include "ui/CEditController.h"
#include "ui/presets/CPresetCommands.h"
#include "ui/trackwnd/CTrackRowPainter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString PathOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kPathRole).toString() : QString();
}

} // namespace

CPresetBrowser::CPresetBrowser(CPresetCommands& commands, const CEditController& edit,
                               std::function<int()> bufferMs, QWidget* parent)
    : QDockWidget(tr("音色ブラウザ"), parent), m_commands(commands), m_edit(edit),
      m_bufferMs(std::move(bufferMs)) {
    setObjectName(QStringLiteral("presetBrowser"));
    setAccessibleName(windowTitle());
    setWidget(MakeContents());
    // Qt reads out a dock's title only; the panel inside carries the description.
    widget()->setAccessibleDescription(tr("保存した音色を探して、現在のトラックに適用します。"));
    connect(m_search, &QLineEdit::textChanged, this, &CPresetBrowser::Filter);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CPresetBrowser::OnChosen);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (!PathOf(item).isEmpty())
            ApplyChosen();
    });
    connect(m_apply, &QPushButton::clicked, this, &CPresetBrowser::ApplyChosen);
    connect(&m_commands, &CPresetCommands::presetSaved, this,
            [this](const QString& category, const QString& name) {
                Reload();
                Choose(category, name);
            });
    StabilizeForm();
}

// The keyboard's engine refers to the preview copies, which go before the child widgets.
CPresetBrowser::~CPresetBrowser() {
    m_keyboard->SetPreview(nullptr, nullptr, 0);
}

QWidget* CPresetBrowser::MakeContents() {
    auto* contents = new QWidget(this);
    m_search = new QLineEdit(contents);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(tr("音色の名前で検索"));
    m_search->setClearButtonEnabled(true);
    m_tree = new QTreeWidget(contents);
    m_tree->setObjectName(QStringLiteral("presets"));
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(CTrackRowPainter::kSourceSize, CTrackRowPainter::kSourceSize));
    m_keyboard = new CKeyboardWnd(contents);
    m_keyboard->setObjectName(QStringLiteral("keyboard"));
    m_apply = new QPushButton(tr("適用(&A)"), contents);
    m_apply->setObjectName(QStringLiteral("apply"));
    m_apply->setToolTip(tr("選んだ音色を現在のトラックに適用します。"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    auto* layout = new QVBoxLayout(contents);
    layout->addWidget(m_search);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_keyboard);
    layout->addLayout(buttons);
    return contents;
}

void CPresetBrowser::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    Reload();
}

QTreeWidgetItem* CPresetBrowser::CategoryItem(const QString& category) {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        if (m_tree->topLevelItem(i)->text(0) == category)
            return m_tree->topLevelItem(i);
    auto* item = new QTreeWidgetItem(m_tree, {category});
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

// A preset that cannot be read stays listed without a picture, so that applying it tells
// the user why.
void CPresetBrowser::Reload() {
    const QString chosen = ChosenKey();
    {
        const QSignalBlocker blocker(m_tree);
        m_tree->clear();
        const CPresetLibrary& library = m_commands.Library();
        const QColor background = m_tree->palette().color(QPalette::Base);
        for (const PRESET_ENTRY& entry : library.List()) {
            auto* item =
                new QTreeWidgetItem(CategoryItem(Text(entry.category)), {Text(entry.name)});
            item->setData(0, kPathRole, Text(entry.file.string()));
            item->setToolTip(0, entry.factory ? tr("付属の音色") : tr("ユーザーの音色"));
            CPreset preset;
            if (library.Load(entry, preset))
                item->setIcon(0, QPixmap::fromImage(
                                     CTrackRowPainter::SourcePicture(preset.sound, background)));
        }
        m_tree->expandAll();
        Filter();
    }
    const qsizetype slash = chosen.indexOf(u'/');
    if (slash < 0 || !Choose(chosen.left(slash), chosen.mid(slash + 1)))
        OnChosen();
}

void CPresetBrowser::Filter() {
    const QString text = m_search->text().trimmed();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* category = m_tree->topLevelItem(i);
        bool any = false;
        for (int j = 0; j < category->childCount(); ++j) {
            QTreeWidgetItem* preset = category->child(j);
            const bool shown = preset->text(0).contains(text, Qt::CaseInsensitive);
            preset->setHidden(!shown);
            any = any || shown;
        }
        category->setHidden(!any);
    }
    if (m_tree->currentItem() != nullptr && m_tree->currentItem()->isHidden())
        m_tree->setCurrentItem(nullptr);
}

bool CPresetBrowser::Choose(const QString& category, const QString& name) {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = m_tree->topLevelItem(i);
        if (group->text(0) != category || group->isHidden())
            continue;
        for (int j = 0; j < group->childCount(); ++j)
            if (group->child(j)->text(0) == name && !group->child(j)->isHidden()) {
                m_tree->setCurrentItem(group->child(j));
                m_tree->scrollToItem(group->child(j));
                return true;
            }
    }
    return false;
}

QString CPresetBrowser::ChosenKey() const {
    const QTreeWidgetItem* item = m_tree->currentItem();
    if (PathOf(item).isEmpty())
        return {};
    return item->parent()->text(0) + u'/' + item->text(0);
}

// The file is read again, so what is applied is what the file holds now, and a damaged
// file is refused with its message.
bool CPresetBrowser::ApplyChosen() {
    const QString path = PathOf(m_tree->currentItem());
    if (path.isEmpty() || m_edit.Project().CurrentTrack() == nullptr)
        return false;
    return m_commands.ApplyFile(path, m_edit.Project().currentTrack);
}

QString CPresetBrowser::CategoryAt(const QPoint& globalPos) const {
    const QTreeWidgetItem* item = m_tree->itemAt(m_tree->viewport()->mapFromGlobal(globalPos));
    if (item == nullptr)
        return {};
    return item->parent() != nullptr ? item->parent()->text(0) : item->text(0);
}

void CPresetBrowser::OnChosen() {
    m_chosen.reset();
    CPreset preset;
    const QString path = PathOf(m_tree->currentItem());
    if (!path.isEmpty() && CPreset::Read(path.toStdString(), preset))
        m_chosen = std::move(preset);
    PreparePreview();
    StabilizeForm();
}

// The keyboard lets go of the copies before they change; a sample is read once per choice.
void CPresetBrowser::PreparePreview() {
    const int bufferMs = m_bufferMs ? m_bufferMs() : 100;
    m_keyboard->SetPreview(nullptr, nullptr, bufferMs);
    if (!m_chosen)
        return;
    m_previewProject.data = m_edit.Project().data;
    m_previewTrack.settings = m_chosen->sound;
    if (m_previewTrack.settings.waveform == kPcm) {
        CAudioFile loader;
        m_previewTrack.settings.pcm.LoadSample(loader);
    }
    m_keyboard->SetPreview(&m_previewProject, &m_previewTrack, bufferMs);
}

void CPresetBrowser::StabilizeForm() {
    m_apply->setEnabled(!PathOf(m_tree->currentItem()).isEmpty());
}
