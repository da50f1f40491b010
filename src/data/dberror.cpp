#include "data/dberror.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

Error LayerError(ErrorKind kind, const QString& message)
{
    struct Known
    {
        quint32 code;
        const char16_t* meaning;
    };
    auto known = [kind]() -> Known {
        switch (kind) {
        case ErrorKind::None:
            return {0, u"not an error"};
        case ErrorKind::Busy:
            return {5, u"database is locked"};
        case ErrorKind::ReadOnly:
            return {8, u"attempt to write a readonly database"};
        case ErrorKind::CantOpen:
            return {14, u"unable to open database file"};
        case ErrorKind::RowChanged:
            return {4, u"query aborted"};
        case ErrorKind::Misuse:
            return {21, u"bad parameter or other API misuse"};
        case ErrorKind::ConnectionLost:
            return {14, u"the connection to the server was lost"};
        case ErrorKind::Failed:
            break;
        }
        return {1, u"SQL logic error"};
    }();
    return Error{kind, known.code, QString::fromUtf16(known.meaning), u"Vantrel"_s, message};
}

QString ErrorReport(const char* className, const Error& error)
{
    return QString::asprintf("%s Error\n\tCode = %08lx\n\tCode meaning = %s\n\tSource = %s\n"
                             "\tDescription = %s\n",
                             className, static_cast<unsigned long>(error.code),
                             error.meaning.toUtf8().constData(), error.source.toUtf8().constData(),
                             error.message.toUtf8().constData());
}

QString ConnectionLostText(const QString& reason)
{
    const QString text = u"无法连接数据库服务器"_s;
    return reason.isEmpty() ? text : text + u"\n\n"_s + reason;
}

} // namespace vantrel::db
