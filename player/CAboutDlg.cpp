#include "player/CAboutDlg.h"

#include "player/SonaloIcons.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QCoreApplication::translate("CAboutDlg", "TSQ Sonalo のバージョン情報"));
    auto* icon = new QLabel(this);
    icon->setPixmap(SonaloIcon(QStringLiteral("sonalo")).pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("TSQ Sonalo Version 1.0"), this);
    name->setObjectName(QStringLiteral("versionText"));
    auto* notice = new QLabel(QStringLiteral("Copyright (C) Ostrova"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(notice, 1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
