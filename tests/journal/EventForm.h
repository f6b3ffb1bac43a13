#pragma once

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "platform/store/Table.h"

#include "platform/framework/WindowDriver.h"

#include <QtTest>

#include <functional>

// A small form of one log event, as the event editor is, for the tests of the parts the event editor owns:
// the event's description, the form's own parts, OK and Cancel, the event's stamps and the access of log
// events.
namespace jornix::test {

class EventForm : public StandardForm
{
public:
    int okButton = 0, cancelButton = 0;

    using StandardForm::StandardForm;

protected:
    // Describes the form with its parts between the description and the buttons.
    void DescribeEventForm(const std::function<void()>& parts)
    {
        window.Prompt(QStringLiteral("&Description:"));
        window.Entry(BindField(*AccessLOG, QStringLiteral("LOG:LogDescription")), QStringLiteral("@s60"))
            .Name(QStringLiteral("Description"));
        parts();
        window.Buttons([&] {
            okButton = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                           .Name(QStringLiteral("OK"));
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
        });
        SetRecord(*RelationsLOG, true,
                  {QStringLiteral("LogCreateDate"), QStringLiteral("LogCreateLoginID"),
                   QStringLiteral("LogUniqueID"), QStringLiteral("LogLastEditDate"),
                   QStringLiteral("LogLastEditLoginID")});
        SetButtons(okButton, cancelButton);
        CheckAccess(CurrentUserAccess[AccessArea::LogEvents], QStringLiteral("Log Events"), true);
    }
};

// Adds the event with this number to the log, its other fields as a new event has them.
inline void AddEvent(qint32 number, const QString& description = {})
{
    AccessLOG->GetTable().ClearBuffer();
    AccessLOG->SetFieldDefaults();
    AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogNum"), number);
    AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogDescription"), description);
    QCOMPARE(AccessLOG->InsertQuiet(), 0);
}

// Runs the form on a thread of its own, as a list does: for a change (or a view) of the event with this
// number, or for a new event that the list has numbered and added, after `prime` has filled its buffer.
// Gives the number of the event the form is open for.
template <class Form>
qint32 StartEventForm(int request, qint32 number, const std::function<void()>& prime = {})
{
    qint32 opened = number;
    testing::Start([request, number, prime, &opened] {
        RelationsLOG->Open();
        if (request == Request::Insert) {
            AccessLOG->PrepareRecord();
            opened = AccessLOG->Buffer().Value(QStringLiteral("LOG:LogNum")).toInt();
            if (prime)
                prime();
        } else {
            AccessLOG->GetTable().ClearBuffer();
            AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogNum"), number);
            AccessLOG->FetchQuiet(AccessLOG->GetTable().AutoNumberKey());
        }
        CurrentContext().GlobalRequestCode = quint8(request);
        RunProcedure<Form>();
        RelationsLOG->Close();
    });
    return opened;
}

} // namespace jornix::test
