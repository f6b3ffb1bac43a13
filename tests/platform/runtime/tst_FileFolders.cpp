#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/FileFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;

// The desktop's own folders of a user, as xdg-user-dirs writes them, in a home of the test's own; the program
// runs in a folder of its own data, where no dialog should start.
class FileFoldersTest : public QObject
{
    Q_OBJECT

    QTemporaryDir home_;
    QString pictures_, documents_, music_, data_;
    std::vector<CommonDialogRequest> asked_;
    QString answer_; // the file the user chooses; empty: the dialog is cancelled

    QString Folder(const QString& name)
    {
        const QString path = QDir(home_.path()).filePath(name);
        QDir().mkpath(path);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        pictures_ = Folder(QStringLiteral("Bilder"));
        documents_ = Folder(QStringLiteral("Dokumente"));
        music_ = Folder(QStringLiteral("Musik"));
        data_ = Folder(QStringLiteral("Program/Data"));
        const QString config = Folder(QStringLiteral(".config"));
        QFile dirs(QDir(config).filePath(QStringLiteral("user-dirs.dirs")));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write(QStringLiteral("XDG_PICTURES_DIR=\"%1\"\nXDG_DOCUMENTS_DIR=\"%2\"\nXDG_MUSIC_DIR=\"%3\"\n")
                       .arg(pictures_, documents_, music_)
                       .toUtf8());
        dirs.close();
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        qputenv("HOME", home_.path().toUtf8());
        QDir::setCurrent(data_);
        SetCommonDialogSink([this](const CommonDialogRequest& request) {
            asked_.push_back(request);
            CommonDialogAnswer answer;
            answer.accepted = !answer_.isEmpty();
            answer.path = answer_;
            return answer;
        });
    }
    void cleanupTestCase() { SetCommonDialogSink({}); }
    void init()
    {
        FileFolders::Forget();
        asked_.clear();
        answer_.clear();
    }

    // The first dialog of each kind starts in the user's folder of the kind; a default name goes into it; a
    // path the caller gives with its folder stays.
    void aDialogStartsInTheUsersFolderOfItsKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("start"); // relative to the home
        QTest::newRow("pictures") << int(FileKind::Pictures) << "" << "Bilder";
        QTest::newRow("documents") << int(FileKind::Documents) << "" << "Dokumente";
        QTest::newRow("voice messages") << int(FileKind::Music) << "" << "Musik";
        QTest::newRow("a default name") << int(FileKind::Documents) << "report.pdf" << "Dokumente/report.pdf";
        QTest::newRow("a file with its folder") << int(FileKind::Documents) << "/srv/letters/june.tx"
                                                << "/srv/letters/june.tx";
        QTest::newRow("no kind: where the caller says") << int(FileKind::Any) << "report.pdf" << "report.pdf";
    }
    void aDialogStartsInTheUsersFolderOfItsKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, path);
        QFETCH(QString, start);
        AskOpenFileName(QStringLiteral("Open"), QStringLiteral("All Files|*.*"), path, FileKind(kind));
        QCOMPARE(asked_.size(), std::size_t(1));
        QCOMPARE(asked_[0].path, start.startsWith(QLatin1Char('/')) || FileKind(kind) == FileKind::Any
                                     ? start
                                     : QDir(home_.path()).filePath(start));
        QVERIFY(!asked_[0].path.startsWith(data_));
    }

    // Once the user has chosen a file, the next dialog of that kind starts in its folder; other kinds keep
    // their own; a cancelled dialog changes nothing.
    void theNextDialogOfAKindStartsWhereTheLastChoiceWas()
    {
        const QString elsewhere = Folder(QStringLiteral("Holiday"));
        answer_ = QDir(elsewhere).filePath(QStringLiteral("beach.png"));
        QCOMPARE(AskOpenFileName(QStringLiteral("Insert Image"), {}, {}, FileKind::Pictures), answer_);
        answer_.clear();
        AskOpenFileName(QStringLiteral("Insert Image"), {}, {}, FileKind::Pictures);
        AskSaveFileName(QStringLiteral("Select Report OutPut File"), {}, QStringLiteral("report.pdf"),
                        FileKind::Documents);
        AskOpenFileName(QStringLiteral("Insert Image"), {}, {}, FileKind::Pictures);
        QCOMPARE(asked_.size(), std::size_t(4));
        QCOMPARE(asked_[1].path, elsewhere);
        QCOMPARE(asked_[2].path, QDir(documents_).filePath(QStringLiteral("report.pdf")));
        QCOMPARE(asked_[3].path, elsewhere);
        QCOMPARE(FileFolders::StartFolder(FileKind::Documents), documents_);
    }

    // A user's folder that is not there (or a last folder since removed) gives way to the home folder.
    void aFolderThatIsGoneGivesWayToTheHome()
    {
        const QString gone = Folder(QStringLiteral("Gone"));
        FileFolders::Remember(FileKind::Music, QDir(gone).filePath(QStringLiteral("hello.wav")));
        QCOMPARE(FileFolders::StartFolder(FileKind::Music), gone);
        QVERIFY(QDir(gone).removeRecursively());
        QCOMPARE(FileFolders::StartFolder(FileKind::Music), music_);
        QVERIFY(QDir(music_).removeRecursively());
        QCOMPARE(FileFolders::StartFolder(FileKind::Music), QDir::homePath());
        Folder(QStringLiteral("Musik"));
    }
};

QTEST_MAIN(FileFoldersTest)
#include "tst_FileFolders.moc"
