#pragma once

class CAppContext;
class CVantrelDoc;
struct CFeatureContext;

// Connects the notes to the main window: 资料管理 > "便笺" writes a new note, 查询搜索 > "便笺"
// lists notes (the registry tests the user's permission first), and the notes list adds and
// modifies notes in their dialog (ScheduleDialog::kNote).
void RegisterNoteCommands(const CFeatureContext& context);

// The record-dialog part alone: the notes list's requests open the note dialog over the
// document's views, at the program's clock.
void RegisterNoteDialog(CVantrelDoc& doc, const CAppContext& app);
