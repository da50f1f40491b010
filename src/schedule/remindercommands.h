#pragma once

class CReminderWatch;
class CVantrelDoc;
struct CFeatureContext;

// Connects the reminders to the main window: 资料管理 > "提醒" writes a new reminder (the
// registry tests the user's permission first), the reminder list adds and modifies reminders in
// their dialog (ScheduleDialog::kReminder), and a watch (CReminderWatch, owned by the main window)
// reminds of what is due from the first moment on, checking again after every save. Returns
// the watch, which has made its first check once the events now waiting have been handled.
CReminderWatch* RegisterReminderCommands(const CFeatureContext& context);
