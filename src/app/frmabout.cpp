// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmabout.h"

#include "base/version.h"
#include "programicon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw {

TfmAbout::TfmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName("fmAbout");
    setWindowTitle("About");
    // Only a close box in the title bar.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    setWindowIcon(programIcon());
    auto *icon = new QLabel(this);
    icon->setObjectName("imgIcon");
    icon->setPixmap(programIcon().pixmap(64, 64));

    auto *product = new QLabel("RW830KT", this);
    product->setObjectName("lblProduct");
    QFont big = product->font();
    big.setPointSize(20);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);

    auto *version = new QLabel(QStringLiteral("Version %1 (2015.2.6)").arg(ProgramVersion), this);
    auto *licence = new QLabel(QStringLiteral("License: GNU GPL, version 3 or later"), this);
    licence->setObjectName("lblLicence");
    licence->setAlignment(Qt::AlignCenter);
    version->setObjectName("lblVersion");
    version->setAlignment(Qt::AlignCenter);

    auto *ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *names = new QVBoxLayout;
    names->addWidget(product);
    names->addWidget(version);
    names->addWidget(licence);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(names, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setFixedSize(320, 170);
}

} // namespace rw
