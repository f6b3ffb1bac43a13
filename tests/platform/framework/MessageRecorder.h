#pragma once

#include "platform/runtime/MessageBox.h"

#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the user at message boxes: records every box and answers with the next scripted answer, or
// with the box's default button when none is left.
namespace jornix::test {

class MessageRecorder
{
public:
    explicit MessageRecorder(QList<int> scriptedAnswers = {}) : answers(std::move(scriptedAnswers))
    {
        SetMessageBoxSink([this](const MessageBoxRequest& request) {
            boxes.append(request);
            if (onShow)
                onShow(request);
            return answers.isEmpty() ? request.defaultButton : answers.takeFirst();
        });
    }
    ~MessageRecorder() { SetMessageBoxSink({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QStringList Captions() const
    {
        QStringList captions;
        for (const MessageBoxRequest& box : boxes)
            captions << box.caption;
        return captions;
    }

    QList<MessageBoxRequest> boxes;
    QList<int> answers;
    std::function<void(const MessageBoxRequest&)> onShow; // runs while the box is up
};

} // namespace jornix::test
