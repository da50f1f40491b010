#pragma once

class QCoreApplication;

// Makes Qt's own texts Chinese (standard buttons read 确定, 取消, 是, 否). False when Qt's
// Chinese translation is not installed; the texts then stay English.
bool InstallChineseTranslation(QCoreApplication& application);
