#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QWidget;

// The one way the program shows a message: an OK box, or a Yes/No question.
void Inform(QWidget* parent, const QString& text, const QString& caption = {});
// An OK box for a failure or a refusal: the same box with the warning icon.
void Warn(QWidget* parent, const QString& text, const QString& caption = {});
// True when the user answers Yes.
bool Ask(QWidget* parent, const QString& text, const QString& caption);

// While one exists, messages are recorded instead of shown and questions are answered from
// a script (Yes when the script is empty). For tests.
class MessageRecorder
{
public:
    struct Message
    {
        QString text;
        QString caption;
        bool question = false;
        bool warning = false;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void AnswerNext(bool yes) { m_answers.push_back(yes); }
    const std::vector<Message>& Messages() const { return m_messages; }
    QStringList Texts() const;
    QString LastText() const;
    void Clear() { m_messages.clear(); }

private:
    friend void Inform(QWidget*, const QString&, const QString&);
    friend void Warn(QWidget*, const QString&, const QString&);
    friend bool Ask(QWidget*, const QString&, const QString&);
    std::vector<Message> m_messages;
    std::deque<bool> m_answers;
};
