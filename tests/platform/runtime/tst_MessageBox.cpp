#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"

#include "platform/runtime/TopLevelWindows.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

using namespace jornix;

Q_DECLARE_METATYPE(jornix::MessageIcon)

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void aKeyAnswersTheBox_data()
    {
        QTest::addColumn<QString>("buttonTexts"); // custom buttons; empty: the standard ones of the mask
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("answer");
        QTest::newRow("Return presses the default custom button")
            << "&Replace|&Append|&Cancel" << 0 << 2 << int(Qt::Key_Return)
            << QStringList{"&Replace", "&Append", "&Cancel"} << 2;
        QTest::newRow("Escape presses the last custom button")
            << "&Replace|&Append|&Cancel" << 0 << 1 << int(Qt::Key_Escape)
            << QStringList{"&Replace", "&Append", "&Cancel"} << 3;
        QTest::newRow("Return presses the default of Yes, No and Cancel")
            << QString() << (MessageButton::Yes | MessageButton::No | MessageButton::Cancel)
            << int(MessageButton::Cancel) << int(Qt::Key_Return) << QStringList{"&Yes", "&No", "Cancel"}
            << int(MessageButton::Cancel);
        QTest::newRow("Escape answers No to a question without Cancel")
            << QString() << (MessageButton::Yes | MessageButton::No) << int(MessageButton::Yes)
            << int(Qt::Key_Escape) << QStringList{"&Yes", "&No"} << int(MessageButton::No);
        QTest::newRow("the stop box answers Ignore")
            << QString() << (MessageButton::Abort | MessageButton::Ignore) << int(MessageButton::Ignore)
            << int(Qt::Key_Return) << QStringList{"Abort", "Ignore"} << int(MessageButton::Ignore);
    }

    void aKeyAnswersTheBox()
    {
        QFETCH(QString, buttonTexts);
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        QFETCH(int, key);
        QFETCH(QStringList, shown);
        QFETCH(int, answer);
        int answered = -1;
        StartProcedureThread([&] {
            answered = buttonTexts.isEmpty()
                           ? ShowMessageBox(buttons, MessageIcon::Question, QStringLiteral("Save File"),
                                            QStringLiteral("The file exists."), defaultButton)
                           : ShowMessageBox(buttonTexts, MessageIcon::Question, QStringLiteral("Save File"),
                                            QStringLiteral("The file exists."), defaultButton);
        });
        QVERIFY(WaitForProgramThreads());
        QPointer<QMessageBox> box = VisibleWindow<QMessageBox>(QStringLiteral("Save File"));
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("The file exists."));
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QStringList texts;
        for (QAbstractButton* button : box->buttons())
            texts << button->text();
        texts.sort();
        shown.sort();
        QCOMPARE(texts, shown);
        QCOMPARE(answered, -1); // the thread waits for the box
        QTest::keyClick(box, Qt::Key(key));
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(answered, answer);
        QVERIFY(!box); // gone with the call that showed it
    }

    void theBoxShowsItsIconAndCaption_data()
    {
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("qtIcon");
        QTest::newRow("stop") << MessageIcon::Stop << "Error During Printing" << int(QMessageBox::Critical);
        QTest::newRow("question") << MessageIcon::Question << "Save Record" << int(QMessageBox::Question);
        QTest::newRow("exclamation") << MessageIcon::Exclamation << "Access Denied"
                                     << int(QMessageBox::Warning);
        QTest::newRow("information") << MessageIcon::Information << "Information"
                                     << int(QMessageBox::Information);
        QTest::newRow("no icon and no caption") << MessageIcon::None << QString() << int(QMessageBox::NoIcon);
    }

    void theBoxShowsItsIconAndCaption()
    {
        QFETCH(MessageIcon, icon);
        QFETCH(QString, caption);
        QFETCH(int, qtIcon);
        int answered = -1;
        StartProcedureThread([&] {
            answered = ShowMessageBox(MessageButton::Ok, icon, caption, QStringLiteral("Shown as given"));
        });
        QVERIFY(WaitForProgramThreads());
        QMessageBox* box = VisibleWindow<QMessageBox>(caption);
        QVERIFY(box);
        QCOMPARE(int(box->icon()), qtIcon);
        box->button(QMessageBox::Ok)->click();
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(answered, int(MessageButton::Ok));
    }

    void aScriptedBoxRecordsTheRequest()
    {
        QList<MessageBoxRequest> requests;
        SetMessageBoxSink([&requests](const MessageBoxRequest& request) {
            requests << request;
            return request.defaultButton;
        });
        int custom = 0;
        int standard = 0;
        StartProcedureThread([&] {
            custom = ShowMessageBox(QStringLiteral("&Replace|&Append|&Cancel"), MessageIcon::Question,
                                    QStringLiteral("Paste"), QStringLiteral("Replace the text?"), 2);
            standard = ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QString(),
                                      QStringLiteral("Done"), MessageButton::Ok);
        });
        QVERIFY(WaitForProgramThreads());
        SetMessageBoxSink({});
        QCOMPARE(custom, 2);
        QCOMPARE(standard, int(MessageButton::Ok));
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].customButtons, QStringList({"&Replace", "&Append", "&Cancel"}));
        QCOMPARE(requests[0].icon, MessageIcon::Question);
        QCOMPARE(requests[0].caption, QStringLiteral("Paste"));
        QCOMPARE(requests[0].text, QStringLiteral("Replace the text?"));
        QCOMPARE(requests[0].defaultButton, 2);
        QCOMPARE(requests[1].buttons, int(MessageButton::Ok));
        QCOMPARE(requests[1].icon, MessageIcon::Exclamation);
        QCOMPARE(requests[1].caption, QString());
        QCOMPARE(requests[1].text, QStringLiteral("Done"));
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_MessageBox.moc"
