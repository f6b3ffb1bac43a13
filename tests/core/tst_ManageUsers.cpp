#include "core/DataLayer.h"
#include "core/ManageUsers.h"
#include "core/PasswordHash.h"
#include "core/SharedState.h"
#include "core/SignInRules.h"
#include "core/UpdateUser.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include "DataFolder.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

// Writes a user straight into the table.
void AddUser(const QString& loginId, qint32 uniqueId, const QString& password = QStringLiteral("Secret"))
{
    AccessUSR->GetTable().ClearBuffer();
    AccessUSR->SetFieldDefaults();
    Record& record = AccessUSR->Buffer();
    record.SetValue("USR:LoginID", loginId);
    record.SetValue("USR:Name", "Name of " + loginId);
    record.SetValue("USR:Password", *HashPassword(password));
    record.SetValue("USR:UniqueID", uniqueId);
    QCOMPARE(AccessUSR->Insert(), 0);
}

qint64 UserCount()
{
    qint64 count = -1;
    AccessUSR->GetTable().RecordCount(count);
    return count;
}

QString StoredPassword(const QString& loginId)
{
    return FetchUser(loginId) ? AccessUSR->Buffer().Value("USR:Password").toString()
                              : QStringLiteral("<none>");
}

WindowController* List()
{
    return FindWindow(QStringLiteral("ManageUsers"));
}
WindowController* Form()
{
    return FindWindow(QStringLiteral("UpdateUser"));
}

QString EntryText(WindowController& window, const QString& name)
{
    auto* edit = qobject_cast<QLineEdit*>(window.window.Widget(window.window.ControlNumber(name)));
    return edit ? edit->text() : QStringLiteral("<no entry>");
}

bool Enabled(WindowController& window, const QString& name)
{
    return window.window.Widget(window.window.ControlNumber(name))->isEnabled();
}

} // namespace

class ManageUsersTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestFrame> frame;
    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;

    WindowController* StartList()
    {
        Start([] { ManageUsers(); });
        return List();
    }

    // Opens the list, presses Insert and fills the new user's form as typed, then presses OK; the form, or
    // nullptr when the list or the form did not open.
    WindowController* InsertUser(const QString& loginId, const QString& password, const QString& confirm)
    {
        WindowController* list = StartList();
        if (!list)
            return nullptr;
        Press(*list, QStringLiteral("Insert"));
        WindowController* form = Form();
        if (!form)
            return nullptr;
        Type(*form, QStringLiteral("LoginID"), loginId);
        Type(*form, QStringLiteral("PasswordEntry"), password);
        Type(*form, QStringLiteral("ConfirmEntry"), confirm);
        Press(*form, QStringLiteral("OK"));
        return form;
    }

    // Picks a row of the list; it reads the users in the order they were added.
    void PickUser(WindowController& list, int row)
    {
        PickRow(list, list.window.ControlNumber(QStringLiteral("List")), row);
    }

private slots:
    void initTestCase()
    {
        UseMinimumPasswordLimits(true);
        frame = std::make_unique<test::TestFrame>();
    }
    void init()
    {
        folder = std::make_unique<test::DataFolder>();
        SetFixedClock(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        QCOMPARE(RelationsUSR->Open(), 0);
        AddUser(QStringLiteral("jd"), Me);
        UsrAccess::LoginID = QStringLiteral("jd");
        CurrentUserUniqueID = Me;
        CurrentUserIsAdmin = 1;
        boxes = std::make_unique<test::MessageRecorder>();
    }
    void cleanup()
    {
        if (WindowController* form = Form()) {
            form->CANCELACTION = 0;
            Press(*form, QStringLiteral("Cancel"));
        }
        if (WindowController* list = List())
            list->Post(Event::CloseWindow);
        QVERIFY(WaitIdle());
        QVERIFY(!List());
        boxes.reset();
        RelationsUSR->Close();
        SetFixedClock({});
        folder.reset();
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        frame.reset();
    }

    void aNonAdministratorGetsAccessDeniedAndNoWindow()
    {
        CurrentUserIsAdmin = 0;
        QVERIFY(!StartList());
        QCOMPARE(boxes->Captions(), QStringList{"Access Denied"});
        QCOMPARE(boxes->boxes[0].text,
                 QStringLiteral("You are not allowed to view or edit Users. Please contact your "
                                "system administrator to request access."));
    }

    void anAdministratorChangesUsersRatherThanViewingThem()
    {
        WindowController* list = StartList();
        QVERIFY(list);
        QCOMPARE(list->window.Label(list->window.ControlNumber(QStringLiteral("Change"))),
                 QStringLiteral("&Change"));
        QVERIFY(Enabled(*list, QStringLiteral("Insert")));
    }

    void aNewUserWhoseLoginIdExistsInAnyCaseIsRefused()
    {
        WindowController* form =
            InsertUser(QStringLiteral("JD"), QStringLiteral("Other"), QStringLiteral("Other"));
        QVERIFY(form);
        QCOMPARE(Form(), form);
        QVERIFY(!boxes->boxes.isEmpty());
        QCOMPARE(boxes->boxes.last().text,
                 QStringLiteral("Adding this record creates a duplicate entry for the key: by LoginID"));
        QCOMPARE(EntryText(*form, QStringLiteral("LoginID")), QStringLiteral("JD"));
        QCOMPARE(EntryText(*form, QStringLiteral("PasswordEntry")), QStringLiteral("Other"));
        QCOMPARE(UserCount(), qint64(1));
    }

    void theSignedInUsersOwnRowCannotBeDeleted()
    {
        AddUser(QStringLiteral("ann"), Me + 1); // listed after jd: the list is in record order
        WindowController* list = StartList();
        QVERIFY(list);
        PickUser(*list, 1);
        QVERIFY(Enabled(*list, QStringLiteral("Delete")));
        PickUser(*list, 0);
        QVERIFY(!Enabled(*list, QStringLiteral("Delete")));
        // The delete itself refuses it too, by unique id, even after the login id was renamed.
        QVERIFY(FetchUser(QStringLiteral("jd")));
        AccessUSR->Buffer().SetValue("USR:LoginID", "renamed");
        QCOMPARE(AccessUSR->Update(), 0);
        QVERIFY(FetchUser(QStringLiteral("renamed")));
        list->RunSubProcedure(1, Request::Delete);
        QVERIFY(boxes->boxes.isEmpty());
        QVERIFY(FetchUser(QStringLiteral("renamed")));
        QCOMPARE(UserCount(), qint64(2));
    }

    void thePasswordEntries_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("keepsStoredHash");
        QTest::newRow("a 25-character password") << QString(25, QLatin1Char('p')) << false;
        QTest::newRow("the placeholder left unchanged") << QString() << true;
    }
    void thePasswordEntries()
    {
        QFETCH(QString, typed);
        QFETCH(bool, keepsStoredHash);
        const QString before = StoredPassword(QStringLiteral("jd"));
        WindowController* list = StartList();
        QVERIFY(list);
        PickUser(*list, 0);
        Press(*list, QStringLiteral("Change"));
        WindowController* form = Form();
        QVERIFY(form);
        QCOMPARE(EntryText(*form, QStringLiteral("PasswordEntry")), PasswordPlaceholder);
        if (!keepsStoredHash) {
            Type(*form, QStringLiteral("PasswordEntry"), typed);
            Type(*form, QStringLiteral("ConfirmEntry"), typed);
        }
        Press(*form, QStringLiteral("OK"));
        QVERIFY(WaitIdle());
        QVERIFY(!Form());
        const QString after = StoredPassword(QStringLiteral("jd"));
        QCOMPARE(after == before, keepsStoredHash);
        QVERIFY(PasswordMatches(keepsStoredHash ? QStringLiteral("Secret") : typed, after));
    }

    void aNewUserMustChangeThePasswordAndWasLastChangedToday()
    {
        WindowController* form =
            InsertUser(QStringLiteral("new"), QStringLiteral("Fresh"), QStringLiteral("Fresh"));
        QVERIFY(form);
        QVERIFY(WaitIdle());
        QVERIFY(!Form());
        QVERIFY(FetchUser(QStringLiteral("new")));
        const Record& user = AccessUSR->Buffer();
        QCOMPARE(user.Value("USR:ChngPwdAtNextLogin").toInt(), 1);
        QCOMPARE(user.Value("USR:ExpirePasswordCount").toInt(), 90);
        QCOMPARE(user.Value("USR:LastPwdChange").toInt(), DayNumberFromDate(QDate(2026, 12, 10)));
        QVERIFY(user.Value("USR:UniqueID").toInt() != Me);
        QVERIFY(PasswordMatches(QStringLiteral("Fresh"), user.Value("USR:Password").toString()));
    }

    // Insert a user, OK; Insert again, Cancel, No: only the cancelled user is not written, whatever was
    // added before in the same window.
    void aCancelledInsertKeepsTheUsersWrittenBefore_data()
    {
        QTest::addColumn<bool>("insertedBefore");
        QTest::newRow("the first insert of the window") << false;
        QTest::newRow("after a user was added in the same window") << true;
    }
    void aCancelledInsertKeepsTheUsersWrittenBefore()
    {
        QFETCH(bool, insertedBefore);
        WindowController* list = StartList();
        QVERIFY(list);
        const auto insert = [&](const QString& loginId) {
            Press(*list, QStringLiteral("Insert"));
            WindowController* form = Form();
            QVERIFY(form);
            Type(*form, QStringLiteral("LoginID"), loginId);
            Type(*form, QStringLiteral("PasswordEntry"), QStringLiteral("Pw"));
            Type(*form, QStringLiteral("ConfirmEntry"), QStringLiteral("Pw"));
        };
        if (insertedBefore) {
            insert(QStringLiteral("ann"));
            Press(*Form(), QStringLiteral("OK"));
            QVERIFY(!Form());
        }
        insert(QStringLiteral("bob"));
        boxes->answers = {MessageButton::No};
        Press(*Form(), QStringLiteral("Cancel"));
        QCOMPARE(boxes->Captions(), QStringList{"Save Record"});
        QVERIFY(!Form());
        QCOMPARE(UserCount(), qint64(insertedBefore ? 2 : 1));
        QVERIFY(FetchUser(QStringLiteral("jd")));
        QCOMPARE(FetchUser(QStringLiteral("ann")), insertedBefore);
        QVERIFY(!FetchUser(QStringLiteral("bob")));
        auto* rows = qobject_cast<QAbstractItemView*>(
            list->window.Widget(list->window.ControlNumber(QStringLiteral("List"))));
        QVERIFY(rows);
        QCOMPARE(rows->model()->rowCount(), insertedBefore ? 2 : 1);
    }

    void mismatchedPasswordsAreRefused()
    {
        WindowController* form =
            InsertUser(QStringLiteral("new"), QStringLiteral("One"), QStringLiteral("one"));
        QVERIFY(form);
        QCOMPARE(boxes->Captions(), QStringList{"Password Problem"});
        QCOMPARE(Form(), form);
        QCOMPARE(UserCount(), qint64(1));
    }
};

QTEST_MAIN(ManageUsersTest)
#include "tst_ManageUsers.moc"
