#include "kit/filechoice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// "Excel 文件 (*.xlsx)" → "xlsx"; empty when the filter's first pattern names no suffix.
QString SuffixOf(const QString& filter)
{
    static const QRegularExpression pattern(u"\\(\\*\\.([^ *)]+)"_s);
    return pattern.match(filter).captured(1);
}

QString WithSuffix(const QString& name, const QString& suffix)
{
    return suffix.isEmpty() ? name : name + u'.' + suffix;
}

} // namespace

std::shared_ptr<QString> NewLastFolder()
{
    return std::make_shared<QString>(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QStringList ChooseFiles(QWidget* parent, const FileChoice& choice, QString* filter)
{
    QFileDialog dialog(parent, choice.caption,
                       choice.lastFolder ? *choice.lastFolder : choice.folder);
    dialog.setObjectName(choice.objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, choice.readOnly);
    const bool saving = choice.kind == FileChoice::Kind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    switch (choice.kind) {
    case FileChoice::Kind::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileChoice::Kind::OpenMany:
        dialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    case FileChoice::Kind::Save:
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    case FileChoice::Kind::Folder:
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (!choice.filters.isEmpty())
        dialog.setNameFilters(choice.filters);
    if (!choice.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(choice.defaultSuffix);
    if (saving && !choice.fileName.isEmpty()) {
        // The name is offered again only when the suffix changes, so that a typed name stays
        // while the user picks between filters of one suffix.
        QString shown = SuffixOf(dialog.selectedNameFilter());
        dialog.selectFile(WithSuffix(choice.fileName, shown));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &choice, &shown](const QString& picked) {
                             const QString suffix = SuffixOf(picked);
                             if (suffix == shown)
                                 return;
                             shown = suffix;
                             dialog.selectFile(WithSuffix(choice.fileName, suffix));
                         });
    } else if (!choice.fileName.isEmpty()) {
        dialog.selectFile(choice.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    QStringList files = dialog.selectedFiles();
    if (saving) {
        const QString suffix = SuffixOf(dialog.selectedNameFilter());
        QString& path = files.first();
        if (!suffix.isEmpty() && QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
            path = WithSuffix(path, suffix);
    }
    if (choice.lastFolder)
        *choice.lastFolder = choice.kind == FileChoice::Kind::Folder
                                 ? files.constFirst()
                                 : QFileInfo(files.constFirst()).absolutePath();
    if (filter)
        *filter = dialog.selectedNameFilter();
    return files;
}

QString ChooseFile(QWidget* parent, const FileChoice& choice, QString* filter)
{
    const QStringList files = ChooseFiles(parent, choice, filter);
    return files.isEmpty() ? QString() : files.constFirst();
}
