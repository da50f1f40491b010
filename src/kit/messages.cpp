#include "kit/messages.h"

#include <QMessageBox>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
MessageRecorder* g_recorder = nullptr;

QString CaptionOr(const QString& caption)
{
    return caption.isEmpty() ? u"Vantrel"_s : caption;
}
} // namespace

void Inform(QWidget* parent, const QString& text, const QString& caption)
{
    if (g_recorder) {
        g_recorder->m_messages.push_back({text, caption, false, false});
        return;
    }
    QMessageBox::information(parent, CaptionOr(caption), text);
}

void Warn(QWidget* parent, const QString& text, const QString& caption)
{
    if (g_recorder) {
        g_recorder->m_messages.push_back({text, caption, false, true});
        return;
    }
    QMessageBox::warning(parent, CaptionOr(caption), text);
}

bool Ask(QWidget* parent, const QString& text, const QString& caption)
{
    if (g_recorder) {
        g_recorder->m_messages.push_back({text, caption, true, false});
        if (g_recorder->m_answers.empty())
            return true;
        const bool yes = g_recorder->m_answers.front();
        g_recorder->m_answers.pop_front();
        return yes;
    }
    return QMessageBox::question(parent, CaptionOr(caption), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

MessageRecorder::MessageRecorder()
{
    g_recorder = this;
}

MessageRecorder::~MessageRecorder()
{
    g_recorder = nullptr;
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
