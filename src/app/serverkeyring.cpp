#include "app/serverkeyring.h"

#include <QEventLoop>
#include <QTimer>

#include <functional>

#include <qt6keychain/keychain.h>

using namespace Qt::StringLiterals;

namespace {
const QString kService = u"Vantrel"_s;

// Runs a job and waits for it; false when it failed or did not finish in time. `done` sees the
// job that succeeded. A finished job is deleted here; one still running when the wait ends
// deletes itself once it finishes, and nothing of this wait hears of it then.
bool Run(QKeychain::Job* job, int timeoutMs, const std::function<void(QKeychain::Job&)>& done = {})
{
    job->setAutoDelete(false);
    // Never a plain-text file in place of the keyring.
    job->setInsecureFallback(false);
    QEventLoop loop;
    bool finished = false;
    bool succeeded = false;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* finishedJob) {
        finished = true;
        succeeded = finishedJob->error() == QKeychain::NoError;
        if (succeeded && done)
            done(*finishedJob);
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec();
    if (finished)
        delete job;
    else
        job->setAutoDelete(true);
    return finished && succeeded;
}
} // namespace

bool CKeyringPasswords::Store(const QString& server, const QString& password)
{
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setKey(server);
    job->setTextData(password);
    return Run(job, m_timeoutMs);
}

std::optional<QString> CKeyringPasswords::Read(const QString& server)
{
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(server);
    QString password;
    if (!Run(job, m_timeoutMs, [&](QKeychain::Job&) { password = job->textData(); }))
        return std::nullopt;
    return password;
}

bool CKeyringPasswords::Forget(const QString& server)
{
    auto* job = new QKeychain::DeletePasswordJob(kService);
    job->setKey(server);
    return Run(job, m_timeoutMs);
}
