#include "app/aboutdlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"IDD_ABOUTBOX"_s);
    setWindowTitle(u"关于 Vantrel"_s);
    auto* icon = new QLabel(this);
    icon->setObjectName(u"IDC_ICON"_s);
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    auto* name = new QLabel(u"Vantrel 销售助理  版本 %1"_s.arg(QString::fromUtf16(kVersion)), this);
    name->setObjectName(u"IDC_VERSION"_s);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(name, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
