#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QWidget;

// The one way the program shows a message: an OK box, or a Yes/No question. Each goes to the
// message sink installed on the application object; with none, it shows as a message box.
void Inform(QWidget* parent, const QString& text, const QString& caption = {});
// An OK box for a failure or a refusal: the same box with the warning icon.
void Warn(QWidget* parent, const QString& text, const QString& caption = {});
// True when the user answers Yes.
bool Ask(QWidget* parent, const QString& text, const QString& caption);

// Where messages go.
class IMessageSink
{
public:
    virtual ~IMessageSink() = default;
    virtual void Inform(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual void Warn(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual bool Ask(QWidget* parent, const QString& text, const QString& caption) = 0;
};

// Shows each message as a message box: information, warning icon, Yes/No question; an empty
// caption reads "Vantrel".
class CMessageBoxSink final : public IMessageSink
{
public:
    void Inform(QWidget* parent, const QString& text, const QString& caption) override;
    void Warn(QWidget* parent, const QString& text, const QString& caption) override;
    bool Ask(QWidget* parent, const QString& text, const QString& caption) override;
};

// The sink installed on the application object; null when none is (or there is no
// application object).
IMessageSink* InstalledMessageSink();

// Installs `sink` on the application object for its own lifetime and puts the one installed
// before back when it ends. Installations end in the reverse order of their making.
class CMessageSinkInstallation
{
public:
    explicit CMessageSinkInstallation(IMessageSink* sink);
    ~CMessageSinkInstallation();
    CMessageSinkInstallation(const CMessageSinkInstallation&) = delete;
    CMessageSinkInstallation& operator=(const CMessageSinkInstallation&) = delete;

private:
    IMessageSink* m_sink;
    IMessageSink* m_previous;
};

// While one exists, messages are recorded instead of shown and questions are answered from
// a script (Yes when the script is empty); the sink before it is back when it ends. For tests.
class MessageRecorder final : public IMessageSink
{
public:
    struct Message
    {
        QString text;
        QString caption;
        bool question = false;
        bool warning = false;
    };

    MessageRecorder() = default;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void AnswerNext(bool yes) { m_answers.push_back(yes); }
    const std::vector<Message>& Messages() const { return m_messages; }
    QStringList Texts() const;
    QString LastText() const;
    void Clear() { m_messages.clear(); }

    void Inform(QWidget* parent, const QString& text, const QString& caption) override;
    void Warn(QWidget* parent, const QString& text, const QString& caption) override;
    bool Ask(QWidget* parent, const QString& text, const QString& caption) override;

private:
    std::vector<Message> m_messages;
    std::deque<bool> m_answers;
    // Last: installed once the members it records into exist.
    CMessageSinkInstallation m_installation{this};
};
