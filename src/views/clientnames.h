#pragma once

#include "views/nameentry.h"

#include <QString>
#include <QStringList>

class CADODatabase;
class CAutoCompleteCombo;

// The client box that several dialogs share: one entry per row of `client` (table order), every
// name in the box's sorted list and in its type-ahead completions. A statement that does not
// run leaves both empty.
void LoadClientNames(CADODatabase* database, CNameEntries& clients, CAutoCompleteCombo& box);

// The contacts of client `client` (name and number), in table order; none for -1.
CNameEntries ContactEntries(CADODatabase* database, int client);
// Their names only.
QStringList ContactNames(CADODatabase* database, int client);

// Names in the order of a sorted drop-down list: as a Chinese reader looks them up (pinyin
// for Chinese characters, letters without regard to case), equal keys in their given order.
void SortNames(QStringList& names);
