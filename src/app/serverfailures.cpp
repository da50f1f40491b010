#include "app/serverfailures.h"

using namespace Qt::StringLiterals;
using vantrel::db::ServerProbe;

QString ServerProbeText(const vantrel::db::ServerProbeResult& result)
{
    switch (result.outcome) {
    case ServerProbe::Works:
        return u"连接成功，这个数据库可以使用。"_s;
    case ServerProbe::NoServer:
        return u"在这个地址和端口上找不到数据库服务器，请检查主机和端口，以及服务器是否已经启动。"_s;
    case ServerProbe::PasswordNeeded:
        return u"服务器要求输入密码。"_s;
    case ServerProbe::WrongPassword:
        return u"用户名或密码错误。"_s;
    case ServerProbe::Refused:
        return u"服务器不允许这个用户从本机连接，请检查服务器的访问设置（pg_hba.conf）。"_s;
    case ServerProbe::NoDatabase:
        return u"服务器上没有这个数据库。"_s;
    case ServerProbe::NoRights:
        return u"这个用户可以登录服务器，但无权在这个数据库中建立或读写数据表。"_s;
    case ServerProbe::EncryptionRefused:
        return u"服务器不接受加密连接，而这里要求必须加密。"_s;
    case ServerProbe::CertificateUntrusted:
        return u"服务器的证书未通过验证：它不受所选CA证书文件信任，或与主机名不符。"_s;
    case ServerProbe::Failed:
        break;
    }
    return u"连接失败：%1"_s.arg(result.detail);
}
