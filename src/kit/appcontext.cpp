#include "kit/appcontext.h"

void CAppContext::SetDatabases(CADODatabase* database, CADODatabase* reference)
{
    m_pDb = database;
    m_pAreaDb = reference;
}

void CAppContext::SetPicturePath(const QString& path)
{
    m_strPicPath = path;
    Q_EMIT PicturePathChanged(path);
}
