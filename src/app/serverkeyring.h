#pragma once

#include <QString>

#include <optional>

// Where the server's password is kept between runs, by the server it opens (its
// CServerSettings::Shown() name). Never a file the program writes.
class IServerPasswords
{
public:
    virtual ~IServerPasswords() = default;
    virtual bool Store(const QString& server, const QString& password) = 0;
    // Nothing when no password is kept for the server, or when the keyring does not answer.
    virtual std::optional<QString> Read(const QString& server) = 0;
    virtual bool Forget(const QString& server) = 0;
};

// The desktop's keyring (the Secret Service or KWallet, through QtKeychain). Its answers come
// asynchronously; each call waits for them, but no longer than `timeoutMs`, so that a desktop
// without a keyring does not hold the program up.
class CKeyringPasswords final : public IServerPasswords
{
public:
    explicit CKeyringPasswords(int timeoutMs = 5000) : m_timeoutMs(timeoutMs) {}

    bool Store(const QString& server, const QString& password) override;
    std::optional<QString> Read(const QString& server) override;
    bool Forget(const QString& server) override;

private:
    int m_timeoutMs;
};
