#include "dialogs/CListDialog.h"

#include "dialogs/internal/DialogUtil.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

void CListDialog::Ui::setupUi(QDialog* dialog, const QString& firstColumn,
                              const QString& secondColumn) {
    list = new QTreeWidget(dialog);
    list->setObjectName(QStringLiteral("list"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHeaderLabels({firstColumn, secondColumn});
    list->header()->setStretchLastSection(true);
    list->header()->setSectionsMovable(false);
    list->setColumnWidth(0,
                         list->fontMetrics().horizontalAdvance(QStringLiteral("0000:0000")) + 24);
    list->setMinimumSize(list->fontMetrics().horizontalAdvance(u'0') * 32,
                         list->fontMetrics().height() * 12);

    add = new QPushButton(QCoreApplication::translate("CListDialog", "追加(&A)..."), dialog);
    add->setObjectName(QStringLiteral("add"));
    edit = new QPushButton(QCoreApplication::translate("CListDialog", "編集(&E)..."), dialog);
    edit->setObjectName(QStringLiteral("edit"));
    remove = new QPushButton(QCoreApplication::translate("CListDialog", "削除(&D)"), dialog);
    remove->setObjectName(QStringLiteral("remove"));
    for (QPushButton* b : {add, edit, remove})
        b->setAutoDefault(false);
    buttonBox = dlg::MakeButtonBox(dialog);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    layout->addWidget(buttonBox);
}

CListDialog::CListDialog(const QString& caption, const QString& firstColumn,
                         const QString& secondColumn, QWidget* parent)
    : QDialog(parent) {
    m_ui.setupUi(this, firstColumn, secondColumn);
    setWindowTitle(caption);
    connect(m_ui.add, &QPushButton::clicked, this, &CListDialog::OnAdd);
    connect(m_ui.edit, &QPushButton::clicked, this, &CListDialog::OnEdit);
    connect(m_ui.remove, &QPushButton::clicked, this, &CListDialog::OnDelete);
    connect(m_ui.list, &QTreeWidget::itemSelectionChanged, this, &CListDialog::StabilizeForm);
    m_ui.list->viewport()->installEventFilter(this);
    m_ui.edit->setEnabled(false);
    m_ui.remove->setEnabled(false);
}

// The list widget outlives the subclass's part of the object, and its selection signals
// must not reach the hooks after that part is gone.
CListDialog::~CListDialog() {
    m_ui.list->disconnect(this);
    m_ui.list->viewport()->removeEventFilter(this);
}

void CListDialog::Refill(int row) {
    m_ui.list->clear();
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < Count(); ++i)
        items << new QTreeWidgetItem(RowTexts(i));
    m_ui.list->addTopLevelItems(items);
    if (row >= 0 && row < Count()) {
        m_ui.list->setCurrentItem(items[row]);
        m_ui.list->scrollToItem(items[row]);
    }
    StabilizeForm();
}

int CListDialog::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = m_ui.list->selectedItems();
    return selected.isEmpty() ? -1 : m_ui.list->indexOfTopLevelItem(selected.front());
}

void CListDialog::OnAdd() {
    if (const auto row = AddEntry())
        Refill(*row);
}

void CListDialog::OnEdit() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (const auto edited = EditEntry(row))
        Refill(*edited);
}

void CListDialog::OnDelete() {
    const int row = SelectedRow();
    if (row < 0 || Count() < 2)
        return;
    DeleteEntry(row);
    Refill(std::min(row, Count() - 1));
}

bool CListDialog::eventFilter(QObject* watched, QEvent* event) {
    // A double-click anywhere in the list, on a row or below the last one.
    if (watched == m_ui.list->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (SelectedRow() >= 0)
            OnEdit();
        else
            OnAdd();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CListDialog::StabilizeForm() {
    const bool selected = SelectedRow() >= 0;
    m_ui.edit->setEnabled(selected);
    m_ui.remove->setEnabled(selected && Count() >= 2);
}
