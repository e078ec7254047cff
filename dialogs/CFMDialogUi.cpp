// The controls of the FM dialog and their layout: the algorithm row, one column per operator
// and the keyboard with the button row below.
#include "dialogs/CEnvelopeWnd.h"
#include "dialogs/CFMAlgorithmPicture.h"
#include "dialogs/CFMDialog.h"
#include "dialogs/CKeyboardWnd.h"
#include "dialogs/CMultipleEdit.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace {

constexpr int kSpanSeconds = 10;

// Rows of the operator grid, below the "OP1" … "OP4" headings.
enum Row : int {
    kRowHeading,
    kRowCurve,
    kRowAR,
    kRowDR,
    kRowSR,
    kRowRR,
    kRowSL,
    kRowTL,
    kRowKS,
    kRowML,
    kRowDT,
    kRowLFO,
    kRowPreview,
    kRowSpan,
};

CNumberEdit* MakeNumber(QWidget* parent, const QString& name, int64_t minimum, int64_t maximum) {
    auto* edit = new CNumberEdit(parent);
    edit->setObjectName(name);
    edit->SetRange(minimum, maximum);
    return edit;
}

QComboBox* MakeAlgorithmList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("algorithm"));
    list->setIconSize(QSize(CFMAlgorithmPicture::kSize, CFMAlgorithmPicture::kSize));
    for (int a = 0; a < CFMAlgorithmPicture::kAlgorithms; ++a) {
        // Both resolutions, so that the list stays sharp on a screen scaled to 200 %.
        QIcon icon;
        for (const qreal ratio : {1.0, 2.0})
            icon.addPixmap(QPixmap::fromImage(CFMAlgorithmPicture::Draw(a, ratio)));
        list->addItem(icon, QCoreApplication::translate("CFMDialogUi", "アルゴリズム%1").arg(a));
    }
    return list;
}

} // namespace

void CFMDialog::OperatorColumn::Build(QWidget* parent, int number) {
    const auto name = [number](const char* field) {
        return QStringLiteral("op%1%2").arg(number).arg(QLatin1String(field));
    };
    curve = new QComboBox(parent);
    curve->setObjectName(name("Curve"));
    curve->addItems({QCoreApplication::translate("CFMDialogUi", "直線"),
                     QCoreApplication::translate("CFMDialogUi", "曲線1"),
                     QCoreApplication::translate("CFMDialogUi", "曲線2")});
    ar = MakeNumber(parent, name("AR"), 0, 10000);
    dr = MakeNumber(parent, name("DR"), 0, 10000);
    sr = MakeNumber(parent, name("SR"), -1, 100000);
    rr = MakeNumber(parent, name("RR"), -1, 10000);
    sl = MakeNumber(parent, name("SL"), 0, 255);
    tl = MakeNumber(parent, name("TL"), 0, 255);
    ks = MakeNumber(parent, name("KS"), 0, 16);
    ml = new CMultipleEdit(parent);
    ml->setObjectName(name("ML"));
    dt = MakeNumber(parent, name("DT"), -256, 256);
    lfo = new QPushButton(QStringLiteral("LFO..."), parent);
    lfo->setObjectName(name("LFO"));
    lfo->setAutoDefault(false);
    preview = new CEnvelopeWnd(parent);
    preview->setObjectName(name("Preview"));
    preview->setMinimumSize(100, 60);
    span = new QSlider(Qt::Horizontal, parent);
    span->setObjectName(name("Span"));
    span->setRange(1, kSpanSeconds);
    span->setPageStep(1);
    span->setValue(1);
}

void CFMDialog::OperatorColumn::Load(const CFMOperator& op) {
    const CEnvelope& e = op.envelope;
    curve->setCurrentIndex(std::clamp(e.curve, 0, 2));
    ar->SetValue(e.attack);
    dr->SetValue(e.decay);
    sr->SetValue(e.sustain);
    rr->SetValue(e.release);
    sl->SetValue(e.sustainLevel);
    tl->SetValue(e.level);
    ks->SetValue(e.keyScaling);
    ml->SetMultiple(op.multiple);
    dt->SetValue(op.detune);
}

// The envelope's delay and attack level, the LFOs and the feedback are not in the column
// and stay as they are.
void CFMDialog::OperatorColumn::Store(CFMOperator& op) const {
    CEnvelope& e = op.envelope;
    e.curve = curve->currentIndex();
    e.attack = static_cast<int32_t>(ar->Value());
    e.decay = static_cast<int32_t>(dr->Value());
    e.sustain = static_cast<int32_t>(sr->Value());
    e.release = static_cast<int32_t>(rr->Value());
    e.sustainLevel = static_cast<int32_t>(sl->Value());
    e.level = static_cast<int32_t>(tl->Value());
    e.keyScaling = static_cast<int32_t>(ks->Value());
    op.multiple = ml->Multiple();
    op.detune = static_cast<int32_t>(dt->Value());
}

void CFMDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CFMDialogUi", "FM音源"));
    algorithm = MakeAlgorithmList(dialog);
    feedback = new QComboBox(dialog);
    feedback->setObjectName(QStringLiteral("feedback"));
    for (int f = 0; f <= 7; ++f)
        feedback->addItem(QString::number(f));
    keyboard = new CKeyboardWnd(dialog);
    copy = new QPushButton(QCoreApplication::translate("CFMDialogUi", "コピー(&C)"), dialog);
    copy->setObjectName(QStringLiteral("copy"));
    paste = new QPushButton(QCoreApplication::translate("CFMDialogUi", "貼り付け(&P)"), dialog);
    paste->setObjectName(QStringLiteral("paste"));
    for (QPushButton* b : {copy, paste})
        b->setAutoDefault(false);
    buttonBox = dlg::MakeButtonBox(dialog);

    auto* top = new QHBoxLayout;
    top->addWidget(dlg::MakeLabel(QCoreApplication::translate("CFMDialogUi", "アルゴリズム(&L):"),
                                  algorithm, dialog));
    top->addWidget(algorithm);
    top->addSpacing(16);
    top->addWidget(dlg::MakeLabel(QCoreApplication::translate("CFMDialogUi", "フィードバック(&F):"),
                                  feedback, dialog));
    top->addWidget(feedback);
    top->addStretch(1);

    auto* grid = new QGridLayout;
    const std::pair<int, const char*> labels[] = {
        {kRowCurve, QT_TRANSLATE_NOOP("CFMDialogUi", "カーブ")},
        {kRowAR, "AR"},
        {kRowDR, "DR"},
        {kRowSR, "SR"},
        {kRowRR, "RR"},
        {kRowSL, "SL"},
        {kRowTL, "TL"},
        {kRowKS, "KS"},
        {kRowML, "ML"},
        {kRowDT, "DT"}};
    std::map<int, QString> rowNames;
    for (const auto& [row, text] : labels) {
        rowNames[row] = QCoreApplication::translate("CFMDialogUi", text);
        grid->addWidget(new QLabel(rowNames[row], dialog), row, 0);
    }
    for (int i = 0; i < kOperators; ++i) {
        OperatorColumn& op = operators[size_t(i)];
        op.Build(dialog, i + 1);
        const int column = i + 1;
        grid->addWidget(new QLabel(QStringLiteral("OP%1").arg(i + 1), dialog), kRowHeading, column,
                        Qt::AlignHCenter);
        const std::pair<int, QWidget*> fields[] = {
            {kRowCurve, op.curve}, {kRowAR, op.ar}, {kRowDR, op.dr},  {kRowSR, op.sr},
            {kRowRR, op.rr},       {kRowSL, op.sl}, {kRowTL, op.tl},  {kRowKS, op.ks},
            {kRowML, op.ml},       {kRowDT, op.dt}, {kRowLFO, op.lfo}};
        for (const auto& [row, widget] : fields) {
            grid->addWidget(widget, row, column);
            // The boxes share the row captions at the left; a screen reader names each one
            // by its operator and its row.
            if (rowNames.count(row) != 0)
                widget->setAccessibleName(QStringLiteral("OP%1 %2").arg(i + 1).arg(rowNames[row]));
        }
        grid->addWidget(op.preview, kRowPreview, column);
        grid->addWidget(op.span, kRowSpan, column);
        grid->setColumnStretch(column, 1);
    }
    grid->setRowStretch(kRowPreview, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(paste);
    buttons->addStretch(1);
    buttons->addWidget(buttonBox);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(top);
    layout->addLayout(grid, 1);
    layout->addWidget(keyboard);
    layout->addLayout(buttons);
    // The operators' columns are made after the controls below them.
    for (QWidget* below : std::initializer_list<QWidget*>{keyboard, copy, paste, buttonBox})
        dlg::PutLastInTabChain(below);
}
