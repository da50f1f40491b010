// The picture commands of the catalogue dialogs.

#include "data/adorecordset.h"
#include "kit/messages.h"
#include "kit/pictureframe.h"
#include "kit/picturepath.h"
#include "kit/picturepreviewdlg.h"
#include "schedule/cataloguedlg.h"
#include "schedule/cataloguekind.h"
#include "schedule/cataloguepicturelist.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// Whether the file at `path` can be opened for reading now.
bool CanRead(const QString& path)
{
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly);
}

} // namespace

void CCatalogueDlg::OnPictureChosen()
{
    const int row = m_pictures->SelectedRow();
    if (row < 0)
        return;
    ShowPicture(m_pictures->PathAt(row));
}

void CCatalogueDlg::ShowPicture(const QString& relative)
{
    const QString path = ResolvePicturePath(m_strHome, relative);
    // A file that is gone, or that holds no picture, leaves the frame empty; clicking the
    // frame then does nothing.
    if (CanRead(path) && m_frame->ShowPicture(path)) {
        m_strShownPath = relative;
        m_frame->setCursor(Qt::PointingHandCursor);
        return;
    }
    ClearShownPicture();
}

void CCatalogueDlg::ClearShownPicture()
{
    m_frame->Clear();
    m_strShownPath.clear();
    m_frame->setCursor(Qt::ArrowCursor);
}

void CCatalogueDlg::OnAddPicture()
{
    const int item = SelectedItem();
    if (item < 0) {
        Warn(this, u"请先从左侧列表中选择一条产品记录！"_s);
        return;
    }
    // Every file picked is attached; one outside the home directory is refused on its own.
    const QStringList chosen = m_chooser(this, m_strHome);
    for (const QString& path : chosen) {
        if (!AttachPicture(item, path))
            break;
    }
}

bool CCatalogueDlg::AttachPicture(int item, const QString& chosen)
{
    QString relative;
    if (!RelativePicturePath(m_strHome, chosen, relative)) {
        Warn(this, u"图片不在图片主目录下，无法保存！"_s);
        return true;
    }
    CADORecordset recordset(m_pDb);
    if (!recordset.Open(u"SELECT * FROM %1"_s.arg(m_kind.imageTable))) {
        Warn(this, m_kind.imageTableMissing);
        return false;
    }
    int picture = -1;
    bool saved = recordset.AddNew();
    if (saved) {
        recordset.SetFieldText(u"path"_s, relative);
        recordset.SetFieldInt(u"id"_s, item);
        saved = recordset.Update() && recordset.GetFieldInt(u"no"_s, picture);
    }
    if (!saved) {
        Warn(this, u"图片路径无法保存！"_s);
        return false;
    }
    // The new picture is selected, and so shown: the picture commands act on what is seen.
    const int row = m_pictures->Append(picture, relative);
    m_pictures->selectRow(row);
    m_pictures->scrollToItem(m_pictures->item(row, 0));
    return true;
}

void CCatalogueDlg::OnDeletePicture()
{
    const int row = m_pictures->SelectedRow();
    if (row < 0)
        return;
    if (!Ask(this, u"您是否确认要删除这张图片的路径？"_s, u"警告"_s))
        return;
    CADORecordset recordset(m_pDb);
    const QString sql = u"SELECT * FROM %1 WHERE [no] = %2"_s.arg(
        m_kind.imageTable, QString::number(m_pictures->NumberAt(row)));
    if (!recordset.Open(sql)) {
        Warn(this, m_kind.imageTableMissing);
        return;
    }
    if (recordset.GetRecordCount() < 1) {
        Warn(this, u"没有找到要删除的记录！"_s);
        return;
    }
    if (!recordset.Delete()) {
        Warn(this, u"记录无法删除，删除失败！"_s);
        return;
    }
    // Only the stored path goes; the file stays on disk. No picture is selected or shown after.
    m_pictures->Remove(row);
    ClearShownPicture();
}

void CCatalogueDlg::OnPictureClicked()
{
    if (m_strShownPath.isEmpty())
        return;
    const QString path = ResolvePicturePath(m_strHome, m_strShownPath);
    if (!CanRead(path)) {
        Warn(this, u"图片不存在，无法打开！"_s);
        return;
    }
    CPicturePreviewDlg preview(this);
    preview.SetPath(path);
    preview.exec();
}
