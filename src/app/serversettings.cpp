#include "app/serversettings.h"

#include "app/appsettings.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {
const QString kDataSource = u"DataSource"_s;
const QString kHost = u"ServerHost"_s;
const QString kPort = u"ServerPort"_s;
const QString kDatabase = u"ServerDatabase"_s;
const QString kUser = u"ServerUser"_s;
const QString kEncryption = u"ServerEncryption"_s;
const QString kCaFile = u"ServerCaFile"_s;

constexpr int kDefaultPort = 5432;
// A server that does not answer is reported after this long rather than waited for.
constexpr int kConnectSeconds = 10;

QString EncryptionName(ServerEncryption encryption)
{
    switch (encryption) {
    case ServerEncryption::Required:
        return u"Required"_s;
    case ServerEncryption::Verified:
        return u"Verified"_s;
    case ServerEncryption::Off:
        break;
    }
    return u"Off"_s;
}

ServerEncryption EncryptionOf(const QString& name)
{
    if (name.compare(u"Required"_s, Qt::CaseInsensitive) == 0)
        return ServerEncryption::Required;
    if (name.compare(u"Verified"_s, Qt::CaseInsensitive) == 0)
        return ServerEncryption::Verified;
    return ServerEncryption::Off;
}

QString SslMode(ServerEncryption encryption)
{
    switch (encryption) {
    case ServerEncryption::Required:
        return u"require"_s;
    case ServerEncryption::Verified:
        return u"verify-full"_s;
    case ServerEncryption::Off:
        break;
    }
    return u"disable"_s;
}
} // namespace

QString ConninfoValue(const QString& value)
{
    QString quoted = value;
    quoted.replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s);
    return u'\'' + quoted + u'\'';
}

DataSourceKind CServerSettings::ReadKind(const CAppSettings& settings)
{
    return settings.ReadSetting(kDataSource).compare(u"Server"_s, Qt::CaseInsensitive) == 0
               ? DataSourceKind::Server
               : DataSourceKind::File;
}

bool CServerSettings::WriteKind(const CAppSettings& settings, DataSourceKind kind)
{
    return settings.WriteSetting(kDataSource,
                                 kind == DataSourceKind::Server ? u"Server"_s : u"File"_s);
}

CServerSettings CServerSettings::Read(const CAppSettings& settings)
{
    CServerSettings server;
    server.host = settings.ReadSetting(kHost);
    bool number = false;
    const int port = settings.ReadSetting(kPort).toInt(&number);
    server.port = number && port > 0 && port < 65536 ? port : kDefaultPort;
    server.database = settings.ReadSetting(kDatabase);
    server.user = settings.ReadSetting(kUser);
    server.encryption = EncryptionOf(settings.ReadSetting(kEncryption));
    server.caFile = settings.ReadSetting(kCaFile);
    return server;
}

bool CServerSettings::Write(const CAppSettings& settings) const
{
    return settings.WriteSetting(kHost, host) &&
           settings.WriteSetting(kPort, QString::number(port)) &&
           settings.WriteSetting(kDatabase, database) && settings.WriteSetting(kUser, user) &&
           settings.WriteSetting(kEncryption, EncryptionName(encryption)) &&
           settings.WriteSetting(kCaFile, caFile);
}

bool CServerSettings::IsComplete() const
{
    return !host.trimmed().isEmpty() && !database.trimmed().isEmpty() && !user.trimmed().isEmpty();
}

QString CServerSettings::ConnectionString(const QString& password, const QString& workFolder) const
{
    QStringList parts{u"host="_s + ConninfoValue(host), u"port="_s + QString::number(port),
                      u"dbname="_s + ConninfoValue(database), u"user="_s + ConninfoValue(user)};
    if (!password.isEmpty())
        parts << u"password="_s + ConninfoValue(password);
    parts << u"sslmode="_s + SslMode(encryption);
    if (encryption == ServerEncryption::Verified)
        parts << u"sslrootcert="_s + ConninfoValue(caFile.isEmpty() || workFolder.isEmpty()
                                                       ? caFile
                                                       : QDir(workFolder).absoluteFilePath(caFile));
    parts << u"connect_timeout="_s + QString::number(kConnectSeconds);
    return u"Provider=PostgreSQL;"_s + parts.join(u' ');
}

QString CServerSettings::Shown() const
{
    return u"%1@%2:%3/%4"_s.arg(user, host).arg(port).arg(database);
}
