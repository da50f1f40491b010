#include "kit/messages.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QStringList>
#include <QVariant>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(IMessageSink*)

namespace {

// The application object's dynamic property that holds the installed sink.
constexpr char kSinkProperty[] = "vantrelMessageSink";

QString CaptionOr(const QString& caption)
{
    return caption.isEmpty() ? u"Vantrel"_s : caption;
}

void SetInstalledSink(IMessageSink* sink)
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->setProperty(kSinkProperty, QVariant::fromValue(sink));
}

} // namespace

IMessageSink* InstalledMessageSink()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application ? application->property(kSinkProperty).value<IMessageSink*>() : nullptr;
}

void Inform(QWidget* parent, const QString& text, const QString& caption)
{
    if (IMessageSink* sink = InstalledMessageSink())
        sink->Inform(parent, text, caption);
    else
        CMessageBoxSink().Inform(parent, text, caption);
}

void Warn(QWidget* parent, const QString& text, const QString& caption)
{
    if (IMessageSink* sink = InstalledMessageSink())
        sink->Warn(parent, text, caption);
    else
        CMessageBoxSink().Warn(parent, text, caption);
}

bool Ask(QWidget* parent, const QString& text, const QString& caption)
{
    if (IMessageSink* sink = InstalledMessageSink())
        return sink->Ask(parent, text, caption);
    return CMessageBoxSink().Ask(parent, text, caption);
}

void CMessageBoxSink::Inform(QWidget* parent, const QString& text, const QString& caption)
{
    QMessageBox::information(parent, CaptionOr(caption), text);
}

void CMessageBoxSink::Warn(QWidget* parent, const QString& text, const QString& caption)
{
    QMessageBox::warning(parent, CaptionOr(caption), text);
}

bool CMessageBoxSink::Ask(QWidget* parent, const QString& text, const QString& caption)
{
    return QMessageBox::question(parent, CaptionOr(caption), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

CMessageSinkInstallation::CMessageSinkInstallation(IMessageSink* sink)
    : m_sink(sink), m_previous(InstalledMessageSink())
{
    SetInstalledSink(sink);
}

CMessageSinkInstallation::~CMessageSinkInstallation()
{
    // An installation that ends out of order leaves the later one in place.
    if (InstalledMessageSink() == m_sink)
        SetInstalledSink(m_previous);
}

void MessageRecorder::Inform(QWidget*, const QString& text, const QString& caption)
{
    m_messages.push_back({text, caption, false, false});
}

void MessageRecorder::Warn(QWidget*, const QString& text, const QString& caption)
{
    m_messages.push_back({text, caption, false, true});
}

bool MessageRecorder::Ask(QWidget*, const QString& text, const QString& caption)
{
    m_messages.push_back({text, caption, true, false});
    if (m_answers.empty())
        return true;
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

QStringList MessageRecorder::Texts() const
{
    QStringList texts;
    for (const Message& message : m_messages)
        texts << message.text;
    return texts;
}

QString MessageRecorder::LastText() const
{
    return m_messages.empty() ? QString() : m_messages.back().text;
}
