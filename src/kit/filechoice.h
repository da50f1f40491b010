#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

// What a file dialog asks for. Every dialog is Qt's own rather than the desktop's, so that it
// looks and behaves alike everywhere and tests can drive it.
struct FileChoice
{
    enum class Kind {
        Open,     // one existing file
        OpenMany, // one or more existing files
        Save,     // a file to write, existing or not
        Folder,   // an existing folder
    };
    Kind kind = Kind::Open;
    QString objectName; // for tests and people to find the dialog
    QString caption;
    QString folder;      // where the dialog starts
    QStringList filters; // "Excel 文件 (*.xlsx)" and the like; the first is chosen at first
    // The name offered. When saving it has no suffix: the chosen filter's is added.
    QString fileName;
    QString defaultSuffix; // added to a typed name without one
    bool readOnly = false; // no renaming, deleting or making folders in the dialog
    // When given, the dialog starts in this folder instead, and the chosen file's folder is
    // kept in it for the next dialog.
    std::shared_ptr<QString> lastFolder;
};

// The folder a run's first file dialog of a command starts in, to be handed to its
// FileChoice::lastFolder: the user's documents.
std::shared_ptr<QString> NewLastFolder();

// The files or the folder chosen (one unless OpenMany); empty when the dialog was cancelled.
// A saved file's name ends in the suffix of its filter: the offered name follows the filter
// the user picks, and the suffix is added to a typed name without it. `filter`, when given,
// receives the filter chosen.
QStringList ChooseFiles(QWidget* parent, const FileChoice& choice, QString* filter = nullptr);
// The first of ChooseFiles, or empty.
QString ChooseFile(QWidget* parent, const FileChoice& choice, QString* filter = nullptr);
