#pragma once

// Signing in through the sign-in dialog as the user does, and the data file that sign-in
// opens, for the tests of the application layer (header only: the support library itself
// stays below the application).

#include "app/logindlg.h"
#include "app/powertable.h"
#include "app/startfolder.h"
#include "kit/messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Fills in the user and the password and presses OK; true when the dialog closed with OK.
inline bool SignIn(CLoginDlg& dialog, const QString& user, const QString& password)
{
    dialog.UserBox()->setEditText(user);
    dialog.PasswordEdit()->setText(password);
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttons"))
                          ->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    return dialog.result() == QDialog::Accepted;
}

// A data file with table `power` and its administrator, as sign-in leaves it, and the
// application's connection open on it; messages are recorded, never shown.
struct SignInFolder
{
    StartFolder folder;
    std::unique_ptr<CVantrelApp> app = folder.MakeApp();
    MessageRecorder messages;

    SignInFolder()
    {
        app->Connections().SetDataPath(QStringLiteral("sale.db"));
        app->Connections().OpenDatabase();
        EXPECT_TRUE(EnsurePowerTable(*app, nullptr));
    }
};
