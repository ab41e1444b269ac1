// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace inkvale {

std::string AboutReleaseDate(int nLanguage) {
    return nLanguage == 0 ? "发布日期:2023年6月2日" : "Release date:5th Jan. 2023";
}

CAboutDialog::CAboutDialog(int nLanguage, QWidget* pParent)
    : QDialog(pParent), m_pVersion(new QLabel(QString::fromUtf8(kAboutVersion), this)),
      m_pDate(new QLabel(QString::fromStdString(AboutReleaseDate(nLanguage)), this)) {
    setWindowTitle(tr("关于Inkvale"));
    auto* pIcon = new QLabel(this);
    // The icon lives in the program's resources; a test build without them shows none.
    const QIcon icon(QStringLiteral(":/icons/app.svg"));
    if (!icon.isNull())
        pIcon->setPixmap(icon.pixmap(48, 48));
    QFont bold = m_pVersion->font();
    bold.setBold(true);
    m_pVersion->setFont(bold);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pIcon, 0, 0, 2, 1, Qt::AlignTop);
    pLayout->addWidget(m_pVersion, 0, 1);
    pLayout->addWidget(m_pDate, 1, 1);
    pLayout->addWidget(pButtons, 2, 0, 1, 2);
    pLayout->setHorizontalSpacing(16);
    pLayout->setColumnMinimumWidth(1, 200);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace inkvale
