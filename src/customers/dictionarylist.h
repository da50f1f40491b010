#pragma once

#include <QIcon>
#include <QStringList>

class QTableWidget;
class QWidget;

// The report-style one-column lists of the dictionary dialogs: grid lines, whole-row
// selection, a movable header, no editing in place.
QTableWidget* NewReportList(const QString& title, int width, QWidget* parent);
void AppendReportRow(QTableWidget* list, const QString& text, const QIcon& icon = {});

// The kinds list's icons (resources 166 and 167): an unmarked kind and the chosen one.
QIcon KindIcon(bool chosen);
// Marks the chosen row of a kinds list; -1 marks none.
void MarkChosenKind(QTableWidget* list, int chosen);
