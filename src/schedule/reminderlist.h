#pragma once

class CVantrelDoc;

// The main list as category 5: every reminder, the latest start first, with the text view
// below for the reminder's text.
void ShowReminderList(CVantrelDoc& doc);
