#include "platform/framework/BrowseList.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/ListLocator.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/ValueBinding.h"
#include "platform/store/Catalogue.h"
#include "platform/store/ProgramFault.h"
#include "platform/store/Record.h"

#include <QtTest>

#include <functional>

// A field name that the table does not have is a fault of the program, told at its first use, never read as
// a blank value: "USR:Disabled" misspelt would read as 0 and let a disabled user in.
using namespace jornix;

Q_DECLARE_METATYPE(std::function<void(jornix::Table&, jornix::FileManager&)>)

namespace {

using Use = std::function<void(Table&, FileManager&)>;

} // namespace

class FieldNamesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    Catalogue catalogue;
    Table& users = catalogue.AddTable("USR:", "Users", "Users", FileAttribute::Create);
    ErrorReporter errors;
    FileManager access;
    TableRelations relations;
    QStringList faults;
    ProgramFaultHandler previous;

private slots:
    void initTestCase()
    {
        users.AddLong("UniqueID").AddString("LoginID", 20).AddByte("Disabled");
        users.AddKey("UniqueIDK", {"UniqueID"}, KeyFlag::Primary, "By UniqueID");
        catalogue.SetFolder(folder.path());
        errors.Init();
        access.Init(users, errors);
        relations.Init(access, false);
        previous = SetProgramFaultHandler([this](const QString& message) { faults << message; });
    }
    void cleanupTestCase() { SetProgramFaultHandler(previous); }
    void init() { faults.clear(); }

    void anUnknownFieldNameIsAProgramFaultAtItsFirstUse_data()
    {
        QTest::addColumn<Use>("use");
        QTest::addColumn<bool>("known");
        QTest::newRow("a value read by name") << Use([](Table& table, FileManager&) {
            QVERIFY(!table.Buffer().Value("USR:Disabeld").isValid());
        }) << false;
        QTest::newRow("a value set by name") << Use([](Table& table, FileManager&) {
            QVERIFY(!table.Buffer().SetValue("USR:Disabeld", 1));
        }) << false;
        QTest::newRow("an entry bound to a field, when the binding is made")
            << Use([](Table&, FileManager& access) { BindField(access, "USR:Disabeld"); }) << false;
        QTest::newRow("a list column mapped to a field") << Use([this](Table& table, FileManager&) {
            WindowController window(QStringLiteral("Users"), QStringLiteral("Users"), WindowType::Child);
            const int list = window.window.List({{"Login", {}, Qt::AlignLeft}});
            View view(table);
            BrowseList brw;
            brw.Init(list, view, relations, window);
            brw.MapField(QStringLiteral("USR:Loginid"), 0);
            QVERIFY(faults.isEmpty());
            brw.MapField(QStringLiteral("USR:Login"), 0);
        }) << false;
        QTest::newRow("a known name in any case") << Use([](Table& table, FileManager& access) {
            QVERIFY(table.Buffer().SetValue("usr:DISABLED", 1));
            QCOMPARE(table.Buffer().Value("USR:Disabled").toInt(), 1);
            BindField(access, "Usr:Disabled");
        }) << true;
    }
    void anUnknownFieldNameIsAProgramFaultAtItsFirstUse()
    {
        QFETCH(Use, use);
        QFETCH(bool, known);
        use(users, access);
        if (known) {
            QCOMPARE(faults, QStringList{});
        } else {
            QCOMPARE(faults.size(), 1);
            QVERIFY2(faults[0].startsWith(QStringLiteral("The table Users has no field USR:")),
                     qPrintable(faults[0]));
        }
    }
};

QTEST_MAIN(FieldNamesTest)
#include "tst_FieldNames.moc"
