#pragma once

#include "platform/runtime/MessageBox.h"

#include <QList>

// Answers the message boxes of a test in turn (then with the default button) and keeps what they asked.
struct ScriptedMessageBoxes
{
    QList<jornix::MessageBoxRequest> asked;
    QList<int> answers;

    explicit ScriptedMessageBoxes(QList<int> scriptedAnswers = {}) : answers(std::move(scriptedAnswers))
    {
        jornix::SetMessageBoxSink([this](const jornix::MessageBoxRequest& request) {
            asked.append(request);
            return answers.isEmpty() ? request.defaultButton : answers.takeFirst();
        });
    }
    ~ScriptedMessageBoxes() { jornix::SetMessageBoxSink({}); }
};
