#pragma once

#include <QStringList>

class QComboBox;

// A drop-down box that may hold tens of thousands of entries (every client, every order's
// 单号): its width comes from `characters` instead of its longest entry, and its drop-down is a
// scrolled list of 20 lines of one height. Otherwise Qt measures every entry when the box is
// first shown and again each time it drops down.
void PrepareLongList(QComboBox* box, int characters);

// Makes the entries of a box PrepareLongList readied `entries`, in one step: a plain list of
// texts behind the box instead of an item object for each of 100,000 entries. Nothing is
// chosen afterwards.
void SetLongListEntries(QComboBox* box, const QStringList& entries);
