#include "dialogs/CAboutDlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

// The resource lives in a static library, so it has to be registered by hand.
static void InitDialogResources() {
    Q_INIT_RESOURCE(dialogs);
}

namespace {
constexpr int kIconSize = 48;
const char* const kVersionLine = "Tesselaphon Editor Version 1.9.1";
const char* const kNotice = "Copyright (C) Ostrova. All rights reserved.";
const char* const kWebPage = "https://ostrova.example/tesselaphon/";
} // namespace

QPixmap CAboutDlg::ProgramIcon(int size, qreal ratio) {
    InitDialogResources();
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/tsq/tsq.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}

void CAboutDlg::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CAboutDlg", "バージョン情報"));
    icon = new QLabel(dialog);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ProgramIcon(kIconSize, icon->devicePixelRatioF()));
    icon->setFixedSize(kIconSize, kIconSize);
    version = new QLabel(QString::fromLatin1(kVersionLine), dialog);
    version->setObjectName(QStringLiteral("version"));
    notice = new QLabel(QString::fromLatin1(kNotice), dialog);
    notice->setObjectName(QStringLiteral("notice"));
    link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(kWebPage)), dialog);
    link->setObjectName(QStringLiteral("link"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    manual = buttonBox->addButton(CAboutDlg::tr("マニュアル(&M)"), QDialogButtonBox::HelpRole);
    manual->setObjectName(QStringLiteral("manualButton"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(version, 0, 1);
    grid->addWidget(notice, 1, 1);
    grid->addWidget(link, 2, 1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    connect(m_ui.manual, &QPushButton::clicked, this, [this] {
        m_manualRequested = true;
        accept();
    });
}
