#pragma once

#include <QString>
#include <QTableWidget>

class CThumbnailLoader;
class QImage;

// The picture list of a catalogue dialog: one row per stored picture, its path relative to the
// picture home directory with a thumbnail beside it, and the picture record's number in a
// hidden last column. Thumbnails are read in the background and fill in as they arrive; a
// picture whose file is gone is marked as missing.
class CCataloguePictureList : public QTableWidget
{
    Q_OBJECT
public:
    explicit CCataloguePictureList(QWidget* parent = nullptr);
    ~CCataloguePictureList() override;

    void SetHome(const QString& home) { m_strHome = home; }
    // Empties the list; thumbnails still on their way are dropped.
    void Reset();
    // Adds a row at the end and returns it.
    int Append(int no, const QString& path);
    // Removes a row, leaving no row selected.
    void Remove(int row);
    // The stored path and picture number of a row.
    QString PathAt(int row) const;
    int NumberAt(int row) const;
    // The selected row, -1 when none.
    int SelectedRow() const;
    // Whether the row shows that its file is missing.
    bool IsMarkedMissing(int row) const;
    bool HasThumbnail(int row) const;
    // Waits for the thumbnails asked for so far; for tests and measurements.
    bool WaitForThumbnails(int timeoutMs);

private:
    void ShowThumbnail(int no, const QImage& image, bool found);
    int RowOf(int no) const;
    void FitRow(int row);

    QString m_strHome;
    CThumbnailLoader* m_thumbnails;
};
