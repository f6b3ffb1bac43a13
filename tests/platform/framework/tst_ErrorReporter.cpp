#include "platform/framework/ErrorReporter.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/runtime/ProgramThreads.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::test;

class ErrorReporterTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        reporter_.Init();
        endedWith_.clear();
        SetProgramEndHandler([this](int level) { endedWith_ << level; });
    }
    void cleanup() { SetProgramEndHandler({}); }
    void cleanupTestCase() { EndProgramThreads(); }

    void theTableOfMessagesHoldsEachErrorWithItsCaptionAndSeverity_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("severity");
        QTest::newRow("1") << 1 << "Record Retrieval Error" << int(Severity::Notify);
        QTest::newRow("4") << 4 << "Record Insert Error" << int(Severity::Notify);
        QTest::newRow("10") << 10 << "File Creation Error" << int(Severity::Fatal);
        QTest::newRow("11") << 11 << "Record was not deleted" << int(Severity::Notify);
        QTest::newRow("13") << 13 << "Duplicate Key Error" << int(Severity::Notify);
        QTest::newRow("15") << 15 << "Value Error" << int(Severity::Notify);
        QTest::newRow("21") << 21 << "Transaction cancelled" << int(Severity::Notify);
        QTest::newRow("23") << 23 << "File Access Error" << int(Severity::Fatal);
        QTest::newRow("25") << 25 << "Record was not updated" << int(Severity::Notify);
        QTest::newRow("32") << 32 << "Auto Increment Error" << int(Severity::User);
    }
    void theTableOfMessagesHoldsEachErrorWithItsCaptionAndSeverity()
    {
        QFETCH(int, id);
        QFETCH(QString, caption);
        QFETCH(int, severity);
        const ErrorMessage* message = reporter_.Find(id);
        QVERIFY(message);
        QCOMPARE(message->caption, caption);
        QCOMPARE(message->severity, severity);
    }

    void placeholdersAreFilledAndBarsBreakTheLines_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("duplicate key") << 13
                                       << "Adding this record creates a duplicate entry for the key: "
                                          "'None','Home'";
        QTest::newRow("value error") << 15 << "The value of Log Type must be in the list : 'None','Home'.";
        QTest::newRow("file access")
            << 23 << "File /data/Jornix.tps could not be opened.  Error: database is locked.";
        QTest::newRow("auto increment") << 32
                                        << "Attempts to automatically number this record have failed.\n"
                                           "File: /data/Jornix.tps\n"
                                           "Error: database is locked.\n"
                                           "Try Again?";
    }
    void placeholdersAreFilledAndBarsBreakTheLines()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        const ErrorValues values{"/data/Jornix.tps", "database is locked", "Log Type", "'None','Home'"};
        QCOMPARE(reporter_.MessageText(id, values), text);
    }

    void valuesAreShownAsGivenEvenWithPlaceholdersOrBars()
    {
        const ErrorValues values{"/data/a|b %ErrorText/Jornix.tps", "near \"%Field\": syntax error",
                                 "%Message", "'x'"};
        QCOMPARE(reporter_.MessageText(23, values),
                 QString("File /data/a|b %ErrorText/Jornix.tps could not be opened.  Error: near \"%Field\": "
                         "syntax error."));
        QCOMPARE(reporter_.MessageText(15, values),
                 QString("The value of %Message must be in the list : 'x'."));
    }

    void theSeverityDecidesTheBoxAndTheResult_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("programEnds");
        const int yesNo = MessageButton::Yes | MessageButton::No;
        QTest::newRow("a notice") << 13 << int(MessageButton::Ok) << int(MessageIcon::Exclamation)
                                  << int(MessageButton::Ok) << int(Severity::Notify) << false;
        QTest::newRow("a question answered Yes")
            << 32 << int(MessageButton::Yes) << int(MessageIcon::Question) << yesNo << int(Severity::Benign)
            << false;
        QTest::newRow("a question answered No") << 32 << int(MessageButton::No) << int(MessageIcon::Question)
                                                << yesNo << int(Severity::Cancel) << false;
        QTest::newRow("a fatal error ends the program")
            << 23 << int(MessageButton::Ok) << int(MessageIcon::Stop) << int(MessageButton::Ok)
            << int(Severity::Fatal) << true;
        QTest::newRow("an error missing from the table is a program error")
            << 999 << int(MessageButton::Ok) << int(MessageIcon::Stop) << int(MessageButton::Ok)
            << int(Severity::Program) << true;
    }
    void theSeverityDecidesTheBoxAndTheResult()
    {
        QFETCH(int, id);
        QFETCH(int, answer);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, result);
        QFETCH(bool, programEnds);
        MessageRecorder user;
        user.answers << answer;
        bool endedBeforeTheMessage = false;
        user.onShow = [&](const MessageBoxRequest&) { endedBeforeTheMessage = !endedWith_.isEmpty(); };
        QCOMPARE(reporter_.Throw(id, {"F", "E", {}, {}}), result);
        QCOMPARE(user.boxes.size(), 1);
        QCOMPARE(int(user.boxes[0].icon), icon);
        QCOMPARE(user.boxes[0].buttons, buttons);
        QVERIFY(!endedBeforeTheMessage);
        QCOMPARE(endedWith_.size(), programEnds ? 1 : 0);
    }

    void heldMessagesShowWhenTheHoldEnds()
    {
        MessageRecorder user;
        reporter_.HoldMessages();
        reporter_.HoldMessages();
        QCOMPARE(reporter_.Throw(ErrorId::DuplicateKey, {{}, {}, {}, "by Name"}), int(Severity::Notify));
        QCOMPARE(reporter_.Throw(ErrorId::AutoIncrement), int(Severity::Cancel)); // never asked while held
        QCOMPARE(reporter_.Throw(ErrorId::FileAccess), int(Severity::Fatal));
        reporter_.ReleaseMessages();
        QVERIFY(user.boxes.isEmpty());
        QVERIFY(endedWith_.isEmpty());
        reporter_.ReleaseMessages();
        QCOMPARE(user.Captions(),
                 QStringList({"Duplicate Key Error", "Auto Increment Error", "File Access Error"}));
        QCOMPARE(user.boxes[1].buttons, int(MessageButton::Ok));
        QCOMPARE(endedWith_, QList<int>{Severity::Fatal});
    }

    void theProcedureNameBelongsToItsThread()
    {
        reporter_.SetProcedure("Main");
        QString seenByOther = "unset";
        QString otherAfterRecording;
        StartProcedureThread([&] {
            seenByOther = reporter_.Procedure();
            reporter_.SetProcedure("Login");
            otherAfterRecording = reporter_.Procedure();
        });
        WaitForThreads();
        QCOMPARE(seenByOther, QString());
        QCOMPARE(otherAfterRecording, QString("Login"));
        QCOMPARE(reporter_.Procedure(), QString("Main"));
        reporter_.SetProcedure("UpdateLogTX");
        QCOMPARE(reporter_.Procedure(), QString("UpdateLogTX"));
        reporter_.SetProcedure({}, 1);
        QCOMPARE(reporter_.Procedure(), QString("Main"));
        reporter_.SetProcedure({}, 1);
        QCOMPARE(reporter_.Procedure(), QString());
    }

private:
    static void WaitForThreads() { QVERIFY(WaitForProgramThreads()); }

    ErrorReporter reporter_;
    QList<int> endedWith_;
};

QTEST_MAIN(ErrorReporterTest)
#include "tst_ErrorReporter.moc"
