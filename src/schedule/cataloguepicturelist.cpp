#include "schedule/cataloguepicturelist.h"

#include "kit/picturethumbnails.h"
#include "schedule/cataloguecolumns.h"

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPathColumn = 0;
constexpr int kNumberColumn = 1;
constexpr QSize kThumbnailSize(40, 40);
// The path column starts at this width and widens to show the paths listed.
constexpr int kPathWidth = 200;
// The path as stored, kept apart from the shown text, which may carry the missing mark.
constexpr int kPathRole = Qt::UserRole;
constexpr int kMissingRole = Qt::UserRole + 1;
const QString kMissingMark = u"（文件不存在）"_s;

} // namespace

CCataloguePictureList::CCataloguePictureList(QWidget* parent)
    : QTableWidget(0, 2, parent), m_thumbnails(new CThumbnailLoader(kThumbnailSize, this))
{
    setHorizontalHeaderLabels({u"路径"_s, QString()});
    setColumnWidth(kPathColumn, kPathWidth);
    setColumnHidden(kNumberColumn, true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setIconSize(kThumbnailSize);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kThumbnailSize.height() + 4);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(m_thumbnails, &CThumbnailLoader::Loaded, this, &CCataloguePictureList::ShowThumbnail);
    FitRow(-1);
}

CCataloguePictureList::~CCataloguePictureList() = default;

void CCataloguePictureList::Reset()
{
    m_thumbnails->CancelAll();
    setRowCount(0);
    setColumnWidth(kPathColumn, kPathWidth);
    FitRow(-1);
}

int CCataloguePictureList::Append(int no, const QString& path)
{
    const int row = rowCount();
    insertRow(row);
    auto* pathItem = new QTableWidgetItem(path);
    pathItem->setData(kPathRole, path);
    pathItem->setToolTip(path);
    setItem(row, kPathColumn, pathItem);
    setItem(row, kNumberColumn, new QTableWidgetItem(QString::number(no)));
    FitRow(row);
    m_thumbnails->Request(no, m_strHome, path);
    return row;
}

void CCataloguePictureList::Remove(int row)
{
    // Cleared first: a list of single selection would otherwise select the next row itself.
    selectionModel()->clear();
    removeRow(row);
}

// Widens the path column for one row (only to its title when -1), as its text and thumbnail
// need.
void CCataloguePictureList::FitRow(int row)
{
    if (row < 0)
        WidenCatalogueColumns(this, 0, -1);
    else
        WidenCatalogueColumns(this, row, row);
}

QString CCataloguePictureList::PathAt(int row) const
{
    const QTableWidgetItem* cell = item(row, kPathColumn);
    return cell ? cell->data(kPathRole).toString() : QString();
}

int CCataloguePictureList::NumberAt(int row) const
{
    const QTableWidgetItem* cell = item(row, kNumberColumn);
    return cell ? cell->text().toInt() : -1;
}

int CCataloguePictureList::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool CCataloguePictureList::IsMarkedMissing(int row) const
{
    const QTableWidgetItem* cell = item(row, kPathColumn);
    return cell && cell->data(kMissingRole).toBool();
}

bool CCataloguePictureList::HasThumbnail(int row) const
{
    const QTableWidgetItem* cell = item(row, kPathColumn);
    return cell && !cell->icon().isNull();
}

bool CCataloguePictureList::WaitForThumbnails(int timeoutMs)
{
    return m_thumbnails->WaitForDone(timeoutMs);
}

int CCataloguePictureList::RowOf(int no) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (NumberAt(row) == no)
            return row;
    }
    return -1;
}

void CCataloguePictureList::ShowThumbnail(int no, const QImage& image, bool found)
{
    const int row = RowOf(no);
    QTableWidgetItem* cell = item(row, kPathColumn);
    if (!cell)
        return;
    if (!found) {
        cell->setData(kMissingRole, true);
        cell->setText(PathAt(row) + kMissingMark);
        cell->setToolTip(PathAt(row) + kMissingMark);
        cell->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
    } else if (!image.isNull()) {
        // A file that holds no readable picture keeps an empty place.
        cell->setIcon(QIcon(QPixmap::fromImage(image)));
    }
    FitRow(row);
}
